#include "ui/time_page.h"

#include "core/ccore.h"
#include "core/gbk.h"
#include "core/options.h"
#include "core/texts.h"
#include "sys/clock.h"
#include "sys/shell.h"
#include "res/resource.h"
#include "res/templates.h"
#include "ui/export_text.h"

#include <ctime>
#include <string_view>

namespace {
namespace id = idc::time;
constexpr UINT kRunTimer = 1;
} // namespace

CTimePage::CTimePage() : CDialog(kTimePageTemplate), driver_(*this) {}

std::span<const MessageEntry> CTimePage::GetMessageMap() const
{
    static const MessageEntry map[] = {
        {id::isProgram, Notify::Clicked, &CTimePage::OnToggleProgram},
        {id::generate, Notify::Clicked, &CTimePage::OnGenerate},
        {id::exportText, Notify::Clicked, &CTimePage::OnExport},
    };
    return map;
}

BOOL CTimePage::OnInitDialog()
{
    CDialog::OnInitDialog();
    // The program edit keeps the disabled state it is created with, whatever
    // the check box shows, until the check box is clicked.
    CheckDlgButton(id::isProgram, g_core->getConfigB(opt::isProgram.key));
    // Kept as the last good text, so a text GBK cannot hold typed before
    // closing never replaces the stored program with nothing.
    fileProgram_ = g_core->getConfigStr(opt::fileProgram.key);
    SetDlgItemText(id::program, fileProgram_);
    SetDlgItemText(id::minDelay, g_core->getConfigStr(opt::min_delay.key));
    SetDlgItemText(id::maxDelay, g_core->getConfigStr(opt::max_delay.key));
    SetDlgItemText(id::count, g_core->getConfigStr(opt::count_time.key));
    return TRUE;
}

int CTimePage::readSettings(int validate)
{
    isProgram_ = IsDlgButtonChecked(id::isProgram);
    // Read whether the edit is enabled or not: it is what will be opened.
    const std::optional<CString> program = GetDlgItemText(id::program);
    if (program)
        fileProgram_ = *program;
    minDelay_ = GetDlgItemAtoi(id::minDelay);
    maxDelay_ = GetDlgItemAtoi(id::maxDelay);
    countTime_ = GetDlgItemAtoi(id::count);
    // A program text GBK cannot hold cannot be opened as typed, nor stored.
    // It is refused only when it would be opened.
    if (validate && isProgram_ != 0 && !program) {
        const std::string bad = gbk::firstUnencodable(GetDlgItemTextUtf8(id::program));
        g_core->msgboxWarning(GetSafeHwnd(), fill(text(Text::ProgramNotGbk), {gbk::codePointName(bad)}));
        return 0;
    }
    return 1;
}

TimeSettings CTimePage::settings() const
{
    return TimeSettings{isProgram_, fileProgram_, minDelay_, maxDelay_, countTime_};
}

void CTimePage::OnToggleProgram()
{
    EnableDlgItem(id::program, IsDlgButtonChecked(id::isProgram) != 0);
}

void CTimePage::OnGenerate()
{
    // The run checks its rules, showing the first that fails; when all
    // pass it disables Generate, empties the output box and arms timer 1
    // with the first interval.
    if (readSettings(1))
        driver_.generate(settings(), g_core->random());
}

void CTimePage::OnTimer(UINT nIDEvent)
{
    if (nIDEvent == kRunTimer)
        driver_.onTimer(); // kills timer 1 before anything else
    CDialog::OnTimer(nIDEvent);
}

void CTimePage::OnExport()
{
    exportText(*this, utf8(Text::TimeExportName), GetDlgItemTextUtf8(id::output));
}

void CTimePage::OnDestroy()
{
    CDialog::OnDestroy();
    // The run ends with the window, without a message; its log is dropped
    // with the window's text.
    driver_.stop();
    readSettings(0);
    g_core->saveConfigB(opt::isProgram.key, isProgram_);
    g_core->saveConfigStr(opt::fileProgram.key, fileProgram_);
    g_core->saveConfigInt(opt::min_delay.key, minDelay_);
    g_core->saveConfigInt(opt::max_delay.key, maxDelay_);
    g_core->saveConfigInt(opt::count_time.key, countTime_);
}

// --- the run's host ----------------------------------------------------------

void CTimePage::armTimer(int delayMs)
{
    SetTimer(kRunTimer, delayMs);
}

void CTimePage::cancelTimer()
{
    KillTimer(kRunTimer);
}

std::tm CTimePage::localNow()
{
    return sys::localNow();
}

void CTimePage::launch(const CString& program)
{
    shellOpen(program);
}

void CTimePage::showLog(const CString& text)
{
    // A long run at short intervals makes a large log: while the box still
    // holds the log as last shown, only the new lines go in, so an event costs
    // the same at the ten-thousandth line as at the first.
    if (logInBox_ && !GetDlgItemModify(id::output) && text.size() >= shownBytes_)
        AppendDlgItemText(id::output, text.substr(shownBytes_));
    else
        SetDlgItemText(id::output, text);
    logInBox_ = true;
    shownBytes_ = text.size();
}

void CTimePage::showMessage(TimeSettings::Box box, const CString& text)
{
    if (box == TimeSettings::Box::Warning)
        g_core->msgboxWarning(GetSafeHwnd(), text);
    else
        MessageBox(text);
}

void CTimePage::setGenerateEnabled(bool enabled)
{
    EnableDlgItem(id::generate, enabled);
}
