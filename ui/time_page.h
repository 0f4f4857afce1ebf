#pragma once
// CTimePage: the time tab's page, a child dialog on template IDD_TIME_PAGE.
//
// Generate reads and checks the controls and starts a timed run
// (gen/timed_run.h) on window timer 1. Each timer event logs the local date
// and time into the output box and, when the check box is ticked, opens the
// program text. The run goes on while the page is hidden behind another tab;
// it ends with the window. The options are loaded when the page is created
// and stored when its window is destroyed.
#include "gen/timed_run.h"
#include "platform/dialog/cdialog.h"
#include "platform/launch/launcher.h"

class CTimePage : public CDialog, protected TimedRunHost {
public:
    // The page's window is made later with Create(parent).
    explicit CTimePage(QWidget* parent = nullptr);

    // Reads the controls into the members below. With validate set, checks
    // them and shows the first failing rule in its box; returns 0 then, else 1.
    // With validate clear, only reads: no message, no seeding.
    int readSettings(int validate);
    // The control's text as a number: empty text gives 0, otherwise atoi.
    int readIntField(int id) const;

    // Whether a run is going (timer pending or an event being handled).
    bool running() const { return driver_.run().running(); }

private:
    TimedRunDriver driver_; // declared first: the run state below refers to it

public:
    // The run's options as last read from the controls. A program text that
    // GBK cannot hold is not read: fileProgram keeps its previous value.
    int isProgram = 0;
    CString fileProgram;
    // The current (or last) run: its log, one line per event, and its count of
    // events done so far.
    const CString& logText;
    int min_delay = 0;
    int max_delay = 0;
    int count_time = 0;
    const int& eventsDone;

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
    void showMessage(TimeSettings::Box box, const CString& text) override;
    void setGenerateEnabled(bool enabled) override;

private:
    TimeSettings settings() const;

    Launcher launcher_;
    // The output box holds exactly the first shownBytes_ bytes of the log as
    // last shown: the next event then only appends its line.
    bool logInBox_ = false;
    std::size_t shownBytes_ = 0;
    bool writingLog_ = false;
};
