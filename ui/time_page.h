#pragma once
// CTimePage: the time tab's page, a child dialog on template IDD_TIME_PAGE.
#include "platform/dialog/cdialog.h"

class CTimePage : public CDialog {
public:
    // The page's window is made later with Create(parent).
    explicit CTimePage(QWidget* parent = nullptr);

protected:
    BOOL OnInitDialog() override;
    void OnDestroy() override;
    std::span<const MessageEntry> GetMessageMap() const override;
};
