#include "ui/number_page.h"

#include "res/resource.h"
#include "res/templates.h"

CNumberPage::CNumberPage(QWidget* parent) : CDialog(kNumberPageTemplate, parent) {}

std::span<const MessageEntry> CNumberPage::GetMessageMap() const
{
    return {};
}

BOOL CNumberPage::OnInitDialog()
{
    CDialog::OnInitDialog();
    return TRUE;
}

void CNumberPage::OnDestroy()
{
    CDialog::OnDestroy();
}
