#include "ui/time_page.h"

#include "core/ccore.h"
#include "core/gbk.h"
#include "core/qt/qgbk.h"
#include "res/resource.h"
#include "res/templates.h"
#include "ui/export_text.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextDocument>

#include <ctime>
#include <string_view>

namespace {
constexpr UINT kRunTimer = 1;

// The character is named by its code point: the message itself is GBK.
CString unencodableProgramMessage(const QString& program)
{
    const QList<uint> bad = QString::fromStdString(gbk::firstUnencodable(program.toStdString())).toUcs4();
    const QString code = QStringLiteral("U+%1").arg(bad.value(0), 4, 16, QLatin1Char('0')).toUpper();
    return gbk::encode(QStringLiteral("外部程序命令行含有 GBK 无法表示的字符（%1），请修改后再生成。").arg(code))
        .value_or(gbk::lit("外部程序命令行无效！"));
}
} // namespace

CTimePage::CTimePage(QWidget* parent)
    : CDialog(kTimePageTemplate, parent), driver_(*this), logText(driver_.run().logText),
      eventsDone(driver_.run().eventsDone)
{
}

std::span<const MessageEntry> CTimePage::GetMessageMap() const
{
    static const MessageEntry map[] = {
        {idc::time::isProgram, Notify::Clicked, &CTimePage::OnToggleProgram},
        {idc::time::generate, Notify::Clicked, &CTimePage::OnGenerate},
        {idc::time::exportText, Notify::Clicked, &CTimePage::OnExport},
    };
    return map;
}

BOOL CTimePage::OnInitDialog()
{
    CDialog::OnInitDialog();
    // The program edit keeps the disabled state it is created with, whatever
    // the check box shows, until the check box is clicked.
    CheckDlgButton(idc::time::isProgram, g_core->getConfigB("isProgram"));
    // Kept as the last good text, so a text GBK cannot hold typed before
    // closing never replaces the stored program with nothing.
    fileProgram = g_core->getConfigStr("fileProgram");
    SetDlgItemText(idc::time::program, fileProgram);
    SetDlgItemText(idc::time::minDelay, g_core->getConfigStr("min_delay"));
    SetDlgItemText(idc::time::maxDelay, g_core->getConfigStr("max_delay"));
    SetDlgItemText(idc::time::count, g_core->getConfigStr("count_time"));

    // Any change to the output box that is not the log's own makes the next
    // event set the whole log again.
    if (auto* box = item<QPlainTextEdit>(idc::time::output)) {
        connect(box->document(), &QTextDocument::contentsChanged, this, [this] {
            if (!writingLog_)
                logInBox_ = false;
        });
    }
    return TRUE;
}

int CTimePage::readIntField(int id) const
{
    return GetDlgItemAtoi(id);
}

int CTimePage::readSettings(int validate)
{
    isProgram = IsDlgButtonChecked(idc::time::isProgram);
    // Read whether the edit is enabled or not: it is what will be opened.
    const std::optional<CString> program = GetDlgItemText(idc::time::program);
    if (program)
        fileProgram = *program;
    min_delay = readIntField(idc::time::minDelay);
    max_delay = readIntField(idc::time::maxDelay);
    count_time = readIntField(idc::time::count);
    if (!validate)
        return 1;

    // A program text GBK cannot hold cannot be opened as typed, nor stored.
    // It is refused only when it would be opened.
    if (isProgram != 0 && !program) {
        g_core->msgboxWarning(reinterpret_cast<HWND>(static_cast<QWidget*>(this)), unencodableProgramMessage(itemText(idc::time::program)));
        return 0;
    }
    if (const auto failure = settings().validate()) {
        showMessage(failure->box, failure->message);
        return 0;
    }
    return 1;
}

TimeSettings CTimePage::settings() const
{
    return TimeSettings{isProgram, fileProgram, min_delay, max_delay, count_time};
}

void CTimePage::OnToggleProgram()
{
    EnableDlgItem(idc::time::program, IsDlgButtonChecked(idc::time::isProgram) != 0);
}

void CTimePage::OnGenerate()
{
    if (!readSettings(1))
        return;
    // Disables Generate, empties the output box, starts the run and arms
    // timer 1 with the first interval.
    driver_.begin(settings());
}

void CTimePage::OnTimer(UINT nIDEvent)
{
    if (nIDEvent == kRunTimer)
        driver_.onTimer(); // kills timer 1 before anything else
    CDialog::OnTimer(nIDEvent);
}

void CTimePage::OnExport()
{
    exportText(*this, QStringLiteral("随机时间.txt"), itemText(idc::time::output));
}

void CTimePage::OnDestroy()
{
    CDialog::OnDestroy();
    // The run ends with the window, without a message; its log is dropped
    // with the window's text.
    driver_.stop();
    readSettings(0);
    g_core->saveConfigB("isProgram", isProgram);
    g_core->saveConfigStr("fileProgram", fileProgram);
    g_core->saveConfigInt("min_delay", min_delay);
    g_core->saveConfigInt("max_delay", max_delay);
    g_core->saveConfigInt("count_time", count_time);
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
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local;
}

void CTimePage::launch(const CString& program)
{
    launcher_.open(gbk::decode(program));
}

void CTimePage::showLog(const CString& text)
{
    auto* box = item<QPlainTextEdit>(idc::time::output);
    if (!box)
        return;
    // A long run at short intervals makes a large log: while the box still
    // holds the log as last shown, only the new lines go in, so an event costs
    // the same at the ten-thousandth line as at the first.
    QScrollBar* bar = box->verticalScrollBar();
    const bool followEnd = bar->value() == bar->maximum();
    writingLog_ = true;
    if (logInBox_ && text.size() >= shownBytes_) {
        QTextDocument* doc = box->document();
        // Setting a text drops the box's undo history; so does appending.
        const bool undo = doc->isUndoRedoEnabled();
        doc->setUndoRedoEnabled(false);
        QTextCursor end(doc);
        end.movePosition(QTextCursor::End);
        end.insertText(gbk::decode(std::string_view(text).substr(shownBytes_)));
        doc->setUndoRedoEnabled(undo);
    } else {
        SetDlgItemText(idc::time::output, text);
    }
    writingLog_ = false;
    logInBox_ = true;
    shownBytes_ = text.size();
    // A view left at the end follows the newest line.
    if (followEnd)
        bar->setValue(bar->maximum());
}

void CTimePage::showMessage(TimeSettings::Box box, const CString& text)
{
    if (box == TimeSettings::Box::Warning)
        g_core->msgboxWarning(reinterpret_cast<HWND>(static_cast<QWidget*>(this)), text);
    else
        MessageBox(text);
}

void CTimePage::setGenerateEnabled(bool enabled)
{
    EnableDlgItem(idc::time::generate, enabled);
}
