#include "platform/win32/dialog_window.h"

#include "sys/win32/cp936.h"
#include "platform/win32/dialog_template_win32.h"

#include <commctrl.h>

#include <climits>

namespace win32 {
namespace {

constexpr wchar_t kDialogClass[] = L"#32770";

bool isDialog(HWND hwnd)
{
    wchar_t cls[16] = {};
    return hwnd && GetClassNameW(hwnd, cls, 16) && lstrcmpW(cls, kDialogClass) == 0;
}

bool isPushButton(HWND hwnd)
{
    wchar_t cls[16] = {};
    if (!hwnd || !GetClassNameW(hwnd, cls, 16) || lstrcmpiW(cls, L"BUTTON") != 0)
        return false;
    const LONG type = GetWindowLongW(hwnd, GWL_STYLE) & BS_TYPEMASK;
    return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
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

DialogWindow::DialogWindow(const DialogTemplate& tmpl) : tmpl_(tmpl) {}

DialogWindow::~DialogWindow()
{
    // A window still alive here goes without its onDestroy: the derived
    // part is gone. Owners call destroy first.
    if (hwnd_) {
        SetWindowLongPtrW(hwnd_, DWLP_USER, 0);
        DestroyWindow(hwnd_);
    }
}

bool DialogWindow::create(HWND parent)
{
    if (hwnd_)
        return false;
    initCommonControls();
    std::vector<std::uint32_t> bytes = buildDialogTemplate(tmpl_);
    // A page made without a parent (a tool, a test) becomes a window of its
    // own: Windows makes no child window without a parent. The style is
    // the fourth DWORD of the template's header.
    if (!parent && (bytes[3] & WS_CHILD))
        bytes[3] = (bytes[3] & ~std::uint32_t(WS_CHILD)) | WS_POPUP;
    // Shown once its owner has filled it in, never half made.
    bytes[3] &= ~std::uint32_t(WS_VISIBLE);
    ended_ = false;
    HWND hwnd = CreateDialogIndirectParamW(GetModuleHandleW(nullptr),
                                           reinterpret_cast<LPCDLGTEMPLATEW>(bytes.data()), parent,
                                           &DialogWindow::dialogProc, reinterpret_cast<LPARAM>(this));
    return hwnd != nullptr;
}

int DialogWindow::runModal()
{
    if (!hwnd_ && !create(nullptr))
        return -1;
    modal_ = true;
    ShowWindow(hwnd_, SW_SHOW);
    MSG msg;
    while (!ended_ && hwnd_) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) {
            if (got == 0)
                PostQuitMessage(int(msg.wParam)); // for the loop outside
            break;
        }
        dispatchMessage(msg);
    }
    modal_ = false;
    destroy();
    return result_;
}

void DialogWindow::endDialog(int result)
{
    result_ = result;
    ended_ = true;
    if (hwnd_ && !modal_)
        destroy();
    else if (hwnd_)
        PostMessageW(hwnd_, WM_NULL, 0, 0); // wake the modal loop
}

void DialogWindow::destroy()
{
    if (hwnd_)
        DestroyWindow(hwnd_); // WM_DESTROY: this window first, then its children
}

HWND DialogWindow::item(int id) const { return hwnd_ ? GetDlgItem(hwnd_, id) : nullptr; }

void DialogWindow::setItemText(int id, std::string_view gbk)
{
    if (HWND h = item(id))
        SetWindowTextW(h, cp936::toWideLossy(gbk).c_str());
}

std::optional<std::string> DialogWindow::itemText(int id) const
{
    HWND h = item(id);
    if (!h)
        return std::string();
    const int len = GetWindowTextLengthW(h);
    std::wstring text(std::size_t(len) + 1, L'\0');
    text.resize(std::size_t(GetWindowTextW(h, text.data(), len + 1)));
    return cp936::fromWide(text);
}

void DialogWindow::setOutputText(int id, std::string_view gbk)
{
    HWND h = item(id);
    if (!h)
        return;
    const std::wstring text = cp936::toWideLossy(gbk);
    SendMessageW(h, WM_SETREDRAW, FALSE, 0);
    SetWindowTextW(h, text.c_str());
    SendMessageW(h, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(h, nullptr, TRUE);
}

void DialogWindow::appendOutputText(int id, std::string_view gbk)
{
    HWND h = item(id);
    if (!h)
        return;
    const std::wstring text = cp936::toWideLossy(gbk);
    const int end = GetWindowTextLengthW(h);
    SendMessageW(h, EM_SETSEL, WPARAM(end), LPARAM(end));
    SendMessageW(h, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
}

void DialogWindow::checkItem(int id, int state)
{
    if (HWND h = item(id))
        SendMessageW(h, BM_SETCHECK, state ? BST_CHECKED : BST_UNCHECKED, 0);
}

int DialogWindow::isItemChecked(int id) const
{
    HWND h = item(id);
    return h && SendMessageW(h, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
}

void DialogWindow::enableItem(int id, bool enable)
{
    if (HWND h = item(id))
        EnableWindow(h, enable);
}

bool DialogWindow::isItemEnabled(int id) const
{
    HWND h = item(id);
    return h && IsWindowEnabled(h);
}

UINT DialogWindow::setTimer(UINT id, int ms)
{
    if (!hwnd_)
        return 0;
    return SetTimer(hwnd_, id, UINT(ms < 0 ? 0 : ms), nullptr) ? id : 0;
}

bool DialogWindow::killTimer(UINT id) { return hwnd_ && KillTimer(hwnd_, id); }

void DialogWindow::onCommand(int id, int code)
{
    if (code != BN_CLICKED)
        return;
    if (id == IDCANCEL && !(GetWindowLongW(hwnd_, GWL_STYLE) & WS_CHILD))
        endDialog(IDCANCEL); // Esc closes the window
    else if (id == IDOK)
        pressFocusedButton();
}

void DialogWindow::pressFocusedButton()
{
    // Enter presses the button that has the focus, in a page too; elsewhere
    // it does nothing (the window has no default button).
    HWND focus = GetFocus();
    if (isPushButton(focus) && IsChild(hwnd_, focus) && IsWindowEnabled(focus))
        SendMessageW(focus, BM_CLICK, 0, 0);
}

INT_PTR CALLBACK DialogWindow::dialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    auto* self = reinterpret_cast<DialogWindow*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    if (msg == WM_INITDIALOG) {
        self = reinterpret_cast<DialogWindow*>(lp);
        SetWindowLongPtrW(hwnd, DWLP_USER, lp);
        self->hwnd_ = hwnd;
        for (const ControlDef& def : self->tmpl_.controls)
            if (def.kind == ControlKind::OutputEdit)
                SendMessageW(GetDlgItem(hwnd, def.id), EM_SETLIMITTEXT, 0x7FFFFFFE, 0);
    }
    if (!self)
        return FALSE;
    const INT_PTR r = self->handle(msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, DWLP_USER, 0);
        self->hwnd_ = nullptr;
        self->ended_ = true;
    }
    return r;
}

INT_PTR DialogWindow::handle(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_INITDIALOG:
        return onInitDialog();
    case WM_COMMAND:
        onCommand(LOWORD(wp), HIWORD(wp));
        return TRUE;
    case WM_NOTIFY: {
        const auto* hdr = reinterpret_cast<const NMHDR*>(lp);
        onNotify(int(hdr->idFrom), hdr->code);
        SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, 0);
        return TRUE;
    }
    case WM_TIMER:
        onTimer(UINT(wp));
        return TRUE;
    case WM_CLOSE:
        onClose();
        return TRUE;
    case WM_DESTROY:
        onDestroy();
        return TRUE;
    default:
        return FALSE;
    }
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

} // namespace win32
