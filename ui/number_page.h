#pragma once
// CNumberPage: the number tab's page, a child dialog on template IDD_NUMBER_PAGE.
// It loads its options when created, makes a run of number rows into its
// output box at each Generate, and stores its options (all but the value
// range) when destroyed.
#include "gen/number_gen.h"
#include "platform/cdialog.h"

class CNumberPage : public CDialog {
public:
    // The page's window is made later with Create(parent, control).
    CNumberPage();

    // Fills the settings from the controls; with validate set also checks
    // them and, when a rule fails, shows its message in the warning box and
    // returns false.
    bool readSettings(bool validate);
    const NumberSettings& settings() const { return m_settings; }

protected:
    BOOL OnInitDialog() override;
    void OnDestroy() override;
    std::span<const MessageEntry> GetMessageMap() const override;

private:
    void OnGenerate();
    void OnFloatCheck();
    void OnExport();

    // A field's text as the number rules read it.
    CString fieldText(int id) const;

    NumberSettings m_settings;
};
