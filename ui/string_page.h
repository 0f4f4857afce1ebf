#pragma once
// CStringPage: the string tab's page, a child dialog on template IDD_STRING_PAGE.
//
// Generate reads and checks the controls, shows a waiting text and makes the
// run when timer 1 fires: up to 1000 rows into the output box in one step,
// more into the output file (the program folder's "_out.txt") row by row.
// Export saves the box's text, or after a run to the file the file's rows.
// The options are loaded when the page is created and stored when its
// window is destroyed.
#include "gen/string_gen.h"
#include "platform/cdialog.h"

class CStringPage : public CDialog {
public:
    // The page's window is made later with Create(parent, control).
    CStringPage();

    // Runs of more than this many rows go to the output file.
    static constexpr int kBoxRowLimit = 1000;

    // Reads the controls into the settings. With validate set, a text GBK
    // cannot hold or a failing rule is shown in the plain box and false
    // returned; without it nothing is shown, nothing is seeded, and a text
    // GBK cannot hold keeps its previous value.
    bool readSettings(bool validate);
    // The options as last read (as loaded, before the first read).
    const StringSettings& settings() const { return settings_; }
    // The output file (GBK), set when the window is created.
    const CString& outPath() const { return outPath_; }

protected:
    BOOL OnInitDialog() override;
    void OnTimer(UINT nIDEvent) override;
    void OnDestroy() override;
    std::span<const MessageEntry> GetMessageMap() const override;

    void OnGenerate();
    void OnExport();
    void OnToggleCharSpec();
    void OnToggleCharEx();

private:
    // Makes the run of the settings; then the success box, or the failure named.
    void makeRun();

    StringSettings settings_;
    CString outPath_;
    bool running_ = false; // from a passing Generate to the run's end
    bool fileRun_ = false; // the last run went, whole, to the output file
};
