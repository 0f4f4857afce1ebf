// Timing probe for bench/string_page.sh: one run of the string tab to its
// output file, from the click on Generate to the success box, or the
// generator alone streaming the same rows to a file, for comparison.
//
//   string_page_probe page|gen <rows>
//
// Both use upper, lower and digits, lengths 8 to 16, and the secure random
// source, and write into a temporary folder. One line is printed:
//   <mode> <rows> <click-to-box ms> <run ms> <cpu ms>
// where the run is the timer's handling (the generator: the whole stream),
// and cpu is the process CPU time over the same span.
#include "core/ccore.h"
#include "core/core_options.h"
#include "core/gbk.h"
#include "sys/linux/qgbk.h"
#include "gen/string_gen.h"
#include "platform/app.h"
#include "platform/boxes.h"
#include "platform/dialog_driver.h"
#include "platform/qt/dialog_window.h"
#include "res/resource.h"
#include "ui/generator_app.h"
#include "ui/generator_dlg.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QFileInfo>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <cstring>
#include <memory>

namespace {
using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point t)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - t).count();
}

double cpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

StringSettings benchSettings(int rows)
{
    StringSettings s;
    s.isUCase = s.isLCase = s.isNum = 1;
    s.lenMin = 8;
    s.lenMax = 16;
    s.count = rows;
    return s;
}

int runGenerator(int rows, const QString& path)
{
    CoreOptions o;
    QTemporaryDir store;
    o.configPath = store.filePath(QStringLiteral("Kelvane.ini")).toStdString();
    CCore core(std::move(o));
    g_core = &core;
    StringSettings s = benchSettings(rows);
    if (s.validate()) // a rule failed
        return 1;
    const auto t0 = Clock::now();
    const double c0 = cpuMs();
    std::FILE* f = std::fopen(path.toLocal8Bit().constData(), "wb");
    if (!f)
        return 1;
    const bool ok = streamRows(s, g_core->random(), [f](std::string_view chunk) {
        return std::fwrite(chunk.data(), 1, chunk.size(), f) == chunk.size();
    });
    if (std::fclose(f) != 0 || !ok)
        return 1;
    const double ms = msSince(t0);
    std::printf("gen %d %.1f %.1f %.1f\n", rows, ms, ms, cpuMs() - c0);
    g_core = nullptr;
    return 0;
}

// Ends the wait at the first box, noting when it came and what it said.
class BoxStop : public BoxService {
public:
    QEventLoop loop;
    Clock::time_point at;
    std::string text;
    void show(const BoxRequest& box) override
    {
        at = Clock::now();
        text = box.text;
        loop.quit();
    }
};

// Notes when the page's first timer event arrives.
class TimerWatch : public QObject {
public:
    bool seen = false;
    Clock::time_point at;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Timer && !seen) {
            seen = true;
            at = Clock::now();
        }
        return false;
    }
};

int runPage(int rows, const QString& path)
{
    Application::configure(CGeneratorApp::Info());
    BoxStop boxes;
    BoxService* previous = BoxService::install(&boxes);
    int rc = 1;
    {
        // A page on its own, its program folder the output file's.
        CoreOptions o;
        o.appPath = QFileInfo(path).absolutePath().toStdString();
        QTemporaryDir store;
        o.configPath = store.filePath(QStringLiteral("Kelvane.ini")).toStdString();
        CCore core(std::move(o));
        g_core = &core;
        CStringPage page;
        page.Create();
        page.ShowWindow(true);
        namespace id = idc::string;
        for (int b : {id::upper, id::lower, id::digits})
            page.CheckDlgButton(b, 1);
        for (int b : {id::hanzi, id::useCharSpec, id::useCharEx})
            page.CheckDlgButton(b, 0);
        page.SetDlgItemInt(id::lenMin, 8);
        page.SetDlgItemInt(id::lenMax, 16);
        page.SetDlgItemInt(id::count, rows);
        QApplication::processEvents();

        TimerWatch watch;
        qtdlg::widget(page)->installEventFilter(&watch);
        const auto t0 = Clock::now();
        const double c0 = cpuMs();
        drive::click(page, id::generate);
        boxes.loop.exec();
        const double cpu = cpuMs() - c0;
        const double total = std::chrono::duration<double, std::milli>(boxes.at - t0).count();
        const double run = std::chrono::duration<double, std::milli>(boxes.at - watch.at).count();
        if (boxes.text == "生成成功！" && QFileInfo(path).size() > 0) {
            std::printf("page %d %.1f %.1f %.1f\n", rows, total, run, cpu);
            rc = 0;
        } else {
            std::fprintf(stderr, "run failed: %s\n", boxes.text.c_str());
        }
        qtdlg::widget(page)->removeEventFilter(&watch);
    }
    g_core = nullptr;
    BoxService::install(previous);
    return rc;
}
} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const int rows = argc > 2 ? std::atoi(argv[2]) : 0;
    if (argc < 3 || rows < 1 || (std::strcmp(argv[1], "page") != 0 && std::strcmp(argv[1], "gen") != 0)) {
        std::fprintf(stderr, "usage: string_page_probe page|gen <rows>\n");
        return 2;
    }
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("_out.txt"));
    const int rc = std::strcmp(argv[1], "gen") == 0 ? runGenerator(rows, path) : runPage(rows, path);
    std::fflush(stdout);
    return rc;
}
