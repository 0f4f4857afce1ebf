#pragma once
// Driving dialogs as a user would, for tests and tools: click a control, type
// into it, pick a tab, read what a control shows, deliver a pending timer
// now, let pending events run. The same calls work on every back end.
#include "platform/cdialog.h"

#include <functional>
#include <string>

namespace drive {

// A click on the button or check box (a check box toggles); nothing when the
// control is disabled.
void click(CDialog& dlg, int id);
// The control's text replaced as the user would type or paste it (UTF-8).
void type(CDialog& dlg, int id, const std::string& utf8);
// The tab picked as a click on it picks it: the dialog is notified.
void selectTab(CDialog& dlg, int tabControl, int index);
// What the control shows, as UTF-8 (multi-line edits with CR LF).
std::string text(const CDialog& dlg, int id);

// The first line a multi-line edit shows, and scrolling it as a user does
// (a line past the end: to the end).
int firstVisibleLine(const CDialog& dlg, int id);
void scrollToLine(CDialog& dlg, int id, int line);

// Timers of a dialog: whether one is pending, its interval (-1: none), and
// delivering it now (false when none is pending).
bool timerPending(const CDialog& dlg, UINT id);
int timerInterval(const CDialog& dlg, UINT id);
bool fireTimer(CDialog& dlg, UINT id);

// Runs the events that are pending now; and runs events until done() holds
// or ms milliseconds have passed, returning done().
void processEvents();
bool waitFor(const std::function<bool()>& done, int ms);

} // namespace drive
