#include "platform/win32/controls.h"

#include "sys/text.h"
#include "sys/win32/cp936.h"

#include <commctrl.h>

namespace win32 {
namespace {

bool hasClass(HWND h, const wchar_t* cls)
{
    wchar_t name[32] = {};
    return h && GetClassNameW(h, name, 32) && lstrcmpiW(name, cls) == 0;
}

std::wstring windowText(HWND h)
{
    const int len = GetWindowTextLengthW(h);
    std::wstring text(std::size_t(len) + 1, L'\0');
    text.resize(std::size_t(GetWindowTextW(h, text.data(), len + 1)));
    return text;
}

// Text put at the end of an edit: the caret moved there, then the text put
// in place of the empty selection, so the rest is not sent again.
void replaceAtEnd(HWND edit, const std::wstring& text)
{
    const int end = GetWindowTextLengthW(edit);
    SendMessageW(edit, EM_SETSEL, WPARAM(end), LPARAM(end));
    SendMessageW(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
}

} // namespace

bool isEdit(HWND h) { return hasClass(h, L"EDIT"); }
bool isMultiLineEdit(HWND h) { return isEdit(h) && (GetWindowLongW(h, GWL_STYLE) & ES_MULTILINE); }
bool isTabControl(HWND h) { return hasClass(h, WC_TABCONTROLW); }

bool isPushButton(HWND h)
{
    if (!hasClass(h, L"BUTTON"))
        return false;
    const LONG type = GetWindowLongW(h, GWL_STYLE) & BS_TYPEMASK;
    return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
}

void setText(HWND h, std::string_view gbk)
{
    if (!h)
        return;
    const std::wstring text = cp936::toWideLossy(gbk);
    if (isMultiLineEdit(h)) {
        SendMessageW(h, WM_SETREDRAW, FALSE, 0);
        SetWindowTextW(h, text.c_str());
        SendMessageW(h, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(h, nullptr, TRUE);
    } else {
        SetWindowTextW(h, text.c_str());
    }
    if (isEdit(h))
        SendMessageW(h, EM_SETMODIFY, FALSE, 0);
}

std::optional<std::string> textGbk(HWND h)
{
    if (!h)
        return std::string();
    return cp936::fromWide(windowText(h));
}

std::string textUtf8(HWND h)
{
    return h ? cp936::wideToUtf8(windowText(h)) : std::string();
}

void appendText(HWND h, std::string_view gbk)
{
    if (!h)
        return;
    const std::wstring text = cp936::toWideLossy(gbk);
    if (!isEdit(h)) {
        SetWindowTextW(h, (windowText(h) + text).c_str());
        return;
    }
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    const bool hasBar = GetScrollInfo(h, SB_VERT, &si);
    const bool atEnd = !hasBar || si.nPos + int(si.nPage) >= si.nMax;
    if (atEnd) {
        replaceAtEnd(h, text);
    } else {
        const LRESULT firstLine = SendMessageW(h, EM_GETFIRSTVISIBLELINE, 0, 0);
        DWORD selStart = 0, selEnd = 0;
        SendMessageW(h, EM_GETSEL, reinterpret_cast<WPARAM>(&selStart), reinterpret_cast<LPARAM>(&selEnd));
        SendMessageW(h, WM_SETREDRAW, FALSE, 0);
        replaceAtEnd(h, text);
        SendMessageW(h, EM_SETSEL, selStart, selEnd);
        const LRESULT nowFirst = SendMessageW(h, EM_GETFIRSTVISIBLELINE, 0, 0);
        SendMessageW(h, EM_LINESCROLL, 0, firstLine - nowFirst);
        SendMessageW(h, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(h, nullptr, TRUE);
    }
    SendMessageW(h, EM_SETMODIFY, FALSE, 0);
}

void userClick(HWND dialog, HWND control)
{
    if (!control || !IsWindowEnabled(control))
        return;
    if ((GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK) == BS_AUTOCHECKBOX && hasClass(control, L"BUTTON")) {
        const bool checked = SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
        SendMessageW(control, BM_SETCHECK, checked ? BST_UNCHECKED : BST_CHECKED, 0);
    }
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), BN_CLICKED),
                 reinterpret_cast<LPARAM>(control));
}

void userType(HWND control, const std::string& utf8)
{
    if (!control)
        return;
    std::wstring text = cp936::utf8ToWide(utf8);
    if (isMultiLineEdit(control))
        text = sys::withCrLf(std::wstring_view(text));
    SetWindowTextW(control, text.c_str());
    if (isEdit(control))
        SendMessageW(control, EM_SETMODIFY, TRUE, 0);
}

void userSelectTab(HWND tab, int index)
{
    if (!isTabControl(tab) || index < 0 || index >= int(SendMessageW(tab, TCM_GETITEMCOUNT, 0, 0))
        || index == int(SendMessageW(tab, TCM_GETCURSEL, 0, 0)))
        return;
    // A click in the middle of the tab (TCM_SETCURFOCUS would leave the old
    // tab drawn pressed on some systems).
    RECT r{};
    SendMessageW(tab, TCM_GETITEMRECT, WPARAM(index), reinterpret_cast<LPARAM>(&r));
    const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    SendMessageW(tab, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(tab, WM_LBUTTONUP, 0, at);
}

} // namespace win32
