#include "ui/generator_app.h"

#include "core/ccore.h"
#include "platform/dialog/dialog_style.h"
#include "platform/dialog/dialog_units.h"
#include "res/icons.h"
#include "res/resource.h"
#include "res/templates.h"
#include "ui/generator_dlg.h"

#include <QApplication>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <cstdlib>

#include <sys/socket.h>
#include <unistd.h>

namespace {
bool envSet(const char* name)
{
    const char* v = std::getenv(name);
    return v && *v;
}

// While the platform plugin starts, a fatal error (a display that cannot be
// reached) ends the program with a message instead of an abort.
void fatalAtStart(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "Kelvane: 无法连接到图形显示，窗口无法打开。\n");
        std::_Exit(1);
    }
}
int g_signalPipe[2] = {-1, -1};

void onTerminationSignal(int sig)
{
    // A second signal ends the program at once.
    std::signal(sig, SIG_DFL);
    const char byte = 1;
    [[maybe_unused]] const auto n = ::write(g_signalPipe[1], &byte, 1);
}

// SIGINT, SIGTERM and SIGHUP close the windows the ordinary way, so that the
// pages store their options before the program ends.
void closeOnTerminationSignals()
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_signalPipe) != 0)
        return;
    auto* notifier = new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, qApp);
    QObject::connect(notifier, &QSocketNotifier::activated, qApp, [] {
        char byte;
        [[maybe_unused]] const auto n = ::read(g_signalPipe[0], &byte, 1);
        QApplication::closeAllWindows();
    });
    struct sigaction sa = {};
    sa.sa_handler = onTerminationSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (int sig : {SIGINT, SIGTERM, SIGHUP})
        sigaction(sig, &sa, nullptr);
}
} // namespace

bool CGeneratorApp::DisplayAvailable()
{
    return envSet("DISPLAY") || envSet("WAYLAND_DISPLAY") || envSet("QT_QPA_PLATFORM");
}

int CGeneratorApp::Run(int& argc, char** argv)
{
    if (!DisplayAvailable()) {
        std::fprintf(stderr,
                     "Kelvane: 没有可用的图形显示（DISPLAY 和 WAYLAND_DISPLAY 均未设置），窗口无法打开。\n"
                     "Kelvane: no display is available (DISPLAY and WAYLAND_DISPLAY are unset); "
                     "start it from a desktop session.\n");
        return 1;
    }
    const QtMessageHandler previous = qInstallMessageHandler(fatalAtStart);
    QApplication app(argc, argv);
    qInstallMessageHandler(previous);
    ConfigureApplication();
    closeOnTerminationSignals();
    InitInstance();
    return 0;
}

void CGeneratorApp::ConfigureApplication()
{
    QApplication::setApplicationName(QStringLiteral("Kelvane"));
    QApplication::setApplicationVersion(QStringLiteral(KELVANE_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("kelvane"));
    QApplication::setWindowIcon(loadIconGroup(IDR_MAINFRAME));
    // The templates' pixel layout is checked with this style's metrics.
    QApplication::setStyle(new DialogStyle);
    QApplication::setFont(dialogFont(kGeneratorDialogTemplate.fontFace, kGeneratorDialogTemplate.fontPoints));
    // The program ends when the main window's modal run returns, not when a
    // box happens to be the last window closed.
    QApplication::setQuitOnLastWindowClosed(false);
}

BOOL CGeneratorApp::InitInstance()
{
    CGeneratorDlg dlg;
    dlg.DoModal();
    ReleaseCoreObjects();
    return FALSE;
}

void CGeneratorApp::ReleaseCoreObjects()
{
    delete g_core;
    g_core = nullptr;
    std::free(g_soft);
    g_soft = nullptr;
}
