// DialogWindow on the Win32 dialog engine: controls by id, notifications
// from WM_COMMAND and WM_NOTIFY, window timers, a modal run on the dialog
// keyboard handling, and the clicks and typing of the test driver.
#include "platform/dialog_window.h"

#include "sys/win32/cp936.h"
#include "platform/win32/dialog_window.h"

#include <commctrl.h>

#include <cstdio>
#include <string>

namespace {

std::wstring className(HWND h)
{
    wchar_t cls[32] = {};
    GetClassNameW(h, cls, 32);
    return cls;
}

bool isEdit(HWND h) { return h && lstrcmpiW(className(h).c_str(), L"EDIT") == 0; }
bool isTab(HWND h) { return h && lstrcmpiW(className(h).c_str(), WC_TABCONTROLW) == 0; }

bool isMultiLineEdit(HWND h)
{
    return isEdit(h) && (GetWindowLongW(h, GWL_STYLE) & ES_MULTILINE);
}

std::wstring windowText(HWND h)
{
    const int len = GetWindowTextLengthW(h);
    std::wstring text(std::size_t(len) + 1, L'\0');
    text.resize(std::size_t(GetWindowTextW(h, text.data(), len + 1)));
    return text;
}

// Line ends as a multi-line edit keeps them: a lone LF becomes CR LF.
std::wstring withCrLf(const std::wstring& text)
{
    std::wstring out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\n' && (i == 0 || text[i - 1] != L'\r'))
            out += L'\r';
        out += text[i];
    }
    return out;
}

class Win32DialogWindow;

// The engine's window with its messages turned into DialogEvents.
class Engine : public win32::DialogWindow {
public:
    Engine(const DialogTemplate& tmpl, DialogEvents& events) : win32::DialogWindow(tmpl), events_(events) {}
    bool modalEnded = false;
    int modalResult = IDCANCEL;

protected:
    void onCommand(int id, int code) override
    {
        const bool topLevel = !(GetWindowLongW(hwnd(), GWL_STYLE) & WS_CHILD);
        if (code == BN_CLICKED && id == IDCANCEL) {
            // Esc in a top-level window asks to close it, as the close box does.
            if (topLevel)
                events_.onCloseRequest();
            return;
        }
        if (code == BN_CLICKED && id == IDOK) {
            win32::DialogWindow::onCommand(id, code); // Enter presses the focused button
            return;
        }
        if (code == BN_CLICKED)
            events_.onNotify(id, Notify::Clicked);
        else if (code == EN_CHANGE)
            events_.onNotify(id, Notify::Changed);
    }
    void onNotify(int id, UINT code) override
    {
        if (code == UINT(TCN_SELCHANGE))
            events_.onNotify(id, Notify::SelChange);
    }
    void onTimer(UINT id) override { events_.onTimerFired(id); }
    void onClose() override { events_.onCloseRequest(); }

private:
    DialogEvents& events_;
};

class Win32DialogWindow : public DialogWindow {
public:
    Win32DialogWindow(const DialogTemplate& tmpl, DialogEvents& events) : tmpl_(tmpl), engine_(tmpl, events) {}
    ~Win32DialogWindow() override
    {
        if (bigIcon_)
            DestroyIcon(bigIcon_);
        if (smallIcon_)
            DestroyIcon(smallIcon_);
    }

    void create(DialogWindow* parent, int parentControl) override
    {
        HWND owner = nullptr;
        if (auto* p = static_cast<Win32DialogWindow*>(parent)) {
            owner = parentControl != kNoId ? p->item(parentControl) : nullptr;
            if (!owner)
                owner = p->handle();
        }
        if (!engine_.create(owner))
            std::fprintf(stderr, "kelvane: dialog %d could not be created (error %lu)\n", tmpl_.id, GetLastError());
    }

