#pragma once
// CTimePage: the time tab's page, a child dialog on template IDD_TIME_PAGE.
//
// Generate reads the controls and hands them to the timed run's driver
// (ui/timed_run_driver.h), which checks them and runs on window timer 1. Each
// timer event logs the local date and time into the output box and, when
// the check box is ticked, opens the program text. The run goes on while
// the page is hidden behind another tab; it ends with the window. The
// options are loaded when the page is created and stored when its window is
// destroyed.
#include "ui/timed_run_driver.h"
#include "platform/cdialog.h"

class CTimePage : public CDialog, protected TimedRunHost {
public:
    // The page's window is made later with Create(parent, control).
    CTimePage();

    // Reads the controls into the settings. With validate set, also refuses
    // (in the warning box, returning false) a program text GBK cannot hold
    // when it would be opened; the run's own rules are checked when it
    // starts. A program text GBK cannot hold is never read: the previous one
    // stays.
    bool readSettings(bool validate);

    // The options as last read from the controls.
    const TimeSettings& settings() const { return settings_; }
    // The current (or last) run: its log and its count of events done.
    const TimedRun& run() const { return driver_.run(); }

protected:
    BOOL OnInitDialog() override;
    void OnTimer(UINT nIDEvent) override;
    void OnDestroy() override;
    std::span<const MessageEntry> GetMessageMap() const override;

    void OnToggleProgram();
    void OnGenerate();
    void OnExport();

    // TimedRunHost over the window: timer 1, the local clock, the launcher,
    // the output box, the boxes and the Generate button.
    void armTimer(int delayMs) override;
    void cancelTimer() override;
    std::tm localNow() override;
    void launch(const CString& program) override;
    void showLog(const CString& text) override;
    void showMessage(BoxKind box, const CString& text) override;
    void setGenerateEnabled(bool enabled) override;

private:
    TimedRunDriver driver_;
    TimeSettings settings_;
    // The output box holds exactly the first shownBytes_ bytes of the log as
    // last shown, unless the user has changed it since: the next event then
    // only adds its line.
    bool logInBox_ = false;
    std::size_t shownBytes_ = 0;
};
