#pragma once
// CGeneratorDlg: the main window (template IDD_GENERATOR_DIALOG). It creates
// the core objects, holds the tab control with the three pages and shows the
// description of the current tab. Its window is not resizable.
#include "platform/cdialog.h"
#include "ui/number_page.h"
#include "ui/string_page.h"
#include "ui/time_page.h"

class CGeneratorDlg : public CDialog {
public:
    CGeneratorDlg();
    ~CGeneratorDlg() override;

    // The tab change for index i: 0 to 2 show that tab's page only and its
    // description; any other index (no selection) leaves the pages as they
    // are and empties the description.
    void ShowTab(int index);

    CStringPage& stringPage() { return m_stringPage; }
    CNumberPage& numberPage() { return m_numberPage; }
    CTimePage& timePage() { return m_timePage; }

    // The pages lie over the tab control's client area less its frame and
    // tab row: these pixels are taken off its left, top, right and bottom.
    static constexpr CRect kPageInset{1, 21, 3, 3};

protected:
    BOOL OnInitDialog() override;
    std::span<const MessageEntry> GetMessageMap() const override;
    void OnTimer(UINT id) override;

private:
    void OnSelchangeTab();
    void OnAbout();

    CStringPage m_stringPage;
    CNumberPage m_numberPage;
    CTimePage m_timePage;
    CTabCtrl m_tab;
};
