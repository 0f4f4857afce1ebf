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
#include "ui/page_controls.h"

#include <ctime>
#include <string_view>

namespace {
namespace id = idc::time;
constexpr UINT kRunTimer = 1;

constexpr OptionControls<TimeSettings> kOptions(kTimeOptions, kTimeControls);
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
    // the check box shows, until the check box is clicked. The program text
    // is kept as the last good one, so a text GBK cannot hold typed before
    // closing never replaces the stored program with nothing.
    settings_ = kOptions.load(*this);
    return TRUE;
}

bool CTimePage::readSettings(bool validate)
{
    // The program text is read whether its edit is enabled or not: it is
    // what will be opened.
    const bool programUnreadable = kOptions.read(*this, settings_) != nullptr;
    // A program text GBK cannot hold cannot be opened as typed, nor stored.
    // It is refused only when it would be opened.
    if (validate && settings_.isProgram != 0 && programUnreadable) {
        const std::string bad = gbk::firstUnencodable(GetDlgItemTextUtf8(id::program));
        g_core->msgboxWarning(GetSafeHwnd(), fill(text(Text::ProgramNotGbk), {gbk::codePointName(bad)}));
        return false;
    }
    return true;
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
    if (readSettings(true))
        driver_.generate(settings_, g_core->random());
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
    readSettings(false);
    kOptions.store(settings_);
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

void CTimePage::showMessage(BoxKind box, const CString& text)
{
    if (box == BoxKind::Warning)
        g_core->msgboxWarning(GetSafeHwnd(), text);
    else
        MessageBox(text);
}

void CTimePage::setGenerateEnabled(bool enabled)
{
    EnableDlgItem(id::generate, enabled);
}
