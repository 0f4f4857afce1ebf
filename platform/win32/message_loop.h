#pragma once
// This thread's message loop on the Win32 back end: every message goes
// through the dialog keyboard handling (Tab, Shift+Tab, Enter, Esc) of the
// dialog it belongs to.
#include <windows.h>

#include <functional>

namespace win32 {

// The common controls the templates use (tabs); once per process.
void initCommonControls();

// Dispatches one message, through the dialog keyboard handling of the
// top-level dialog it belongs to.
void dispatchMessage(MSG& msg);

// Runs the messages waiting now; false when WM_QUIT came (it is posted
// again for the loop outside).
bool pumpMessages();

// Waits for and runs messages until done() holds, or WM_QUIT comes (posted
// again for the loop outside).
void runMessagesUntil(const std::function<bool()>& done);

} // namespace win32
