#pragma once
// CStringPage: the string tab's page, a child dialog on template IDD_STRING_PAGE.
#include "platform/dialog/cdialog.h"

class CStringPage : public CDialog {
public:
    // The page's window is made later with Create(parent).
    explicit CStringPage(QWidget* parent = nullptr);

protected:
    BOOL OnInitDialog() override;
    void OnDestroy() override;
    std::span<const MessageEntry> GetMessageMap() const override;
};
