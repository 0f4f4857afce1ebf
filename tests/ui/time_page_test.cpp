// The time page: options loaded and stored, the check box, Generate's checks,
// the run's events on timer 1, closing during a run, export, a real launch
// and a picture of the tab after a run.
#include "core/gbk.h"
#include "platform/dialog/controls.h"
#include "platform/dialog/presenter.h"
#include "res/resource.h"
#include "support/recording_boxes.h"
#include "support/scoped_core.h"
#include "ui/generator_app.h"
#include "ui/generator_dlg.h"
#include "ui/time_page.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace id = idc::time;

namespace {
// Records launches instead of starting processes; its clock starts at
// 2024-03-05 07:08:09 and moves on one second per reading.
class TestPage : public CTimePage {
public:
    std::vector<CString> launched;
    std::time_t clock = 1709622489;
    using CTimePage::OnTimer;

protected:
    void launch(const CString& program) override { launched.push_back(program); }
    std::tm localNow() override
    {
        std::tm t{};
        const std::time_t now = clock++;
        return *gmtime_r(&now, &t);
    }
};

const QString kDone = QStringLiteral("生成成功！");

class TimePage : public ::testing::Test {
protected:
    void SetUp() override { core->setPresenter(&DialogPresenter::instance()); }
    void open()
    {
        page = std::make_unique<TestPage>();
        page->Create(nullptr);
        page->show();
    }
    void close() { page->DestroyWindow(); }
    void set(int control, const QString& text) { page->setItemText(control, text); }
    void click(int control) { QTest::mouseClick(page->item<QAbstractButton>(control), Qt::LeftButton); }
    // Settings that pass, with the launch off.
    void setRun(const char* lo, const char* hi, const char* count)
    {
        set(id::minDelay, QString::fromUtf8(lo));
        set(id::maxDelay, QString::fromUtf8(hi));
        set(id::count, QString::fromUtf8(count));
    }
    QString box() { return page->itemText(id::output); }
    bool fire() { return page->firePendingTimer(1); }

