#pragma once
// The controls of a Win32 dialog by window handle: which kind a control is,
// its text in GBK through the W functions, the multi-line output box, and
// what a user's click, typing or tab pick does to it. A null handle does
// nothing and reads as empty.
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace win32 {

bool isEdit(HWND h);
bool isMultiLineEdit(HWND h);
bool isTabControl(HWND h);
bool isPushButton(HWND h);

// The text set from GBK bytes (bytes that are not GBK show as replacement
// characters). A multi-line edit gets it in one step with redrawing held
// off; an edit counts as not changed by the user afterwards.
void setText(HWND h, std::string_view gbk);
// The text in GBK; nothing when it holds a character GBK cannot hold, so
// such text is never altered.
std::optional<std::string> textGbk(HWND h);
std::string textUtf8(HWND h);
// Text added at the end of an edit without setting the rest again. A view
// left at the end follows the new text; one scrolled back stays where the
// user put it, with the user's selection. Other controls get their whole
// text set.
void appendText(HWND h, std::string_view gbk);

// A click as the user makes it: an automatic check box toggles, then the
// dialog is told (WM_COMMAND BN_CLICKED). Nothing when disabled.
void userClick(HWND dialog, HWND control);
// The text replaced as the user types or pastes it (UTF-8; a lone LF in a
// multi-line edit becomes CR LF); the edit counts as changed by the user.
void userType(HWND control, const std::string& utf8);
// A click on tab index: the control selects it, redraws its row and tells
// the dialog (TCN_SELCHANGE).
void userSelectTab(HWND tab, int index);

} // namespace win32
