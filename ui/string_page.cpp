#include "ui/string_page.h"

#include "core/ccore.h"
#include "core/gbk.h"
#include "core/options.h"
#include "sys/output_location.h"
#include "core/texts.h"
#include "core/textutil.h"
#include "res/resource.h"
#include "res/templates.h"
#include "ui/export_text.h"
#include "ui/output_file.h"

#include <memory>

namespace {
namespace id = idc::string;

constexpr UINT kRunTimer = 1;
constexpr int kRunDelayMs = 200;

struct FlagControl {
    int id;
    int StringSettings::*field;
    const OptionDef& option;
};
// In the order they are loaded.
const FlagControl kFlags[] = {
    {id::upper, &StringSettings::isUCase, opt::isUCase},
    {id::lower, &StringSettings::isLCase, opt::isLCase},
    {id::digits, &StringSettings::isNum, opt::isNum},
    {id::hanzi, &StringSettings::isHz, opt::isHz},
    {id::useCharSpec, &StringSettings::isCharSpec, opt::isCharSpec},
    {id::useCharEx, &StringSettings::isCharEx, opt::isCharEx},
};
// In the order they are stored.
const int kFlagStoreOrder[] = {0, 1, 2, 3, 5, 4};

struct TextControl {
    int id;
    CString StringSettings::*field;
    const OptionDef& option;
    Text label; // names the box in messages
};
// In the order they are loaded and stored.
const TextControl kTexts[] = {
    {id::head, &StringSettings::head, opt::head, Text::LabelHead},
    {id::tail, &StringSettings::tail, opt::tail, Text::LabelTail},
    {id::insert, &StringSettings::insertStr, opt::insertStr, Text::LabelInsert},
    {id::charSpec, &StringSettings::charSpec, opt::charSpec, Text::LabelCharSpec},
    {id::charExclude, &StringSettings::charExclude, opt::charExclude, Text::LabelCharExclude},
};
// Indices into kTexts in the order the boxes are read: the lists first.
const int kTextReadOrder[] = {3, 4, 0, 1, 2};

struct NumberControl {
    int id;
    int StringSettings::*field;
    const OptionDef& option;
};
const NumberControl kNumbers[] = {
    {id::lenMin, &StringSettings::lenMin, opt::len_min_str},
    {id::lenMax, &StringSettings::lenMax, opt::len_max_str},
    {id::count, &StringSettings::count, opt::count_str},
};

// The message naming the first character of text (UTF-8) that GBK cannot hold.
std::string unencodableMessage(Text label, const std::string& text)
{
    const std::string ch = gbk::firstUnencodable(text);
    return fill(utf8(Text::FieldNotGbk), {utf8(label), ch, gbk::codePointName(ch)});
}
} // namespace

CStringPage::CStringPage() : CDialog(kStringPageTemplate) {}

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
        CheckDlgButton(f.id, g_core->getConfigB(f.option.key));
    for (const TextControl& t : kTexts) {
        // Kept as loaded too: a box whose text cannot be read back at the
        // end stores the loaded value again rather than losing it.
        settings_.*t.field = g_core->getConfigStr(t.option.key);
        SetDlgItemText(t.id, settings_.*t.field);
    }
    for (const NumberControl& n : kNumbers)
        SetDlgItemText(n.id, g_core->getConfigStr(n.option.key));

    // Beside the program where its folder can be written, else in the
    // user's data folder.
    const std::string located = outloc::locateOutputFile(gbk::toUtf8(g_core->getAppPath()));
    outPath_ = gbk::fromUtf8(located).value_or(located);
    // A file that cannot be removed now is reported by the next run.
    removeOutputFile(outPath_);
    OnToggleCharSpec();
    OnToggleCharEx();
    return TRUE;
}

bool CStringPage::readSettings(bool validate)
{
    StringSettings s = settings_;
    for (const FlagControl& f : kFlags)
        s.*f.field = IsDlgButtonChecked(f.id);
    // Disabled list boxes are read like the others.
    for (const int i : kTextReadOrder) {
        const TextControl& t = kTexts[i];
        if (const auto text = GetDlgItemText(t.id)) {
            s.*t.field = *text;
        } else if (validate) {
            MessageBoxUtf8(unencodableMessage(t.label, GetDlgItemTextUtf8(t.id)));
            return false;
        }
    }
    s.insertStr = textutil::trimmed(s.insertStr);
    for (const NumberControl& n : kNumbers)
        s.*n.field = GetDlgItemAtoi(n.id);
    settings_ = std::move(s);
    if (!validate)
        return true;

    CString message;
    if (!settings_.validate(&message)) {
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
    SetDlgItemText(id::output, text(Text::Generating));
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
    sys::FileResult result = removeOutputFile(outPath_);
    if (result.ok()) {
        if (settings_.count <= kBoxRowLimit) {
            SetDlgItemText(id::output, ::makeRun(settings_, g_core->random()));
        } else {
            result = writeOutputFile(outPath_, settings_);
            fileRun_ = result.ok();
            if (fileRun_)
                SetDlgItemText(id::output, text(Text::GeneratedToFile));
        }
    }
    running_ = false;

    if (result.ok()) {
        MessageBox(text(Text::Generated));
    } else {
        // No rows to show: the waiting text goes, the reason is given.
        SetDlgItemText(id::output, CString());
        MessageBoxUtf8(result.message());
    }
    EnableDlgItem(id::generate, true);
}

void CStringPage::OnExport()
{
    if (running_) {
        MessageBox(text(Text::ExportWhileGenerating));
        return;
    }
    if (fileRun_) {
        exportOutputFile(*this, outPath_, utf8(Text::StringExportName));
        return;
    }
    const std::string shown = GetDlgItemTextUtf8(id::output);
    if (shown.empty()) {
        MessageBox(text(Text::NothingToExport));
        return;
    }
    exportText(*this, utf8(Text::StringExportName), shown);
}

void CStringPage::OnDestroy()
{
    CDialog::OnDestroy();
    readSettings(false);
    for (const int i : kFlagStoreOrder)
        g_core->saveConfigB(kFlags[i].option.key, settings_.*kFlags[i].field);
    for (const TextControl& t : kTexts)
        g_core->saveConfigStr(t.option.key, settings_.*t.field);
    for (const NumberControl& n : kNumbers)
        g_core->saveConfigInt(n.option.key, settings_.*n.field);
}
