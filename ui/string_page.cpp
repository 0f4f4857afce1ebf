#include "ui/string_page.h"

#include "core/ccore.h"
#include "core/file_message.h"
#include "core/gbk.h"
#include "core/options.h"
#include "sys/output_location.h"
#include "core/texts.h"
#include "core/textutil.h"
#include "res/resource.h"
#include "res/templates.h"
#include "ui/export_text.h"
#include "ui/page_controls.h"
#include "ui/output_file.h"

#include <memory>

namespace {
namespace id = idc::string;

constexpr UINT kRunTimer = 1;
constexpr int kRunDelayMs = 200;

constexpr OptionControls<StringSettings> kOptions(kStringOptions, kStringControls);
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
    // Kept as loaded: a box whose text cannot be read back at the end stores
    // the loaded value again rather than losing it.
    settings_ = kOptions.load(*this);

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
    const OptionDef* unreadable = kOptions.read(*this, s);
    if (unreadable && validate) {
        MessageBoxUtf8(textNotGbkMessage(*unreadable, GetDlgItemTextUtf8(kOptions.controlOf(*unreadable))));
        return false;
    }
    s.insertStr = textutil::trimmed(s.insertStr);
    settings_ = std::move(s);
    if (!validate)
        return true;
    if (const auto invalid = settings_.validate()) {
        MessageBox(invalid->message);
        return false;
    }
    settings_ = settings_.forRun();
    seedCRuntime();
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
        MessageBoxUtf8(fileMessage(result));
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
    kOptions.store(settings_);
}
