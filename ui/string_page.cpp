#include "ui/string_page.h"

#include "core/ccore.h"
#include "core/gbk.h"
#include "core/qt/qgbk.h"
#include "core/textutil.h"
#include "platform/dialog/boxes.h"
#include "res/resource.h"
#include "res/templates.h"
#include "ui/export_text.h"
#include "ui/output_file.h"

#include <QPointer>

namespace {
namespace id = idc::string;

constexpr UINT kRunTimer = 1;
constexpr int kRunDelayMs = 200;
const QString kExportName = QStringLiteral("随机字符串.txt");

struct FlagControl {
    int id;
    int StringSettings::*field;
    const char* key;
};
// In the order they are loaded.
const FlagControl kFlags[] = {
    {id::upper, &StringSettings::isUCase, "isUCase"},
    {id::lower, &StringSettings::isLCase, "isLCase"},
    {id::digits, &StringSettings::isNum, "isNum"},
    {id::hanzi, &StringSettings::isHz, "isHz"},
    {id::useCharSpec, &StringSettings::isCharSpec, "isCharSpec"},
    {id::useCharEx, &StringSettings::isCharEx, "isCharEx"},
};

struct TextControl {
    int id;
    CString StringSettings::*field;
    const char* key;
    const char* label; // names the box in messages
};
// In the order they are loaded and stored.
const TextControl kTexts[] = {
    {id::head, &StringSettings::head, "head", "头部"},
    {id::tail, &StringSettings::tail, "tail", "尾部"},
    {id::insert, &StringSettings::insertStr, "insertStr", "插入"},
    {id::charSpec, &StringSettings::charSpec, "charSpec", "特殊字符"},
    {id::charExclude, &StringSettings::charExclude, "charExclude", "排除字符"},
};
// Indices into kTexts in the order the boxes are read: the lists first.
const int kTextReadOrder[] = {3, 4, 0, 1, 2};

struct NumberControl {
    int id;
    int StringSettings::*field;
    const char* key;
};
const NumberControl kNumbers[] = {
    {id::lenMin, &StringSettings::lenMin, "len_min_str"},
    {id::lenMax, &StringSettings::lenMax, "len_max_str"},
    {id::count, &StringSettings::count, "count_str"},
};

QString unencodableMessage(const char* label, const QString& text)
{
    const QString ch = QString::fromStdString(gbk::firstUnencodable(text.toStdString()));
    const QString code = QStringLiteral("U+%1").arg(ch.toUcs4().value(0), 4, 16, QLatin1Char('0')).toUpper();
    return QStringLiteral("“%1”中含有 GBK 无法表示的字符“%2”（%3），请修改后再生成。")
        .arg(QString::fromUtf8(label), ch, code);
}
} // namespace

CStringPage::CStringPage(QWidget* parent) : CDialog(kStringPageTemplate, parent) {}

std::span<const MessageEntry> CStringPage::GetMessageMap() const
{
    static const MessageEntry map[] = {
        {id::generate, Notify::Clicked, &CStringPage::OnGenerate},
        {id::exportText, Notify::Clicked, &CStringPage::OnExport},
        {id::useCharSpec, Notify::Clicked, &CStringPage::OnToggleCharSpec},
        {id::useCharEx, Notify::Clicked, &CStringPage::OnToggleCharEx},
    };
    return map;
}

BOOL CStringPage::OnInitDialog()
{
    CDialog::OnInitDialog();
    for (const FlagControl& f : kFlags)
        CheckDlgButton(f.id, g_core->getConfigB(f.key));
    for (const TextControl& t : kTexts) {
        // Kept as loaded too: a box whose text cannot be read back at the
        // end stores the loaded value again rather than losing it.
        settings.*t.field = g_core->getConfigStr(t.key);
        SetDlgItemText(t.id, settings.*t.field);
    }
    for (const NumberControl& n : kNumbers)
        SetDlgItemText(n.id, g_core->getConfigStr(n.key));

    outPath = g_core->getAppPath() + "_out.txt";
    // A file that cannot be removed now is reported by the next run.
    removeOutputFile(outPath);
    OnToggleCharSpec();
    OnToggleCharEx();
    return TRUE;
}

