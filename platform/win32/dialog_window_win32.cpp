// The dialog layer's window on Win32: a dialog the Windows dialog manager
// makes from a control table (dialog_template_win32.h), its controls by id
// (controls.h), its messages turned into DialogEvents, window timers, and
// the modal run on this thread's message loop (message_loop.h).
#include "platform/dialog_window.h"

#include "sys/win32/cp936.h"
#include "platform/win32/controls.h"
#include "platform/win32/dialog_template_win32.h"
#include "platform/win32/message_loop.h"

#include <windows.h>

#include <commctrl.h>

#include <cstdio>

namespace {

// The output boxes hold far more than an edit's default 30000 characters.
constexpr WPARAM kOutputLimit = 0x7FFFFFFE;

class Win32DialogWindow final : public DialogWindow {
public:
    Win32DialogWindow(const DialogTemplate& tmpl, DialogEvents& events) : tmpl_(tmpl), events_(events) {}
    ~Win32DialogWindow() override
    {
        // The window goes with this object; its children (pages whose
        // objects still live) are told by their own WM_NCDESTROY.
        if (hwnd_) {
            SetWindowLongPtrW(hwnd_, DWLP_USER, 0);
            DestroyWindow(hwnd_);
        }
        if (bigIcon_)
            DestroyIcon(bigIcon_);
        if (smallIcon_)
            DestroyIcon(smallIcon_);
    }

