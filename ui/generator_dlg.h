#pragma once
// CGeneratorDlg: the main window (template IDD_GENERATOR_DIALOG). It creates
// the core objects, holds the tab control with the three pages and shows the
// description of the current tab. Its window is not resizable.
#include "platform/dialog/cdialog.h"
#include "ui/number_page.h"
#include "ui/string_page.h"
#include "ui/time_page.h"

#include <QIcon>

class CTabCtrl;

class CGeneratorDlg : public CDialog {
public:
    explicit CGeneratorDlg(QWidget* parent = nullptr);
    ~CGeneratorDlg() override;

    // The tab change for index i: 0 to 2 show that tab's page only and its
    // description; any other index (no selection) leaves the pages as they
    // are and empties the description.
    void ShowTab(int index);

    CTabCtrl* tabCtrl() const;
    CStringPage& stringPage() { return m_stringPage; }
    CNumberPage& numberPage() { return m_numberPage; }
    CTimePage& timePage() { return m_timePage; }

    // Tab labels and descriptions, by tab index.
    static QString tabLabel(int index);
    static QString tabDescription(int index);

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
    QIcon m_hIcon;
};
