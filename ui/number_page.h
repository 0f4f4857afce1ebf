#pragma once
// CNumberPage: the number tab's page, a child dialog on template IDD_NUMBER_PAGE.
#include "platform/dialog/cdialog.h"

class CNumberPage : public CDialog {
public:
    // The page's window is made later with Create(parent).
    explicit CNumberPage(QWidget* parent = nullptr);

protected:
    BOOL OnInitDialog() override;
    void OnDestroy() override;
    std::span<const MessageEntry> GetMessageMap() const override;
};