    void create(DialogWindow* parent, int parentControl) override
    {
        if (hwnd_)
            return;
        HWND owner = nullptr;
        if (auto* p = static_cast<Win32DialogWindow*>(parent)) {
            owner = parentControl != kNoId ? p->item(parentControl) : nullptr;
            if (!owner)
                owner = p->hwnd_;
        }
        win32::initCommonControls();
        std::vector<std::uint32_t> bytes = win32::buildDialogTemplate(tmpl_);
        // A page made without a parent (a tool, a test) becomes a window of
        // its own: Windows makes no child window without a parent. The style
        // is the fourth DWORD of the template's header.
        if (!owner && (bytes[3] & WS_CHILD))
            bytes[3] = (bytes[3] & ~std::uint32_t(WS_CHILD)) | WS_POPUP;
        // Shown once its owner has filled it in, never half made.
        bytes[3] &= ~std::uint32_t(WS_VISIBLE);
        if (!CreateDialogIndirectParamW(GetModuleHandleW(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(bytes.data()),
                                        owner, &Win32DialogWindow::dialogProc, reinterpret_cast<LPARAM>(this)))
            std::fprintf(stderr, "kelvane: dialog %d could not be created (error %lu)\n", tmpl_.id, GetLastError());
    }

    HWND handle() const override { return hwnd_; }
    void show(bool show) override
    {
        if (hwnd_)
            ShowWindow(hwnd_, show ? SW_SHOW : SW_HIDE);
    }
    bool isVisible() const override { return hwnd_ && IsWindowVisible(hwnd_); }
    void move(const CRect& r) override
    {
        if (hwnd_)
            MoveWindow(hwnd_, r.left, r.top, r.Width(), r.Height(), TRUE);
    }
    CRect rect() const override
    {
        if (!hwnd_)
            return {};
        RECT r;
        GetWindowRect(hwnd_, &r);
        if (HWND parent = GetParent(hwnd_); parent && !topLevel())
            MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
        return {int(r.left), int(r.top), int(r.right), int(r.bottom)};
    }
    void setIcon(int iconGroup) override
    {
        if (!hwnd_)
            return;
        HINSTANCE inst = GetModuleHandleW(nullptr);
        auto load = [&](int metricX, int metricY) {
            return static_cast<HICON>(LoadImageW(inst, MAKEINTRESOURCEW(iconGroup), IMAGE_ICON,
                                                 GetSystemMetrics(metricX), GetSystemMetrics(metricY), 0));
        };
        HICON big = load(SM_CXICON, SM_CYICON), small = load(SM_CXSMICON, SM_CYSMICON);
        if (big)
            SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
        if (small)
            SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
        if (bigIcon_)
            DestroyIcon(bigIcon_);
        if (smallIcon_)
            DestroyIcon(smallIcon_);
        bigIcon_ = big, smallIcon_ = small;
    }

    void setText(int id, std::string_view gbk) override
    {
        HWND h = item(id);
        if (!h)
            std::fprintf(stderr, "kelvane: dialog %d has no control %d\n", tmpl_.id, id);
        win32::setText(h, gbk);
    }
    std::optional<std::string> text(int id) const override { return win32::textGbk(item(id)); }
    std::string textUtf8(int id) const override { return win32::textUtf8(item(id)); }
    void appendText(int id, std::string_view gbk) override { win32::appendText(item(id), gbk); }
    int firstVisibleLine(int id) const override { return int(SendMessageW(item(id), EM_GETFIRSTVISIBLELINE, 0, 0)); }
    void scrollToLine(int id, int line) override
    {
        SendMessageW(item(id), EM_LINESCROLL, 0, line - firstVisibleLine(id));
    }
    bool isModified(int id) const override
    {
        HWND h = item(id);
        return win32::isEdit(h) && SendMessageW(h, EM_GETMODIFY, 0, 0) != 0;
    }
    void setCheck(int id, int state) override
    {
        if (HWND h = item(id))
            SendMessageW(h, BM_SETCHECK, state ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    int check(int id) const override
    {
        HWND h = item(id);
        return h && SendMessageW(h, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
    }
    void enable(int id, bool enable) override
    {
        if (HWND h = item(id))
            EnableWindow(h, enable);
    }
    bool isEnabled(int id) const override
    {
        HWND h = item(id);
        return h && IsWindowEnabled(h);
    }

    int tabInsert(int id, int index, std::string_view gbk) override
    {
        HWND t = tab(id);
        if (!t)
            return -1;
        std::wstring label = cp936::toWideLossy(gbk);
        TCITEMW it{};
        it.mask = TCIF_TEXT;
        it.pszText = label.data();
        return int(SendMessageW(t, TCM_INSERTITEMW, WPARAM(index), reinterpret_cast<LPARAM>(&it)));
    }
    int tabCount(int id) const override
    {
        HWND t = tab(id);
        return t ? int(SendMessageW(t, TCM_GETITEMCOUNT, 0, 0)) : 0;
    }
    int tabCurSel(int id) const override
    {
        HWND t = tab(id);
        return t ? int(SendMessageW(t, TCM_GETCURSEL, 0, 0)) : -1;
    }
    int tabSetCurSel(int id, int index) override
    {
        HWND t = tab(id);
        if (!t || index < 0 || index >= tabCount(id))
            return -1;
        return int(SendMessageW(t, TCM_SETCURSEL, WPARAM(index), 0));
    }
    CRect clientRect(int id) const override
    {
        RECT r{};
        if (HWND h = item(id))
            GetClientRect(h, &r);
        return {int(r.left), int(r.top), int(r.right), int(r.bottom)};
    }

    bool startTimer(UINT id, int ms) override
    {
        return hwnd_ && SetTimer(hwnd_, id, UINT(ms < 0 ? 0 : ms), nullptr) != 0;
    }
    void stopTimer(UINT id) override
    {
        if (hwnd_)
            KillTimer(hwnd_, id);
    }

    int runModal(bool focusFirst) override
    {
        if (!hwnd_)
            return -1;
        modalEnded_ = false;
        modalResult_ = IDCANCEL;
        ShowWindow(hwnd_, SW_SHOW);
        SetForegroundWindow(hwnd_);
        if (focusFirst)
            if (HWND first = GetNextDlgTabItem(hwnd_, nullptr, FALSE))
                SendMessageW(hwnd_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(first), TRUE);
        win32::runMessagesUntil([this] { return modalEnded_ || !hwnd_; });
        return modalResult_;
    }
    void endModal(int result) override
    {
        if (modalEnded_)
            return;
        modalEnded_ = true;
        modalResult_ = result;
        if (hwnd_)
            PostMessageW(hwnd_, WM_NULL, 0, 0); // wakes the modal loop
    }
    void destroy() override
    {
        // The window stays until this object goes, as on every back end: a
        // page may still be read after its parent has closed.
        show(false);
    }

    void userClick(int id) override { win32::userClick(hwnd_, item(id)); }
    void userType(int id, const std::string& utf8) override { win32::userType(item(id), utf8); }
    void userSelectTab(int id, int index) override { win32::userSelectTab(tab(id), index); }

private:
    static INT_PTR CALLBACK dialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
    {
        auto* self = reinterpret_cast<Win32DialogWindow*>(GetWindowLongPtrW(hwnd, DWLP_USER));
        if (msg == WM_INITDIALOG) {
            self = reinterpret_cast<Win32DialogWindow*>(lp);
            SetWindowLongPtrW(hwnd, DWLP_USER, lp);
            self->hwnd_ = hwnd;
        }
        if (!self)
            return FALSE;
        if (msg == WM_NCDESTROY) {
            SetWindowLongPtrW(hwnd, DWLP_USER, 0);
            self->hwnd_ = nullptr;
            return FALSE;
        }
        return self->handleMessage(msg, wp, lp);
    }

    INT_PTR handleMessage(UINT msg, WPARAM wp, LPARAM lp)
    {
        switch (msg) {
        case WM_INITDIALOG:
            for (const ControlDef& def : tmpl_.controls)
                if (def.kind == ControlKind::OutputEdit)
                    SendMessageW(item(def.id), EM_SETLIMITTEXT, kOutputLimit, 0);
            return TRUE;
        case WM_COMMAND:
            onCommand(LOWORD(wp), HIWORD(wp));
            return TRUE;
        case WM_NOTIFY:
            if (reinterpret_cast<const NMHDR*>(lp)->code == UINT(TCN_SELCHANGE))
                events_.onNotify(int(reinterpret_cast<const NMHDR*>(lp)->idFrom), Notify::SelChange);
            SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, 0);
            return TRUE;
        case WM_TIMER:
            events_.onTimerFired(UINT(wp));
            return TRUE;
        case WM_CLOSE:
            events_.onCloseRequest();
            return TRUE;
        case WM_ENDSESSION:
            // The system ends the process once this returns: the dialog
            // finishes now what closing it would do (the pages store their
            // options).
            if (wp && topLevel())
                events_.onSessionEnd();
            return TRUE;
        default:
            return FALSE;
        }
    }

    void onCommand(int id, int code)
    {
        if (code == BN_CLICKED && id == IDCANCEL) {
            // Esc in a top-level window asks to close it, as the close box does.
            if (topLevel())
                events_.onCloseRequest();
        } else if (code == BN_CLICKED && id == IDOK) {
            pressFocusedButton();
        } else if (code == BN_CLICKED) {
            events_.onNotify(id, Notify::Clicked);
        } else if (code == EN_CHANGE) {
            events_.onNotify(id, Notify::Changed);
        }
    }

    // Enter presses the button that has the focus, in a page too; elsewhere
    // it does nothing (the window has no default button).
    void pressFocusedButton()
    {
        HWND focus = GetFocus();
        if (win32::isPushButton(focus) && IsChild(hwnd_, focus) && IsWindowEnabled(focus))
            SendMessageW(focus, BM_CLICK, 0, 0);
    }

    bool topLevel() const { return !(GetWindowLongW(hwnd_, GWL_STYLE) & WS_CHILD); }
    HWND item(int id) const { return hwnd_ ? GetDlgItem(hwnd_, id) : nullptr; }
    HWND tab(int id) const
    {
        HWND h = item(id);
        return win32::isTabControl(h) ? h : nullptr;
    }

    const DialogTemplate& tmpl_;
    DialogEvents& events_;
    HWND hwnd_ = nullptr;
    bool modalEnded_ = false;
    int modalResult_ = IDCANCEL;
    HICON bigIcon_ = nullptr;
    HICON smallIcon_ = nullptr;
};

} // namespace

std::unique_ptr<DialogWindow> createDialogWindow(const DialogTemplate& tmpl, DialogEvents& events)
{
    return std::make_unique<Win32DialogWindow>(tmpl, events);
}