    HWND handle() const override { return engine_.hwnd(); }
    void show(bool show) override
    {
        if (HWND h = handle())
            ShowWindow(h, show ? SW_SHOW : SW_HIDE);
    }
    bool isVisible() const override { return handle() && IsWindowVisible(handle()); }
    void move(const CRect& r) override
    {
        if (HWND h = handle())
            MoveWindow(h, r.left, r.top, r.Width(), r.Height(), TRUE);
    }
    CRect rect() const override
    {
        HWND h = handle();
        if (!h)
            return {};
        RECT r;
        GetWindowRect(h, &r);
        if (HWND parent = GetParent(h); parent && (GetWindowLongW(h, GWL_STYLE) & WS_CHILD))
            MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
        return {int(r.left), int(r.top), int(r.right), int(r.bottom)};
    }
    void setIcon(int iconGroup) override
    {
        HWND h = handle();
        if (!h)
            return;
        HINSTANCE inst = GetModuleHandleW(nullptr);
        auto load = [&](int metricX, int metricY) {
            return static_cast<HICON>(LoadImageW(inst, MAKEINTRESOURCEW(iconGroup), IMAGE_ICON,
                                                 GetSystemMetrics(metricX), GetSystemMetrics(metricY), 0));
        };
        HICON big = load(SM_CXICON, SM_CYICON), small = load(SM_CXSMICON, SM_CYSMICON);
        if (big)
            SendMessageW(h, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
        if (small)
            SendMessageW(h, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
        if (bigIcon_)
            DestroyIcon(bigIcon_);
        if (smallIcon_)
            DestroyIcon(smallIcon_);
        bigIcon_ = big, smallIcon_ = small;
    }

    void setText(int id, std::string_view gbk) override
    {
        HWND h = item(id);
        if (!h) {
            std::fprintf(stderr, "kelvane: dialog %d has no control %d\n", tmpl_.id, id);
            return;
        }
        if (isMultiLineEdit(h))
            engine_.setOutputText(id, gbk); // one step, redrawing held off
        else
            engine_.setItemText(id, gbk);
        if (isEdit(h))
            SendMessageW(h, EM_SETMODIFY, FALSE, 0);
    }
    std::optional<std::string> text(int id) const override { return engine_.itemText(id); }
    std::string textUtf8(int id) const override
    {
        HWND h = item(id);
        return h ? cp936::wideToUtf8(windowText(h)) : std::string();
    }
    void appendText(int id, std::string_view gbk) override
    {
        HWND h = item(id);
        if (!h)
            return;
        if (!isEdit(h)) {
            const std::wstring text = windowText(h) + cp936::toWideLossy(gbk);
            SetWindowTextW(h, text.c_str());
            return;
        }
        // A view left at the end follows the new text; one scrolled back
        // stays where the user put it, with the user's selection.
        SCROLLINFO si{};
        si.cbSize = sizeof si;
        si.fMask = SIF_ALL;
        const bool hasBar = GetScrollInfo(h, SB_VERT, &si);
        const bool atEnd = !hasBar || si.nPos + int(si.nPage) >= si.nMax;
        const LRESULT firstLine = SendMessageW(h, EM_GETFIRSTVISIBLELINE, 0, 0);
        DWORD selStart = 0, selEnd = 0;
        SendMessageW(h, EM_GETSEL, reinterpret_cast<WPARAM>(&selStart), reinterpret_cast<LPARAM>(&selEnd));
        if (!atEnd)
            SendMessageW(h, WM_SETREDRAW, FALSE, 0);
        engine_.appendOutputText(id, gbk);
        if (!atEnd) {
            SendMessageW(h, EM_SETSEL, selStart, selEnd);
            const LRESULT nowFirst = SendMessageW(h, EM_GETFIRSTVISIBLELINE, 0, 0);
            SendMessageW(h, EM_LINESCROLL, 0, firstLine - nowFirst);
            SendMessageW(h, WM_SETREDRAW, TRUE, 0);
            InvalidateRect(h, nullptr, TRUE);
        }
        SendMessageW(h, EM_SETMODIFY, FALSE, 0);
    }
    bool isModified(int id) const override
    {
        HWND h = item(id);
        return isEdit(h) && SendMessageW(h, EM_GETMODIFY, 0, 0) != 0;
    }
    void setCheck(int id, int state) override { engine_.checkItem(id, state); }
    int check(int id) const override { return engine_.isItemChecked(id); }
    void enable(int id, bool enable) override { engine_.enableItem(id, enable); }
    bool isEnabled(int id) const override { return engine_.isItemEnabled(id); }

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
        HWND h = item(id);
        RECT r{};
        if (h)
            GetClientRect(h, &r);
        return {int(r.left), int(r.top), int(r.right), int(r.bottom)};
    }

    bool startTimer(UINT id, int ms) override { return engine_.setTimer(id, ms) != 0; }
    void stopTimer(UINT id) override { engine_.killTimer(id); }

    int runModal(bool focusFirst) override
    {
        HWND h = handle();
        if (!h)
            return -1;
        engine_.modalEnded = false;
        engine_.modalResult = IDCANCEL;
        ShowWindow(h, SW_SHOW);
        SetForegroundWindow(h);
        if (focusFirst)
            if (HWND first = GetNextDlgTabItem(h, nullptr, FALSE))
                SendMessageW(h, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(first), TRUE);
        MSG msg;
        while (!engine_.modalEnded && IsWindow(h)) {
            const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
            if (got <= 0) {
                if (got == 0)
                    PostQuitMessage(int(msg.wParam)); // for the loop outside
                break;
            }
            win32::dispatchMessage(msg);
        }
        return engine_.modalResult;
    }
    void endModal(int result) override
    {
        if (engine_.modalEnded)
            return;
        engine_.modalEnded = true;
        engine_.modalResult = result;
        if (HWND h = handle())
            PostMessageW(h, WM_NULL, 0, 0); // wake the modal loop
    }
    void destroy() override
    {
        // The window stays until this object goes, as on every back end: a
        // page may still be read after its parent has closed.
        show(false);
    }

    void userClick(int id) override
    {
        HWND h = item(id);
        if (!h || !IsWindowEnabled(h))
            return;
        // What a click does: an automatic check box toggles, then the
        // dialog is told.
        const LONG type = GetWindowLongW(h, GWL_STYLE) & BS_TYPEMASK;
        if (type == BS_AUTOCHECKBOX)
            engine_.checkItem(id, engine_.isItemChecked(id) ? 0 : 1);
        SendMessageW(handle(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(h));
    }
    void userType(int id, const std::string& utf8) override
    {
        HWND h = item(id);
        if (!h)
            return;
        std::wstring text = cp936::utf8ToWide(utf8);
        if (isMultiLineEdit(h))
            text = withCrLf(text);
        SetWindowTextW(h, text.c_str());
        if (isEdit(h))
            SendMessageW(h, EM_SETMODIFY, TRUE, 0);
    }
    void userSelectTab(int id, int index) override
    {
        HWND t = tab(id);
        if (!t || index < 0 || index >= tabCount(id) || index == tabCurSel(id))
            return;
        // A click on the tab: the control selects it, redraws the row and
        // tells the dialog (TCM_SETCURFOCUS would leave the old tab drawn
        // pressed on some systems).
        RECT r{};
        SendMessageW(t, TCM_GETITEMRECT, WPARAM(index), reinterpret_cast<LPARAM>(&r));
        const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        SendMessageW(t, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(t, WM_LBUTTONUP, 0, at);
    }

private:
    HWND item(int id) const { return engine_.item(id); }
    HWND tab(int id) const
    {
        HWND h = item(id);
        return isTab(h) ? h : nullptr;
    }

    const DialogTemplate& tmpl_;
    Engine engine_;
    HICON bigIcon_ = nullptr;
    HICON smallIcon_ = nullptr;
};

} // namespace

std::unique_ptr<DialogWindow> createDialogWindow(const DialogTemplate& tmpl, DialogEvents& events)
{
    return std::make_unique<Win32DialogWindow>(tmpl, events);
}
