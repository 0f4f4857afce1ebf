// Pictures of the main window for the README: each tab empty, then the
// number tab after a run of floating-point rows and the string tab after a
// run of Chinese characters. Usage: kelvane-screenshots <folder>.
#include "core/ccore.h"
#include "platform/app.h"
#include "platform/boxes.h"
#include "platform/dialog_driver.h"
#include "platform/qt/dialog_window.h"
#include "res/resource.h"
#include "ui/generator_app.h"
#include "ui/generator_dlg.h"

#include <QDir>
#include <QPixmap>
#include <QTemporaryDir>
#include <QWidget>

#include <cstdio>
#include <cstdlib>

namespace {
// Boxes are answered at once: the pictures show the window only.
struct QuietBoxes : BoxService {
    void show(const BoxRequest&) override {}
};

bool save(CGeneratorDlg& dlg, const QString& file)
{
    drive::processEvents();
    const bool ok = qtdlg::widget(dlg)->grab().save(file);
    std::printf("%s %s\n", ok ? "wrote" : "could not write", qPrintable(file));
    return ok;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: kelvane-screenshots <folder>\n");
        return 2;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QTemporaryDir config; // the pictures show first-run options, never the user's
    setenv("XDG_CONFIG_HOME", qPrintable(config.path()), 1);
    Application app(argc, argv);
    Application::configure(CGeneratorApp::Info());
    const QString dir = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(dir))
        return 1;
    QuietBoxes quiet;
    BoxService* previous = BoxService::install(&quiet);
    bool ok = true;
    {
        CGeneratorDlg dlg;
        dlg.Create();
        dlg.ShowWindow(true);
        for (int i = 0; i < 3; ++i) {
            drive::selectTab(dlg, idc::main::tab, i);
            ok = save(dlg, dir + QStringLiteral("/tab-%1.png").arg(i)) && ok;
        }
        drive::selectTab(dlg, idc::main::tab, 1);
        CNumberPage& numbers = dlg.numberPage();
        numbers.CheckDlgButton(idc::number::isInt, 0);
        numbers.CheckDlgButton(idc::number::isFloat, 1);
        drive::type(numbers, idc::number::count, "200");
        drive::click(numbers, idc::number::generate);
        ok = save(dlg, dir + QStringLiteral("/tab-1-float-rows.png")) && ok;

        drive::selectTab(dlg, idc::main::tab, 0);
        CStringPage& strings = dlg.stringPage();
        strings.CheckDlgButton(idc::string::hanzi, 1);
        drive::click(strings, idc::string::generate);
        drive::fireTimer(strings, 1);
        ok = save(dlg, dir + QStringLiteral("/tab-0-hanzi-rows.png")) && ok;
        dlg.DestroyWindow();
    }
    CGeneratorApp::ReleaseCoreObjects();
    BoxService::install(previous);
    return ok ? 0 : 1;
}
