#include "ui/string_page.h"

#include "res/resource.h"
#include "res/templates.h"

CStringPage::CStringPage(QWidget* parent) : CDialog(kStringPageTemplate, parent) {}

std::span<const MessageEntry> CStringPage::GetMessageMap() const
{
    return {};
}

BOOL CStringPage::OnInitDialog()
{
    CDialog::OnInitDialog();
    return TRUE;
}

void CStringPage::OnDestroy()
{
    CDialog::OnDestroy();
}
