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
const QString kDone = QStringLiteral("生成成功！");

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

void click(CDialog& d, int control) { QTest::mouseClick(d.item<QAbstractButton>(control), Qt::LeftButton); }

void setRun(CDialog& d, const char* lo, const char* hi, const char* count)
{
    d.setItemText(id::minDelay, QString::fromUtf8(lo));
    d.setItemText(id::maxDelay, QString::fromUtf8(hi));
    d.setItemText(id::count, QString::fromUtf8(count));
}

// Runs the event loop until pred holds, without the pauses of QTest::qWaitFor,
// so that timers of 0 ms fire back to back.
template <class Pred>
bool spinUntil(Pred pred)
{
    QElapsedTimer t;
    t.start();
    while (!pred() && !t.hasExpired(10000))
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    return pred();
}

// The test clock's lines for its readings from..to.
QString lines(int from, int to)
{
    QString out;
    for (int s = from; s <= to; ++s)
        out += QStringLiteral("2024-03-05   07:08:%1\r\n").arg(9 + s, 2, 10, QLatin1Char('0'));
    return out;
}

class TimePage : public ::testing::Test {
protected:
    void SetUp() override { core->setPresenter(&DialogPresenter::instance()); }
    void open()
    {
        page = std::make_unique<TestPage>();
        page->Create(nullptr);
        page->show();
    }
    void set(int control, const QString& text) { page->setItemText(control, text); }
    QString box() { return page->itemText(id::output); }
    bool fire() { return page->firePendingTimer(1); }

    ScopedCore core = ScopedCore::scripted({});
    RecordingBoxes boxes;
    std::unique_ptr<TestPage> page;
};
} // namespace

// --- options and the check box ----------------------------------------------

TEST_F(TimePage, LoadsStoredOptionsAndLeavesTheProgramEditDisabledUntilClicked)
{
    core->saveConfigB("isProgram", 1);
    core->saveConfigStr("fileProgram", gbk::lit("备份 --all"));
    core->saveConfigInt("max_delay", 250);
    open();
    EXPECT_EQ(page->itemText(id::program), QStringLiteral("备份 --all"));
    EXPECT_EQ(page->itemText(id::maxDelay), QStringLiteral("250"));
    EXPECT_EQ(page->IsDlgButtonChecked(id::isProgram), 1);
    EXPECT_FALSE(page->IsDlgItemEnabled(id::program));
    click(*page, id::isProgram);
    EXPECT_EQ(page->IsDlgButtonChecked(id::isProgram), 0);
    EXPECT_FALSE(page->IsDlgItemEnabled(id::program));
    click(*page, id::isProgram);
    EXPECT_TRUE(page->IsDlgItemEnabled(id::program));
}

// --- Generate's checks ---------------------------------------------------------

TEST_F(TimePage, AFailingRuleShowsItsBoxAndChangesNothingElse)
{
    open();
    set(id::output, QStringLiteral("上次的结果"));
    const auto expectRefused = [&](BoxKind kind, const QString& text) {
        boxes.shown.clear();
        click(*page, id::generate);
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(boxes.shown[0].kind, kind);
        EXPECT_EQ(boxes.shown[0].text, text);
        EXPECT_EQ(boxes.shown[0].ownerAddress, page.get());
        EXPECT_TRUE(page->IsDlgItemEnabled(id::generate));
        EXPECT_EQ(box(), QStringLiteral("上次的结果"));
        EXPECT_FALSE(page->isTimerPending(1));
    };
    click(*page, id::isProgram); // ticked, empty program: only the first rule speaks
    setRun(*page, "9", "3", "0");
    expectRefused(BoxKind::Warning, QStringLiteral("外部程序命令行无效！"));
    set(id::program, QStringLiteral("run😀"));
    setRun(*page, "1", "2", "3");
    expectRefused(BoxKind::Warning, QStringLiteral("外部程序命令行含有 GBK 无法表示的字符（U+1F600），请修改后再生成。"));
    click(*page, id::isProgram);
    setRun(*page, "9", "3", "1");
    expectRefused(BoxKind::Plain, QStringLiteral("发生间隔设定无效！"));
    EXPECT_EQ(boxes.shown[0].caption, QString());
    setRun(*page, "", "", "");
    expectRefused(BoxKind::Plain, QStringLiteral("生成个数设定无效！"));
    EXPECT_EQ(page->min_delay, 0); // the members hold what was read
    EXPECT_TRUE(core.random().draws().empty());

    // The store keeps the last program text it can hold.
    set(id::program, QStringLiteral("ok"));
    page->readSettings(0);
    set(id::program, QStringLiteral("run😀"));
    page->DestroyWindow();
    EXPECT_EQ(core->getConfigStr("fileProgram"), "ok");
}

