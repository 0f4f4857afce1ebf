#pragma once
// CDialog: a window built from a DialogTemplate, with the id-addressed
// control access, message map, window timers and destroy handling that
// dialog code is written against. It names no toolkit: the window itself is
// a DialogWindow of the back end (platform/dialog_window.h).
//
// Life of a dialog:
//   construct      no window yet;
//   Create(parent, control)
//                  builds the controls from the template, then runs
//                  OnInitDialog; a child template becomes a hidden child of
//                  the parent's control (the tab control a page lies over),
//                  a popup template a top-level window;
//   DoModal()      Create(nullptr), show, run until EndDialog or the window
//                  is closed (close button, Escape), then DestroyWindow;
//                  returns the EndDialog result;
//   DestroyWindow  kills the window's timers, runs OnDestroy, then destroys
//                  the dialogs created inside it (in creation order): a
//                  window's own destroy handling runs before its children's.
//                  It runs once.
//
// Text is GBK (CString) at this interface; the back end converts. Multi-line
// edits hand their text out with CR LF line ends.
//
// A page declares its message map by overriding GetMessageMap:
//
//   std::span<const MessageEntry> CNumberPage::GetMessageMap() const
//   {
//       static const MessageEntry map[] = {
//           {1024, Notify::Clicked, &CNumberPage::OnGenerate},
//           {1019, Notify::Clicked, &CNumberPage::OnFloatCheck},
//       };
//       return map;
//   }
//
// Timers and destruction need no rows: override OnTimer and OnDestroy.
#include "core/types.h"
#include "res/dialog_template.h"
#include "platform/dialog_window.h"
#include "platform/wintypes.h"

#include <concepts>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

class CDialog;

// One row of a message map: (control id, notification) -> member handler.
struct MessageEntry {
    int id;
    Notify code;
    void (CDialog::*handler)();

    template <class D>
        requires std::derived_from<D, CDialog>
    MessageEntry(int id_, Notify code_, void (D::*handler_)())
        : id(id_), code(code_), handler(static_cast<void (CDialog::*)()>(handler_))
    {
    }
};

class CDialog : private DialogEvents {
public:
    explicit CDialog(const DialogTemplate& tmpl);
    virtual ~CDialog();
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    // --- window life ---------------------------------------------------------
    // parent null: a top-level window. Otherwise the dialog lies inside
    // control parentControl of parent (kNoId: in parent's client area).
    BOOL Create(CDialog* parent = nullptr, int parentControl = kNoId);
    int DoModal();
    void EndDialog(int result);
    void DestroyWindow();

    HWND GetSafeHwnd() const;
    void ShowWindow(bool show);
    bool IsWindowVisible() const;
    // Position and size within the parent, in pixels.
    void MoveWindow(const CRect& rect);
    CRect GetWindowRect() const;
    // The window's icon, from the icon group with this resource id.
    void SetIcon(int iconGroup);

    // --- controls by id ------------------------------------------------------
    // GBK text. Setting decodes the bytes (invalid bytes show as U+FFFD).
    // Getting gives nothing when the text holds a character GBK cannot
    // represent, so such text is never silently altered.
    void SetDlgItemText(int id, const CString& text);
    std::optional<CString> GetDlgItemText(int id) const;
    // The text as UTF-8, whatever it holds: for what GBK cannot carry (an
    // export as UTF-8, a message naming a character).
    std::string GetDlgItemTextUtf8(int id) const;
    // The number as signed decimal text.
    void SetDlgItemInt(int id, int value);
    // The text read as atoi reads it (textutil::toInt): empty text gives 0,
    // otherwise its leading number; text GBK cannot hold reads the same way.
    int GetDlgItemAtoi(int id) const;
    // Multi-line edits: text added at the end, the view following it when it
    // was at the end; and whether the user has changed the text since the
    // program last set or added to it.
    void AppendDlgItemText(int id, const CString& text);
    bool GetDlgItemModify(int id) const;

    // Check boxes: 0 unticked, 1 ticked; any nonzero state ticks.
    void CheckDlgButton(int id, int state);
    int IsDlgButtonChecked(int id) const;

    void EnableDlgItem(int id, bool enable);
    bool IsDlgItemEnabled(int id) const;

    // The plain message box: caption "", one OK button, owner this window;
    // returns when dismissed (BoxService). The second takes UTF-8 text, for
    // messages that carry a file name GBK may not hold.
    void MessageBox(const CString& text);
    void MessageBoxUtf8(const std::string& text);

    // --- window timers -------------------------------------------------------
    // A repeating timer with an id of this window; it arrives as OnTimer(id)
    // until KillTimer. Setting an id again restarts it with the new interval.
    // A negative interval counts as 0. Returns the id, or 0 when the window
    // has been destroyed.
    UINT SetTimer(UINT id, int ms);
    BOOL KillTimer(UINT id);

    // --- built from ----------------------------------------------------------
    const DialogTemplate& dialogTemplate() const { return tmpl_; }
    // The back end's window, for the back end's own helpers and tools.
    DialogWindow& window() const { return *wnd_; }

    // For tests and diagnostics: called after each window's OnDestroy.
    static void setDestroyObserver(std::function<void(CDialog&)> observer);

protected:
    // Runs once the controls exist; TRUE lets a modal dialog put the focus on
    // its first tab stop.
    virtual BOOL OnInitDialog();
    // A timer of this window. Default handling: nothing.
    virtual void OnTimer(UINT id);
    // The window is being destroyed; its controls still hold their state.
    virtual void OnDestroy();
    // This class's message map; the base has none.
    virtual std::span<const MessageEntry> GetMessageMap() const;

private:
    friend struct DialogDriverAccess;

    void onNotify(int id, Notify code) override;
    void onTimerFired(UINT id) override;
    void onCloseRequest() override;
    void onSessionEnd() override;

    const DialogTemplate& tmpl_;
    std::unique_ptr<DialogWindow> wnd_;
    std::map<UINT, int> timers_; // id -> interval
    std::vector<CDialog*> children_;
    CDialog* parent_ = nullptr;
    bool created_ = false;
    bool destroyed_ = false;
};

// A view on a tab control of a dialog: a row of tabs over a client area that
// holds no pages itself; its owner lays page dialogs over GetClientRect()
// and shows one at a time. Changing the selection from the program sends no
// notification; a change by the user sends Notify::SelChange.
class CTabCtrl {
public:
    CTabCtrl(CDialog& owner, int id) : owner_(owner), id_(id) {}

    int InsertItem(int index, const CString& label);
    int GetItemCount() const;
    int GetCurSel() const; // -1: no selection
    int SetCurSel(int index); // returns the previous selection, -1 for a bad index
    // The whole control, (0, 0, width, height), in pixels.
    CRect GetClientRect() const;

private:
    CDialog& owner_;
    int id_;
};