    ScopedCore core = ScopedCore::scripted({});
    RecordingBoxes boxes;
    std::unique_ptr<TestPage> page;
};

// Runs the event loop until pred holds, without the pauses of QTest::qWaitFor,
// so that timers of 0 ms fire back to back.
template <class Pred>
bool spinUntil(Pred pred, int ms = 10000)
{
    QElapsedTimer t;
    t.start();
    while (!pred()) {
        if (t.hasExpired(ms))
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
    return true;
}

QString lines(int from, int to) // the test clock's lines for readings from..to
{
    QString out;
    for (int s = from; s <= to; ++s)
        out += QStringLiteral("2024-03-05   07:08:%1\r\n").arg(9 + s, 2, 10, QLatin1Char('0'));
    return out;
}
} // namespace

// --- options and the check box ----------------------------------------------

TEST_F(TimePage, LoadsStoredOptionsAndLeavesTheProgramEditDisabledUntilClicked)
{
    core->saveConfigB("isProgram", 1);
    core->saveConfigStr("fileProgram", gbk::lit("备份 --all"));
    core->saveConfigInt("min_delay", 0);
    core->saveConfigInt("max_delay", 250);
    core->saveConfigInt("count_time", 12);
    open();
    EXPECT_EQ(page->IsDlgButtonChecked(id::isProgram), 1);
    EXPECT_FALSE(page->IsDlgItemEnabled(id::program));
    EXPECT_EQ(page->itemText(id::program), QStringLiteral("备份 --all"));
    EXPECT_EQ(page->itemText(id::minDelay), QStringLiteral("0"));
    EXPECT_EQ(page->itemText(id::maxDelay), QStringLiteral("250"));
    EXPECT_EQ(page->itemText(id::count), QStringLiteral("12"));

    click(id::isProgram);
    EXPECT_EQ(page->IsDlgButtonChecked(id::isProgram), 0);
    EXPECT_FALSE(page->IsDlgItemEnabled(id::program));
    click(id::isProgram);
    EXPECT_EQ(page->IsDlgButtonChecked(id::isProgram), 1);
    EXPECT_TRUE(page->IsDlgItemEnabled(id::program));
}

TEST_F(TimePage, StoresTheControlsAsNumbersAndShowsThemBack)
{
    open();
    set(id::program, QStringLiteral(" a b "));
    setRun("007", "", "5x");
    close();
    EXPECT_EQ(core->getConfigB("isProgram"), 0);
    EXPECT_EQ(core->getConfigStr("fileProgram"), " a b "); // not trimmed
    EXPECT_EQ(core->getConfigInt("min_delay"), 7);
    EXPECT_EQ(core->getConfigInt("max_delay"), 0);
    EXPECT_EQ(core->getConfigInt("count_time"), 5);
    EXPECT_TRUE(boxes.shown.empty());
    open();
    EXPECT_EQ(page->itemText(id::minDelay), QStringLiteral("7"));
    EXPECT_EQ(page->itemText(id::maxDelay), QStringLiteral("0"));
}

// --- Generate's checks ---------------------------------------------------------

TEST_F(TimePage, AFailingRuleShowsItsBoxAndChangesNothingElse)
{
    open();
    set(id::output, QStringLiteral("上次的结果"));
    const auto expectRefused = [&](BoxKind kind, const QString& text) {
        boxes.shown.clear();
        click(id::generate);
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(boxes.shown[0].kind, kind);
        EXPECT_EQ(boxes.shown[0].text, text);
        EXPECT_EQ(boxes.shown[0].ownerAddress, page.get());
        if (kind == BoxKind::Plain) {
            EXPECT_EQ(boxes.shown[0].caption, QString());
        }
        EXPECT_TRUE(page->IsDlgItemEnabled(id::generate));
        EXPECT_EQ(box(), QStringLiteral("上次的结果"));
        EXPECT_FALSE(page->isTimerPending(1));
    };
    // Ticked with an empty program: only the first rule speaks.
    click(id::isProgram);
    setRun("9", "3", "0");
    expectRefused(BoxKind::Warning, QStringLiteral("外部程序命令行无效！"));
    // A program text GBK cannot hold is refused when it would be opened...
    set(id::program, QStringLiteral("run😀"));
    setRun("1", "2", "3");
    expectRefused(BoxKind::Warning, QStringLiteral("外部程序命令行含有 GBK 无法表示的字符（U+1F600），请修改后再生成。"));
    click(id::isProgram);
    setRun("9", "3", "1");
    expectRefused(BoxKind::Plain, QStringLiteral("发生间隔设定无效！"));
    setRun("", "", "");
    expectRefused(BoxKind::Plain, QStringLiteral("生成个数设定无效！"));
    // The members hold what was read; nothing was drawn.
    EXPECT_EQ(page->min_delay, 0);
    EXPECT_EQ(page->count_time, 0);
    EXPECT_TRUE(core.random().draws().empty());

    // ...and kept out of the store, which holds the last text it could.
    set(id::program, QStringLiteral("ok"));
    page->readSettings(0);
    set(id::program, QStringLiteral("run😀"));
    close();
    EXPECT_EQ(core->getConfigStr("fileProgram"), "ok");
}

// --- the run -------------------------------------------------------------------

TEST_F(TimePage, ARunLogsEachEventLaunchesTheProgramAndEndsAfterItsMessage)
{
    core->saveConfigB("isProgram", 1);
    open();
    // Ticked at start, edit still disabled: its text is opened all the same.
    set(id::program, QStringLiteral("/opt/报表 --now"));
    setRun("10", "30", "3");
    set(id::output, QStringLiteral("old"));
    core.script({10, 30, 20});
    click(id::generate);
    EXPECT_FALSE(page->IsDlgItemEnabled(id::generate));
    EXPECT_EQ(box(), QString());
    EXPECT_EQ(page->timerInterval(1), 10);

    ASSERT_TRUE(fire());
    EXPECT_EQ(box(), lines(0, 0));
    EXPECT_EQ(page->timerInterval(1), 30);
    ASSERT_TRUE(fire());
    EXPECT_EQ(page->timerInterval(1), 20);
    boxes.whileOpen = [&](const BoxRequest& b) {
        EXPECT_EQ(b.text, kDone);
        EXPECT_FALSE(page->IsDlgItemEnabled(id::generate));
        EXPECT_FALSE(page->isTimerPending(1));
    };
    ASSERT_TRUE(fire());
    ASSERT_EQ(boxes.texts(), QStringList{kDone});
    EXPECT_EQ(boxes.shown[0].kind, BoxKind::Plain);
    EXPECT_TRUE(page->IsDlgItemEnabled(id::generate));
    EXPECT_FALSE(page->isTimerPending(1));
    EXPECT_FALSE(page->running());
    EXPECT_EQ(box(), lines(0, 2));
    EXPECT_EQ(gbk::decode(page->logText), lines(0, 2));
    EXPECT_EQ(page->eventsDone, 3);
    EXPECT_EQ(page->launched, std::vector<CString>(3, gbk::lit("/opt/报表 --now")));
    EXPECT_EQ(core.random().draws().size(), 3u);
    EXPECT_EQ(core.random().draws()[2].lo, 10);
    EXPECT_EQ(core.random().draws()[2].hi, 30);
}

TEST_F(TimePage, EditsDuringARunDoNotReachItButAreStoredAtClose)
{
    open();
    setRun("5", "5", "3");
    core.script({5, 5, 5});
    click(id::generate);
    ASSERT_TRUE(fire());
    setRun("100", "200", "1");
    click(id::isProgram); // ticked and enabled
    set(id::program, QStringLiteral("/bin/never"));
    set(id::output, QStringLiteral("typed"));
    ASSERT_TRUE(fire());
    EXPECT_EQ(page->timerInterval(1), 5);
    EXPECT_EQ(box(), lines(0, 1)); // the typing is replaced by the whole log
    EXPECT_TRUE(page->launched.empty());

    // A foreign timer id gets only the default handling.
    page->OnTimer(7);
    EXPECT_TRUE(page->isTimerPending(1));
    EXPECT_EQ(page->eventsDone, 2);

    // Closing ends the run quietly and stores what the controls show.
    close();
    EXPECT_FALSE(page->running());
    EXPECT_FALSE(page->isTimerPending(1));
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(core->getConfigB("isProgram"), 1);
    EXPECT_EQ(core->getConfigStr("fileProgram"), "/bin/never");
    EXPECT_EQ(core->getConfigInt("min_delay"), 100);
    EXPECT_EQ(core->getConfigInt("max_delay"), 200);
    EXPECT_EQ(core->getConfigInt("count_time"), 1);
}

TEST_F(TimePage, ALongRunKeepsTheBoxEqualToTheLogAndFollowsItsEnd)
{
    core->setRandom(std::make_unique<RandomGen>(RandomGen::seeded("long")));
    // One event per pass of the event loop: interval 0 (a negative bound
    // counts as 0), driven by the real timer.
    open();
    setRun("-5", "-1", "400");
    click(id::generate);
    EXPECT_EQ(page->timerInterval(1), 0);
    QScrollBar* bar = page->item<QPlainTextEdit>(id::output)->verticalScrollBar();
    ASSERT_TRUE(spinUntil([&] { return page->eventsDone >= 200; }, 10000));
    set(id::output, QStringLiteral("typed")); // the next event sets the whole log again
    ASSERT_TRUE(spinUntil([&] { return !boxes.shown.empty(); }, 10000));
    EXPECT_EQ(box(), gbk::decode(page->logText));
    EXPECT_EQ(page->logText.size(), 400u * 23);
    EXPECT_EQ(bar->value(), bar->maximum());
    EXPECT_GT(bar->maximum(), 0);

    // Text typed after a run stays until a Generate that passes.
    set(id::output, QStringLiteral("note"));
    set(id::count, QStringLiteral("0"));
    click(id::generate);
    EXPECT_EQ(box(), QStringLiteral("note"));
}

// --- in the main window ----------------------------------------------------------

class TimeTab : public ::testing::Test {
protected:
    static void SetUpTestSuite() { CGeneratorApp::ConfigureApplication(); }
    void SetUp() override
    {
        dlg = std::make_unique<CGeneratorDlg>();
        dlg->Create(nullptr);
        dlg->show();
        dlg->tabCtrl()->SetCurSel(2);
        dlg->ShowTab(2);
    }
    void TearDown() override
    {
        dlg.reset();
        CGeneratorApp::ReleaseCoreObjects();
    }
    CTimePage& page() { return dlg->timePage(); }
    void start(const char* lo, const char* hi, const char* count)
    {
        page().setItemText(id::minDelay, QString::fromUtf8(lo));
        page().setItemText(id::maxDelay, QString::fromUtf8(hi));
        page().setItemText(id::count, QString::fromUtf8(count));
        QTest::mouseClick(page().item<QPushButton>(id::generate), Qt::LeftButton);
    }

