#include "ui/number_page.h"

#include "core/ccore.h"
#include "core/options.h"
#include "core/texts.h"
#include "res/resource.h"
#include "res/templates.h"
#include "ui/export_text.h"
#include "ui/page_controls.h"

namespace {
namespace id = idc::number;

constexpr OptionControls<NumberSettings> kOptions(kNumberOptions, kNumberControls);
} // namespace

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
    kOptions.load(*this);
    SetDlgItemInt(id::rangeMin, opt::kRangeMin);
    SetDlgItemInt(id::rangeMax, opt::kRangeMax);
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

bool CNumberPage::readSettings(bool validate)
{
    NumberSettings s;
    kOptions.read(*this, s); // no texts: every field is read
    s.rangeMin = numberFieldBound(fieldText(id::rangeMin));
    s.rangeMax = numberFieldBound(fieldText(id::rangeMax));
    m_settings = s;
    if (!validate)
        return true;
    if (const auto invalid = m_settings.validate()) {
        g_core->msgboxWarning(GetSafeHwnd(), invalid->message);
        return false;
    }
    seedCRuntime();
    return true;
}

void CNumberPage::OnGenerate()
{
    if (!readSettings(true))
        return;
    EnableDlgItem(id::generate, false);
    SetDlgItemText(id::output, CString());
    SetDlgItemText(id::output, drawNumberRows(m_settings, g_core->random()));
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
    readSettings(false);
    kOptions.store(m_settings);
}
