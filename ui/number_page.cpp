#include "ui/number_page.h"

#include "core/ccore.h"
#include "core/gbk.h"
#include "core/qt/qgbk.h"
#include "res/resource.h"
#include "res/templates.h"
#include "ui/export_text.h"

#include "platform/dialog/plain_text.h"

#include <QPlainTextEdit>

#include <algorithm>
#include <optional>
#include <vector>

namespace id = idc::number;

namespace {

QString rowsToUnicode(const CString& rows)
{
    // Rows of numbers are ASCII, which reads the same as Latin-1 and GBK.
    const bool ascii = std::all_of(rows.begin(), rows.end(), [](char c) { return (unsigned char)c < 0x80; });
    return ascii ? QString::fromLatin1(rows.data(), qsizetype(rows.size())) : gbk::decode(rows);
}

} // namespace

CNumberPage::CNumberPage(QWidget* parent) : CDialog(kNumberPageTemplate, parent) {}

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
    CheckDlgButton(id::isInt, g_core->getConfigB("isInt"));
    CheckDlgButton(id::isFloat, g_core->getConfigB("isFloat"));
    SetDlgItemInt(id::rangeMin, 80);
    SetDlgItemInt(id::rangeMax, 100);
    SetDlgItemInt(id::count, g_core->getConfigInt("count_int"));
    SetDlgItemInt(id::decimals, g_core->getConfigInt("xsw"));
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
    return itemText(id).toStdString();
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
        g_core->msgboxWarning(reinterpret_cast<HWND>(static_cast<QWidget*>(this)), message);
        return FALSE;
    }
    return TRUE;
}

void CNumberPage::setOutput(const CString& rows)
{
    if (auto* box = item<QPlainTextEdit>(id::output))
        setPlainTextFast(*box, rowsToUnicode(rows), kLinesPerBlock);
}

void CNumberPage::OnGenerate()
{
    if (!readSettings(1))
        return;
    EnableDlgItem(id::generate, false);
    setOutput(CString());
    setOutput(drawNumberRows(m_settings));
    MessageBox(gbk::lit("生成成功！"));
    EnableDlgItem(id::generate, true);
}

void CNumberPage::OnFloatCheck()
{
    EnableDlgItem(id::decimals, IsDlgButtonChecked(id::isFloat) == 1);
}

void CNumberPage::OnExport()
{
    // The box's own text ('\n' line ends): exportText writes them as CR LF
    // in one pass.
    if (auto* box = item<QPlainTextEdit>(id::output))
        exportText(*this, QStringLiteral("随机数字.txt"), box->toPlainText());
}

void CNumberPage::OnDestroy()
{
    CDialog::OnDestroy();
    readSettings(0);
    g_core->saveConfigInt("count_int", m_settings.count);
    g_core->saveConfigInt("xsw", m_settings.decimals);
    g_core->saveConfigB("isInt", m_settings.isInt);
    g_core->saveConfigB("isFloat", m_settings.isFloat);
}
