#include "platform/win32/message_loop.h"

#include <commctrl.h>

namespace win32 {
namespace {

bool isDialog(HWND hwnd)
{
    wchar_t cls[16] = {};
    return hwnd && GetClassNameW(hwnd, cls, 16) && lstrcmpW(cls, L"#32770") == 0;
}

} // namespace

void initCommonControls()
{
    static const bool done = [] {
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
        return InitCommonControlsEx(&icc) != FALSE;
    }();
    (void)done;
}

void dispatchMessage(MSG& msg)
{
    HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    if (isDialog(root) && IsDialogMessageW(root, &msg))
        return;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

bool pumpMessages()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(int(msg.wParam));
            return false;
        }
        dispatchMessage(msg);
    }
    return true;
}

void runMessagesUntil(const std::function<bool()>& done)
{
    MSG msg;
    while (!done()) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) {
            if (got == 0)
                PostQuitMessage(int(msg.wParam));
            return;
        }
        dispatchMessage(msg);
    }
}

} // namespace win32