    RecordingBoxes boxes;
    std::unique_ptr<CGeneratorDlg> dlg;
};

TEST_F(TimeTab, ARunGoesOnWhileAnotherTabIsShown)
{
    start("0", "0", "3");
    dlg->ShowTab(0);
    EXPECT_FALSE(page().isVisible());
    ASSERT_TRUE(spinUntil([&] { return !boxes.shown.empty(); }, 10000));
    EXPECT_EQ(boxes.texts(), QStringList{kDone});
    EXPECT_EQ(page().itemText(id::output).count(QStringLiteral("\r\n")), 3);
    EXPECT_TRUE(page().IsDlgItemEnabled(id::generate));
}

TEST_F(TimeTab, ClosingDuringARunIsQuietAndStoresTheControls)
{
    start("60000", "60000", "2");
    page().setItemText(id::count, QStringLiteral("9"));
    page().setItemText(id::program, QStringLiteral("/tmp/x"));
    ASSERT_TRUE(page().running());
    dlg->DestroyWindow();
    EXPECT_FALSE(page().running());
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(g_core->getConfigInt("min_delay"), 60000);
    EXPECT_EQ(g_core->getConfigInt("count_time"), 9);
    EXPECT_EQ(g_core->getConfigStr("fileProgram"), "/tmp/x");
}

TEST_F(TimeTab, ExportSavesTheLogAndAPictureIsTakenAfterARun)
{
    page().setItemText(id::program, QStringLiteral("/usr/local/bin/备份.sh"));
    page().CheckDlgButton(id::isProgram, 0);
    start("150", "350", "6");
    ASSERT_TRUE(spinUntil([&] { return !boxes.shown.empty(); }, 10000));
    const QString dir = QStringLiteral(KELVANE_BUILD_DIR "/screenshots");
    ASSERT_TRUE(QDir().mkpath(dir));
    EXPECT_TRUE(dlg->grab().save(dir + QStringLiteral("/time-after-run.png")));

    QTemporaryDir tmp;
    ScriptedSaveDialog save;
    save.answers.push_back(SaveTarget{tmp.filePath(QStringLiteral("t.txt")), TextEncoding::Gbk});
    QTest::mouseClick(page().item<QPushButton>(id::exportText), Qt::LeftButton);
    EXPECT_EQ(save.lastSuggestedName, QStringLiteral("随机时间.txt"));
    QFile f(tmp.filePath(QStringLiteral("t.txt")));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray::fromStdString(page().logText));
}

TEST_F(TimeTab, EachEventOfARunLaunchesTheProgramForReal)
{
    QTemporaryDir tmp;
    const QString script = tmp.filePath(QStringLiteral("event.sh"));
    const QString marks = tmp.filePath(QStringLiteral("marks"));
    {
        QFile f(script);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QStringLiteral("#!/bin/sh\necho ran >> '%1'\n").arg(marks).toUtf8());
        f.setPermissions(f.permissions() | QFileDevice::ExeOwner);
    }
    if (!page().IsDlgButtonChecked(id::isProgram))
        QTest::mouseClick(page().item<QAbstractButton>(id::isProgram), Qt::LeftButton);
    page().setItemText(id::program, script);
    start("0", "0", "3");
    ASSERT_TRUE(spinUntil([&] { return !boxes.shown.empty(); }, 10000));
    const auto count = [&] {
        QFile f(marks);
        return f.open(QIODevice::ReadOnly) ? f.readAll().count("ran\n") : 0;
    };
    ASSERT_TRUE(QTest::qWaitFor([&] { return count() == 3; }, 10000));
    QTest::qWait(200); // and no more
    EXPECT_EQ(count(), 3);
}
