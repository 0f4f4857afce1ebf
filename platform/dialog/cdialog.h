#pragma once
// CDialog: a window built from a DialogTemplate, with the id-addressed
// control access, message map, window timers and destroy handling that
// dialog code is written against.
//
// Life of a dialog:
//   construct      no controls yet (a page is constructed with its owner);
//   Create(parent) builds the controls from the template, then runs
//                  OnInitDialog; a child template becomes a hidden child of
//                  parent, a popup template a top-level window;
//   DoModal()      Create(nullptr), show, run a nested event loop until
//                  EndDialog or the window is closed (close button, Escape),
//                  then DestroyWindow; returns the EndDialog result;
//   DestroyWindow  kills the window's timers, runs OnDestroy, then destroys
//                  the CDialogs below it (depth first, in creation order):
//                  a window's own destroy handling runs before its
//                  children's. It runs once; the widgets themselves are freed
//                  with the C++ objects.
//
// Text: controls hold Unicode; the program's text is GBK (CString). The GBK
// accessors convert at this boundary; the Q-accessors give the Unicode text.
// Multi-line edits hand their text out with CR LF line ends.
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
#include "platform/dialog/dialog_template.h"
#include "platform/dialog/dialog_units.h"
#include "platform/dialog/wintypes.h"

#include <QString>
#include <QWidget>

#include <concepts>
#include <functional>
#include <map>
#include <optional>
#include <span>
#include <vector>

class CDialog;
class QEventLoop;

// Notifications a control sends to its dialog's message map.
enum class Notify {
    Clicked,   // button or check box clicked (by the user or with click())
    Changed,   // edit text changed (typing or a set text)
    SelChange, // tab control selection changed by the user
};

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

class CDialog : public QWidget {
public:
    explicit CDialog(const DialogTemplate& tmpl, QWidget* parent = nullptr);
    ~CDialog() override;

    // --- window life ---------------------------------------------------------
    BOOL Create(QWidget* parent);
    int DoModal();
    void EndDialog(int result);
    void DestroyWindow();
    bool IsWindowCreated() const { return created_ && !destroyed_; }

    // --- controls by id ------------------------------------------------------
    QWidget* GetDlgItem(int id) const;
    template <class W>
    W* item(int id) const { return dynamic_cast<W*>(GetDlgItem(id)); }

    // GBK text. Setting decodes the bytes (invalid bytes show as U+FFFD).
    // Getting gives nothing when the text holds a character GBK cannot
    // represent, so such text is never silently altered.
    void SetDlgItemText(int id, const CString& text);
    std::optional<CString> GetDlgItemText(int id) const;
    // The number as signed decimal text.
    void SetDlgItemInt(int id, int value);
    // The text read as atoi reads it (textutil::toInt): empty text gives 0,
    // otherwise its leading number; text GBK cannot hold reads the same way.
    int GetDlgItemAtoi(int id) const;
    // Unicode text.
    void setItemText(int id, const QString& text);
    QString itemText(int id) const;

    // Check boxes: 0 unticked, 1 ticked; any nonzero state ticks.
    void CheckDlgButton(int id, int state);
    int IsDlgButtonChecked(int id) const;

    void EnableDlgItem(int id, bool enable);
    bool IsDlgItemEnabled(int id) const;
    void ShowDlgItem(int id, bool show);

    // The plain message box: caption "", one OK button, owner this window;
    // returns when dismissed (BoxService).
    void MessageBox(const CString& text);

    // --- window timers -------------------------------------------------------
    // A repeating precise timer with an id of this window; WM_TIMER arrives
    // as OnTimer(id) until KillTimer. Setting an id again restarts it with
    // the new interval. A negative interval counts as 0. Returns the id, or
    // 0 when the window has been destroyed.
    UINT SetTimer(UINT id, int ms);
    BOOL KillTimer(UINT id);
    // For tests: whether a timer is pending, its interval (-1: none), and
    // delivering its next WM_TIMER now (false when none is pending).
    bool isTimerPending(UINT id) const;
    int timerInterval(UINT id) const;
    bool firePendingTimer(UINT id);

    // --- built from ----------------------------------------------------------
    const DialogTemplate& dialogTemplate() const { return tmpl_; }
    const DialogUnits& units() const { return units_; }
    struct Control {
        const ControlDef* def;
        QWidget* widget;
    };
    // The controls in template order.
    const std::vector<Control>& controls() const { return controls_; }

    // For tests and diagnostics: called after each window's OnDestroy.
    static void setDestroyObserver(std::function<void(CDialog&)> observer);

protected:
    // Runs once the controls exist; TRUE lets a modal dialog put the focus on
    // its first tab stop.
    virtual BOOL OnInitDialog();
    // WM_TIMER of a timer of this window. Default handling: nothing.
    virtual void OnTimer(UINT id);
    // The window is being destroyed; its controls still hold their state.
    virtual void OnDestroy();
    // This class's message map; the base has none.
    virtual std::span<const MessageEntry> GetMessageMap() const;

    void timerEvent(QTimerEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void build();
    QWidget* buildControl(const ControlDef& def);
    void dispatch(int id, Notify code);

    const DialogTemplate& tmpl_;
    DialogUnits units_;
    std::vector<Control> controls_;
    std::map<int, QWidget*> byId_;
    struct Timer {
        int qtId;
        int ms;
    };
    std::map<UINT, Timer> timers_;
    QEventLoop* modalLoop_ = nullptr;
    int modalResult_ = IDCANCEL;
    bool created_ = false;
    bool destroyed_ = false;
};