int CStringPage::readIntField(int controlId) const
{
    return GetDlgItemAtoi(controlId);
}

bool CStringPage::readSettings(bool validate)
{
    StringSettings s = settings;
    for (const FlagControl& f : kFlags)
        s.*f.field = IsDlgButtonChecked(f.id);
    // Disabled list boxes are read like the others.
    for (const int i : kTextReadOrder) {
        const TextControl& t = kTexts[i];
        if (const auto text = GetDlgItemText(t.id)) {
            s.*t.field = *text;
        } else if (validate) {
            showBox(this, BoxKind::Plain, QString(), unencodableMessage(t.label, itemText(t.id)));
            return false;
        }
    }
    s.insertStr = textutil::trimmed(s.insertStr);
    for (const NumberControl& n : kNumbers)
        s.*n.field = readIntField(n.id);
    settings = std::move(s);
    if (!validate)
        return true;

    CString message;
    if (!settings.validate(&message)) {
        MessageBox(message);
        return false;
    }
    return true;
}

void CStringPage::OnToggleCharSpec()
{
    EnableDlgItem(id::charSpec, IsDlgButtonChecked(id::useCharSpec) != 0);
}

void CStringPage::OnToggleCharEx()
{
    EnableDlgItem(id::charExclude, IsDlgButtonChecked(id::useCharEx) != 0);
}

void CStringPage::OnGenerate()
{
    if (!readSettings(true))
        return;
    EnableDlgItem(id::generate, false);
    running_ = true;
    fileRun_ = false;
    SetDlgItemText(id::output, CString());
    SetDlgItemText(id::output, gbk::lit("生成中，请稍后..."));
    SetTimer(kRunTimer, kRunDelayMs);
}

void CStringPage::OnTimer(UINT nIDEvent)
{
    KillTimer(nIDEvent);
    if (nIDEvent == kRunTimer && running_)
        makeRun();
    CDialog::OnTimer(nIDEvent);
}

void CStringPage::makeRun()
{
    QString failure = removeOutputFile(outPath);
    if (failure.isEmpty()) {
        if (settings.count <= kBoxRowLimit) {
            SetDlgItemText(id::output, ::makeRun(settings));
        } else {
            failure = writeOutputFile(outPath, settings);
            fileRun_ = failure.isEmpty();
            if (fileRun_)
                SetDlgItemText(id::output, gbk::lit("生成完成，请单击导出按钮。"));
        }
    }
    running_ = false;

    const QPointer<CStringPage> alive(this);
    if (failure.isEmpty()) {
        MessageBox(gbk::lit("生成成功！"));
    } else {
        // No rows to show: the waiting text goes, the reason is given.
        SetDlgItemText(id::output, CString());
        showBox(this, BoxKind::Plain, QString(), failure);
    }
    if (alive)
        EnableDlgItem(id::generate, true);
}

void CStringPage::OnExport()
{
    if (running_) {
        MessageBox(gbk::lit("正在生成，请在生成完成后再导出。"));
        return;
    }
    if (fileRun_) {
        exportOutputFile(*this, outPath, kExportName);
        return;
    }
    const QString text = itemText(id::output);
    if (text.isEmpty()) {
        MessageBox(gbk::lit("没有可导出的内容，请先生成。"));
        return;
    }
    exportText(*this, kExportName, text);
}

void CStringPage::OnDestroy()
{
    CDialog::OnDestroy();
    readSettings(false);
    g_core->saveConfigB("isUCase", settings.isUCase);
    g_core->saveConfigB("isLCase", settings.isLCase);
    g_core->saveConfigB("isNum", settings.isNum);
    g_core->saveConfigB("isHz", settings.isHz);
    g_core->saveConfigB("isCharEx", settings.isCharEx);
    g_core->saveConfigB("isCharSpec", settings.isCharSpec);
    for (const TextControl& t : kTexts)
        g_core->saveConfigStr(t.key, settings.*t.field);
    for (const NumberControl& n : kNumbers)
        g_core->saveConfigInt(n.key, settings.*n.field);
}