// --- the run -------------------------------------------------------------------

TEST_F(TimePage, ARunLogsEachEventLaunchesTheProgramAndEndsAfterItsMessage)
{
    core->saveConfigB("isProgram", 1);
    open();
    set(id::program, QStringLiteral("/opt/报表 --now")); // in the edit that stays disabled
    setRun(*page, "10", "30", "3");
    set(id::output, QStringLiteral("old"));
    core.script({10, 30, 20});
    click(*page, id::generate);
    EXPECT_FALSE(page->IsDlgItemEnabled(id::generate));
    EXPECT_EQ(box(), QString());
    EXPECT_EQ(page->timerInterval(1), 10);
    ASSERT_TRUE(fire());
    EXPECT_EQ(box(), lines(0, 0));
    EXPECT_EQ(page->timerInterval(1), 30);
    ASSERT_TRUE(fire());
    boxes.whileOpen = [&](const BoxRequest&) {
        EXPECT_FALSE(page->IsDlgItemEnabled(id::generate));
        EXPECT_FALSE(page->isTimerPending(1));
    };
    ASSERT_TRUE(fire());
    EXPECT_EQ(boxes.texts(), QStringList{kDone});
    EXPECT_EQ(boxes.shown[0].kind, BoxKind::Plain);
    EXPECT_TRUE(page->IsDlgItemEnabled(id::generate));
    EXPECT_FALSE(page->isTimerPending(1));
    EXPECT_EQ(box(), lines(0, 2));
    EXPECT_EQ(page->eventsDone, 3);
    EXPECT_EQ(page->launched, std::vector<CString>(3, gbk::lit("/opt/报表 --now")));
    EXPECT_EQ(core.random().draws().size(), 3u);
}

TEST_F(TimePage, EditsDuringARunDoNotReachItButAreStoredAtCloseAndShownBack)
{
    open();
    setRun(*page, "5", "5", "3");
    core.script({5, 5, 5});
    click(*page, id::generate);
    ASSERT_TRUE(fire());
    setRun(*page, "007", "", "1");
    click(*page, id::isProgram);
    set(id::program, QStringLiteral("/bin/never"));
    set(id::output, QStringLiteral("typed"));
    ASSERT_TRUE(fire());
    EXPECT_EQ(page->timerInterval(1), 5);
    EXPECT_EQ(box(), lines(0, 1)); // the typing is replaced by the whole log
    EXPECT_TRUE(page->launched.empty());

    page->OnTimer(7); // a foreign id gets only the default handling
    EXPECT_TRUE(page->isTimerPending(1));
    EXPECT_EQ(page->eventsDone, 2);

    page->DestroyWindow();
    EXPECT_FALSE(page->running());
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(core->getConfigB("isProgram"), 1);
    EXPECT_EQ(core->getConfigStr("fileProgram"), "/bin/never");
    EXPECT_EQ(core->getConfigInt("count_time"), 1);
    open(); // numbers come back as stored: no leading zeros, empty as 0
    EXPECT_EQ(page->itemText(id::minDelay), QStringLiteral("7"));
    EXPECT_EQ(page->itemText(id::maxDelay), QStringLiteral("0"));
}

