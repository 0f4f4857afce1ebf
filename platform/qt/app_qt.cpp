// The application on Qt: QApplication, the program's style and font, and
// termination signals turned into closing the windows.
#include "platform/app.h"

#include "core/texts.h"

#include "platform/dialog_driver.h"
#include "platform/qt/dialog_style.h"
#include "platform/qt/dialog_units.h"
#include "platform/qt/icons.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QSocketNotifier>
#include <QThread>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include <sys/socket.h>
#include <unistd.h>

struct Application::State {
    std::unique_ptr<QApplication> app;
};

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
        std::fprintf(stderr, "Kelvane: %s\n", utf8(Text::DisplayUnreachable));
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
} // namespace

bool Application::canStart()
{
    if (envSet("DISPLAY") || envSet("WAYLAND_DISPLAY") || envSet("QT_QPA_PLATFORM"))
        return true;
    std::fprintf(stderr, "Kelvane: %s\n", utf8(Text::NoDisplay));
    return false;
}

Application::Application(int& argc, char** argv) : state_(new State)
{
    const QtMessageHandler previous = qInstallMessageHandler(fatalAtStart);
    state_->app = std::make_unique<QApplication>(argc, argv);
    qInstallMessageHandler(previous);
}

Application::~Application()
{
    delete state_;
}

void Application::configure(const AppInfo& info)
{
    QApplication::setApplicationName(QString::fromUtf8(info.name));
    QApplication::setApplicationVersion(QString::fromUtf8(info.version));
    QApplication::setDesktopFileName(QString::fromUtf8(info.desktopEntry));
    QApplication::setWindowIcon(loadIconGroup(info.iconGroup));
    // The templates' pixel layout is checked with this style's metrics.
    QApplication::setStyle(new DialogStyle);
    QApplication::setFont(dialogFont(info.fontFace, info.fontPoints));
    // The program ends when the main window's modal run returns, not when a
    // box happens to be the last window closed.
    QApplication::setQuitOnLastWindowClosed(false);
}

// SIGINT, SIGTERM and SIGHUP close the windows the ordinary way, so that the
// pages store their options before the program ends.
void Application::closeWindowsOnTerminate()
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

namespace drive {

void processEvents()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

bool waitFor(const std::function<bool()>& done, int ms)
{
    QDeadlineTimer deadline(ms);
    while (!done()) {
        if (deadline.hasExpired())
            return done();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
    return true;
}

} // namespace drive
