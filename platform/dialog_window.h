#pragma once
// The back end's side of a dialog: one window built from a template, with
// its controls addressed by id. CDialog holds one and speaks only to this
// interface; each back end (platform/qt/, platform/win32/) implements it and
// the factory createDialogWindow. Texts are GBK bytes unless named UTF-8.
#include "core/types.h"
#include "res/dialog_template.h"
#include "platform/wintypes.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>

// Notifications a control sends to its dialog's message map.
enum class Notify {
    Clicked,   // button or check box clicked (by the user or with a click)
    Changed,   // edit text changed (typing or a set text)
    SelChange, // tab control selection changed by the user
};

// What a window reports to its dialog.
class DialogEvents {
public:
    virtual void onNotify(int id, Notify code) = 0;
    virtual void onTimerFired(UINT id) = 0;
    // The user asked to close a top-level window (close button, Escape).
    virtual void onCloseRequest() = 0;
    // The user's session is ending and the process ends as soon as this
    // returns: what closing the window would do has to be done now.
    virtual void onSessionEnd() = 0;

protected:
    ~DialogEvents() = default;
};

class DialogWindow {
public:
    virtual ~DialogWindow() = default;

    // Builds the window and its controls from the template. parent null: a
    // top-level window; otherwise a hidden child inside control parentControl
    // of parent (kNoId: in parent's client area).
    virtual void create(DialogWindow* parent, int parentControl) = 0;
    virtual HWND handle() const = 0;
    virtual void show(bool show) = 0;
    virtual bool isVisible() const = 0;
    virtual void move(const CRect& rect) = 0;
    virtual CRect rect() const = 0;
    virtual void setIcon(int iconGroup) = 0;

    // Controls. An unknown id does nothing and reads as empty, 0 or false.
    virtual void setText(int id, std::string_view gbk) = 0;
    virtual std::optional<std::string> text(int id) const = 0; // nothing: GBK cannot hold it
    virtual std::string textUtf8(int id) const = 0;
    virtual void appendText(int id, std::string_view gbk) = 0;
    virtual bool isModified(int id) const = 0;
    // The first line a multi-line edit shows; scrolling it so that line comes
    // first, as far as the text goes (for tests, as a user scrolls).
    virtual int firstVisibleLine(int id) const = 0;
    virtual void scrollToLine(int id, int line) = 0;
    virtual void setCheck(int id, int state) = 0;
    virtual int check(int id) const = 0;
    virtual void enable(int id, bool enable) = 0;
    virtual bool isEnabled(int id) const = 0;

    // Tab controls.
    virtual int tabInsert(int id, int index, std::string_view gbk) = 0;
    virtual int tabCount(int id) const = 0;
    virtual int tabCurSel(int id) const = 0;
    virtual int tabSetCurSel(int id, int index) = 0;
    virtual CRect clientRect(int id) const = 0;

    // Repeating timers; fired through DialogEvents::onTimerFired.
    virtual bool startTimer(UINT id, int ms) = 0;
    virtual void stopTimer(UINT id) = 0;

    // Shows the window and runs until endModal; focusFirst puts the focus on
    // the first tab stop. Returns endModal's result.
    virtual int runModal(bool focusFirst) = 0;
    virtual void endModal(int result) = 0;
    // Hides the window; it is freed with this object.
    virtual void destroy() = 0;

    // What a user does, for tests and tools (platform/dialog_driver.h).
    virtual void userClick(int id) = 0;
    virtual void userType(int id, const std::string& utf8) = 0;
    virtual void userSelectTab(int id, int index) = 0;
};

std::unique_ptr<DialogWindow> createDialogWindow(const DialogTemplate& tmpl, DialogEvents& events);
