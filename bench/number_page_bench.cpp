// Time from Generate on the number tab to the rows shown in its output box:
// the main window, offscreen, on the number tab; each run clicks Generate
// and stops the clock when the success box opens and the output box has
// been painted with the new rows. The box holds the previous run's rows when
// the next run starts, as it does when a user presses Generate again.
// BM_SetPlainText times QPlainTextEdit::setPlainText of the same integer
// rows, one block per line, for comparison.
// Run: build/bench/number_page_bench (the median of 9 runs each; 3 for the
// comparison). peak_rss_MB is the process's high-water mark so far: run one
// benchmark alone (--benchmark_filter) to read its own.
#include "core/ccore.h"
#include "platform/app.h"
#include "platform/boxes.h"
#include "platform/dialog_driver.h"
#include "platform/qt/dialog_window.h"
#include "res/resource.h"
#include "ui/generator_app.h"
#include "ui/generator_dlg.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <chrono>
#include <cstdlib>
#include <memory>

namespace {

namespace id = idc::number;
using Clock = std::chrono::steady_clock;

CGeneratorDlg* g_window = nullptr;

// Stops the clock when the success box opens, after painting the box.
class StopWatchBoxes : public BoxService {
public:
    Clock::time_point shownAt;
    std::string warning;
    void show(const BoxRequest& box) override
    {
        if (box.kind == BoxKind::Plain) {
            QPlainTextEdit* out = qtdlg::item<QPlainTextEdit>(g_window->numberPage(), id::output);
            QCoreApplication::processEvents();
            out->viewport()->repaint();
            shownAt = Clock::now();
        } else {
            warning = box.text;
        }
    }
};

// Integer rows 80 to 100, or floating-point rows with 5 decimals over the
// widest range they allow (the longest rows the page makes).
void generate(benchmark::State& state, bool floats)
{
    CNumberPage& page = g_window->numberPage();
    page.CheckDlgButton(id::isInt, floats ? 0 : 1);
    page.CheckDlgButton(id::isFloat, floats ? 1 : 0);
    drive::type(page, id::rangeMin, floats ? "-21474.83647" : "80");
    drive::type(page, id::rangeMax, floats ? "21474.83647" : "100");
    drive::type(page, id::decimals, "5");
    page.SetDlgItemInt(id::count, int(state.range(0)));
    auto* generateButton = qtdlg::item<QPushButton>(page, id::generate);

    StopWatchBoxes boxes;
    BoxService* previous = BoxService::install(&boxes);
    for (auto _ : state) {
        const auto start = Clock::now();
        generateButton->click();
        if (!boxes.warning.empty()) {
            state.SkipWithError(boxes.warning.c_str());
            break;
        }
        state.SetIterationTime(std::chrono::duration<double>(boxes.shownAt - start).count());
    }
    BoxService::install(previous);
    struct rusage use {};
    getrusage(RUSAGE_SELF, &use);
    state.counters["peak_rss_MB"] = double(use.ru_maxrss) / 1024.0;
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_SetPlainText(benchmark::State& state)
{
    QString rows;
    for (int i = 0; i < state.range(0); ++i)
        rows += QString::number(80 + i % 21) + QStringLiteral("\r\n");
    QPlainTextEdit* out = qtdlg::item<QPlainTextEdit>(g_window->numberPage(), id::output);
    for (auto _ : state) {
        out->setPlainText(QString());
        const auto start = Clock::now();
        out->setPlainText(rows);
        out->viewport()->repaint();
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
    }
    out->setPlainText(QString());
}

void BM_GenerateIntRows(benchmark::State& state) { generate(state, false); }
void BM_GenerateFloatRows5(benchmark::State& state) { generate(state, true); }

} // namespace

BENCHMARK(BM_SetPlainText)
    ->Arg(100000)->Arg(1000000)
    ->UseManualTime()->Iterations(1)->Repetitions(3)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GenerateIntRows)
    ->Arg(100000)->Arg(1000000)->Arg(kMaxNumberRows)
    ->UseManualTime()->Iterations(1)->Repetitions(9)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GenerateFloatRows5)
    ->Arg(100000)->Arg(1000000)->Arg(kMaxNumberRows)
    ->UseManualTime()->Iterations(1)->Repetitions(9)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    // Headless, with a throwaway option store.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QTemporaryDir config;
    setenv("XDG_CONFIG_HOME", config.path().toLocal8Bit().constData(), 1);
    QApplication app(argc, argv);
    Application::configure(CGeneratorApp::Info());
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    {
        auto window = std::make_unique<CGeneratorDlg>();
        window->Create();
        window->ShowWindow(true);
        window->ShowTab(1);
        QApplication::processEvents();
        g_window = window.get();
        benchmark::RunSpecifiedBenchmarks();
        g_window = nullptr;
    }
    benchmark::Shutdown();
    CGeneratorApp::ReleaseCoreObjects();
    return 0;
}
