// The application on Win32: the common controls, what the program told
// about itself, the message loop's helpers for tests and tools, and closing
// the windows on a console's Ctrl+C or close so that the pages store their
// options.
#include "platform/app.h"

#include "platform/dialog_driver.h"
#include "platform/win32/app_info.h"
#include "platform/win32/message_loop.h"

#include <windows.h>

struct Application::State {
    DWORD thread = 0;
};

namespace {
DWORD g_uiThread = 0;

AppInfo& configured()
{
    static AppInfo info{"", "", "", "", 0, 0};
    return info;
}

BOOL CALLBACK closeTopLevel(HWND hwnd, LPARAM)
{
    if (IsWindowVisible(hwnd))
        PostMessageW(hwnd, WM_CLOSE, 0, 0);
    return TRUE;
}

BOOL CALLBACK anyVisible(HWND hwnd, LPARAM found)
{
    if (!IsWindowVisible(hwnd))
        return TRUE;
    *reinterpret_cast<bool*>(found) = true;
    return FALSE;
}

BOOL WINAPI onConsoleEvent(DWORD event)
{
    // Runs on a thread of its own: the windows are closed by their thread.
    EnumThreadWindows(g_uiThread, closeTopLevel, 0);
    if (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT)
        return TRUE;
    // The process ends when this returns: give the pages a moment to store.
    for (int i = 0; i < 40; ++i) {
        bool visible = false;
        EnumThreadWindows(g_uiThread, anyVisible, reinterpret_cast<LPARAM>(&visible));
        if (!visible)
            break;
        Sleep(50);
    }
    return TRUE;
}
} // namespace

bool Application::canStart()
{
    return true; // a Windows session always has a desktop
}

Application::Application(int&, char**) : state_(new State)
{
    state_->thread = GetCurrentThreadId();
    win32::initCommonControls();
}

Application::~Application()
{
    if (g_uiThread == state_->thread) {
        SetConsoleCtrlHandler(onConsoleEvent, FALSE);
        g_uiThread = 0;
    }
    delete state_;
}

void Application::configure(const AppInfo& info)
{
    // Windows takes the name, version and icon shown for the program from
    // its resources, and each dialog's font from its template; the About box
    // shows the icon group given here.
    configured() = info;
}

const AppInfo& win32::appInfo()
{
    return configured();
}

void Application::closeWindowsOnTerminate()
{
    g_uiThread = state_->thread;
    SetConsoleCtrlHandler(onConsoleEvent, TRUE);
}

namespace drive {

void processEvents()
{
    win32::pumpMessages();
}

bool waitFor(const std::function<bool()>& done, int ms)
{
    const ULONGLONG deadline = GetTickCount64() + ULONGLONG(ms < 0 ? 0 : ms);
    while (!done()) {
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline)
            return done();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, DWORD(deadline - now < 10 ? deadline - now : 10), QS_ALLINPUT);
        win32::pumpMessages();
    }
    return true;
}

} // namespace drive
