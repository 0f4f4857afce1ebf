#pragma once
// A dialog window made by the Windows dialog manager from a control table
// (dialog_template_win32.h): creation as a page or as the modal main window,
// the dialog keyboard handling (Tab, Shift+Tab, Enter, Esc), controls by id
// with GBK text in and out through the W functions, window timers and the
// multi-line output box.
//
// Derived classes handle the window's messages through the virtual on...
// functions; the window's messages reach them from the first WM_INITDIALOG
// to the last WM_DESTROY.
#include "platform/dialog_template.h"

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace win32 {

class DialogWindow {
public:
    explicit DialogWindow(const DialogTemplate& tmpl);
    virtual ~DialogWindow();
    DialogWindow(const DialogWindow&) = delete;
    DialogWindow& operator=(const DialogWindow&) = delete;

    // Makes the window, hidden (a page: a child of parent), and runs
    // onInitDialog. False when the window could not be made or exists.
    bool create(HWND parent);
    // Makes and shows the window, runs its messages until endDialog or the
    // window is closed (close box, Esc), destroys it and returns the result
    // given to endDialog (IDCANCEL when closed).
    int runModal();
    void endDialog(int result);
    // Destroys the window and its children; their onDestroy run parent first.
    void destroy();

    HWND hwnd() const { return hwnd_; }
    const DialogTemplate& dialogTemplate() const { return tmpl_; }
    HWND item(int id) const;

    // Text in GBK. Setting shows bytes that are not GBK as replacement
    // characters; getting gives nothing when the text holds a character GBK
    // cannot hold, so such text is never altered.
    void setItemText(int id, std::string_view gbk);
    std::optional<std::string> itemText(int id) const;

    // The multi-line output box: the whole text at once with redrawing held
    // off, or text added at the end without setting the rest again.
    void setOutputText(int id, std::string_view gbk);
    void appendOutputText(int id, std::string_view gbk);

    void checkItem(int id, int state);
    int isItemChecked(int id) const;
    void enableItem(int id, bool enable);
    bool isItemEnabled(int id) const;

    // Window timers: WM_TIMER arrives as onTimer(id) until killTimer. A
    // negative interval counts as 0. 0 when the window does not exist.
    UINT setTimer(UINT id, int ms);
    bool killTimer(UINT id);

protected:
    virtual BOOL onInitDialog() { return TRUE; }
    // WM_COMMAND of a control: its id and notification code.
    virtual void onCommand(int id, int code);
    // WM_NOTIFY of a control.
    virtual void onNotify(int id, UINT code) { (void)id, (void)code; }
    virtual void onTimer(UINT id) { (void)id; }
    // The close box or the window menu's Close. Default: endDialog(IDCANCEL).
    virtual void onClose() { endDialog(IDCANCEL); }
    // The window is going; its controls still hold their state.
    virtual void onDestroy() {}

private:
    static INT_PTR CALLBACK dialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    INT_PTR handle(UINT msg, WPARAM wp, LPARAM lp);
    void pressFocusedButton();

    const DialogTemplate& tmpl_;
    HWND hwnd_ = nullptr;
    bool ended_ = false;
    bool modal_ = false;
    int result_ = IDCANCEL;
};

// Dispatches one message, through the dialog keyboard handling of the
// top-level dialog it belongs to.
void dispatchMessage(MSG& msg);
// Runs the messages waiting for this thread; false when WM_QUIT came.
bool pumpMessages();

// The common controls the templates use (tabs); once per process.
void initCommonControls();

} // namespace win32
