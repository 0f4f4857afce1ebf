#include "ui/time_page.h"

#include "res/resource.h"
#include "res/templates.h"

CTimePage::CTimePage(QWidget* parent) : CDialog(kTimePageTemplate, parent) {}

std::span<const MessageEntry> CTimePage::GetMessageMap() const
{
    return {};
}

BOOL CTimePage::OnInitDialog()
{
    CDialog::OnInitDialog();
    return TRUE;
}

void CTimePage::OnDestroy()
{
    CDialog::OnDestroy();
}