TEST_F(TimePage, ALongRunKeepsTheBoxEqualToTheLogAndFollowsItsEnd)
{
    core->setRandom(std::make_unique<RandomGen>(RandomGen::seeded("long")));
    open();
    setRun(*page, "-5", "-1", "400"); // negative intervals fire at once
    click(*page, id::generate);
    EXPECT_EQ(page->timerInterval(1), 0);
    ASSERT_TRUE(spinUntil([&] { return page->eventsDone >= 200; }));
    set(id::output, QStringLiteral("typed"));
    ASSERT_TRUE(spinUntil([&] { return !boxes.shown.empty(); }));
    EXPECT_EQ(box(), gbk::decode(page->logText));
    EXPECT_EQ(page->logText.size(), 400u * 23);
    QScrollBar* bar = page->item<QPlainTextEdit>(id::output)->verticalScrollBar();
    EXPECT_GT(bar->maximum(), 0);
    EXPECT_EQ(bar->value(), bar->maximum());

    // Text typed after a run stays until a Generate that passes.
    set(id::output, QStringLiteral("note"));
    set(id::count, QStringLiteral("0"));
    click(*page, id::generate);
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
        page().CheckDlgButton(id::isProgram, 0);
    }
    void TearDown() override
    {
        dlg.reset();
        CGeneratorApp::ReleaseCoreObjects();
    }
    CTimePage& page() { return dlg->timePage(); }

    RecordingBoxes boxes;
    std::unique_ptr<CGeneratorDlg> dlg;
};

TEST_F(TimeTab, ARunGoesOnBehindAnotherTabAndClosingEndsOneQuietly)
{
    setRun(page(), "0", "0", "3");
    click(page(), id::generate);
    dlg->ShowTab(0);
    ASSERT_TRUE(spinUntil([&] { return !boxes.shown.empty(); }));
    EXPECT_EQ(boxes.texts(), QStringList{kDone});
    EXPECT_EQ(page().itemText(id::output).count(QStringLiteral("\r\n")), 3);

    boxes.shown.clear();
    setRun(page(), "60000", "60000", "2");
    click(page(), id::generate);
    page().setItemText(id::count, QStringLiteral("9"));
    dlg->DestroyWindow();
    EXPECT_FALSE(page().running());
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(g_core->getConfigInt("min_delay"), 60000);
    EXPECT_EQ(g_core->getConfigInt("count_time"), 9);
}

TEST_F(TimeTab, ExportSavesTheLogAndAPictureIsTakenAfterARun)
{
    page().setItemText(id::program, QStringLiteral("/usr/local/bin/备份.sh"));
    setRun(page(), "150", "350", "6");
    click(page(), id::generate);
    ASSERT_TRUE(spinUntil([&] { return !boxes.shown.empty(); }));
    const QString dir = QStringLiteral(KELVANE_BUILD_DIR "/screenshots");
    ASSERT_TRUE(QDir().mkpath(dir));
    EXPECT_TRUE(dlg->grab().save(dir + QStringLiteral("/time-after-run.png")));

    QTemporaryDir tmp;
    ScriptedSaveDialog save;
    save.answers.push_back(SaveTarget{tmp.filePath(QStringLiteral("t.txt")), TextEncoding::Gbk});
    click(page(), id::exportText);
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
    QFile f(script);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QStringLiteral("#!/bin/sh\necho ran >> '%1'\n").arg(marks).toUtf8());
    f.close();
    f.setPermissions(f.permissions() | QFileDevice::ExeOwner);
    click(page(), id::isProgram);
    page().setItemText(id::program, script);
    setRun(page(), "0", "0", "3");
    click(page(), id::generate);
    ASSERT_TRUE(spinUntil([&] { return !boxes.shown.empty(); }));
    const auto runs = [&] {
        QFile m(marks);
        return m.open(QIODevice::ReadOnly) ? m.readAll().count("ran\n") : 0;
    };
    ASSERT_TRUE(QTest::qWaitFor([&] { return runs() == 3; }, 10000));
    QTest::qWait(200); // and no more
    EXPECT_EQ(runs(), 3);
}
