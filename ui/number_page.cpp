#include "ui/number_page.h"

#include "core/ccore.h"
#include "core/options.h"
#include "core/texts.h"
#include "res/resource.h"
#include "res/templates.h"
#include "ui/export_text.h"

namespace id = idc::number;

CNumberPage::CNumberPage() : CDialog(kNumberPageTemplate) {}

std::span<const MessageEntry> CNumberPage::GetMessageMap() const
{
    static const MessageEntry map[] = {
        {id::generate, Notify::Clicked, &CNumberPage::OnGenerate},
        {id::isFloat, Notify::Clicked, &CNumberPage::OnFloatCheck},
        {id::exportText, Notify::Clicked, &CNumberPage::OnExport},
    };
    return map;
}

BOOL CNumberPage::OnInitDialog()
{
    CDialog::OnInitDialog();
    CheckDlgButton(id::isInt, g_core->getConfigB(opt::isInt.key));
    CheckDlgButton(id::isFloat, g_core->getConfigB(opt::isFloat.key));
    SetDlgItemInt(id::rangeMin, opt::kRangeMin);
    SetDlgItemInt(id::rangeMax, opt::kRangeMax);
    SetDlgItemInt(id::count, g_core->getConfigInt(opt::count_int.key));
    SetDlgItemInt(id::decimals, g_core->getConfigInt(opt::xsw.key));
    // The decimals field keeps its template state (enabled) until the
    // floating-point box is next clicked.
    return TRUE;
}

CString CNumberPage::fieldText(int id) const
{
    if (auto text = GetDlgItemText(id))
        return *text;
    // Pasted text GBK cannot hold: the number rules read only its leading
    // ASCII number (atoi and atof stop at any other character), and that
    // reads the same in UTF-8 as it would in GBK.
    return GetDlgItemTextUtf8(id);
}

BOOL CNumberPage::readSettings(int validate)
{
    m_settings = NumberSettings::fromFields(IsDlgButtonChecked(id::isInt), IsDlgButtonChecked(id::isFloat),
                                            fieldText(id::rangeMin), fieldText(id::rangeMax), fieldText(id::count),
                                            fieldText(id::decimals));
    if (!validate)
        return TRUE;
    const CString message = m_settings.validate();
    if (!message.empty()) {
        g_core->msgboxWarning(GetSafeHwnd(), message);
        return FALSE;
    }
    return TRUE;
}

void CNumberPage::OnGenerate()
{
    if (!readSettings(1))
        return;
    EnableDlgItem(id::generate, false);
    SetDlgItemText(id::output, CString());
    SetDlgItemText(id::output, drawNumberRows(m_settings));
    MessageBox(text(Text::Generated));
    EnableDlgItem(id::generate, true);
}

void CNumberPage::OnFloatCheck()
{
    EnableDlgItem(id::decimals, IsDlgButtonChecked(id::isFloat) == 1);
}

void CNumberPage::OnExport()
{
    exportText(*this, utf8(Text::NumberExportName), GetDlgItemTextUtf8(id::output));
}

void CNumberPage::OnDestroy()
{
    CDialog::OnDestroy();
    readSettings(0);
    g_core->saveConfigInt(opt::count_int.key, m_settings.count);
    g_core->saveConfigInt(opt::xsw.key, m_settings.decimals);
    g_core->saveConfigB(opt::isInt.key, m_settings.isInt);
    g_core->saveConfigB(opt::isFloat.key, m_settings.isFloat);
}
