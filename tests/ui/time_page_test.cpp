// The time page: options loaded and stored, the check box, Generate's checks,
// the run's events on timer 1, edits and closing during a run, and in the
// main window a run behind another tab with a real launch, export and a
// picture of the tab.
#include "core/gbk.h"
#include "core/qt/qgbk.h"
#include "platform/dialog/controls.h"
#include "platform/dialog/presenter.h"
#include "res/resource.h"
#include "support/recording_boxes.h"
#include "support/scoped_core.h"
#include "ui/generator_app.h"
#include "ui/generator_dlg.h"
#include "ui/time_page.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace id = idc::time;

namespace {
const QString kDone = QStringLiteral("生成成功！");

// Records launches instead of starting processes.
class TestPage : public CTimePage {
public:
    std::vector<CString> launched;
    using CTimePage::OnTimer;

protected:
    void launch(const CString& program) override { launched.push_back(program); }
};

void click(CDialog& d, int control) { QTest::mouseClick(d.item<QAbstractButton>(control), Qt::LeftButton); }

void setRun(CDialog& d, const QString& lo, const QString& hi, const QString& count)
{
    d.setItemText(id::minDelay, lo);
    d.setItemText(id::maxDelay, hi);
    d.setItemText(id::count, count);
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
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
    // The box shows exactly the log, of lines lines.
    void expectLog(int lines)
    {
        EXPECT_EQ(box(), gbk::decode(page->logText));
        EXPECT_EQ(box().count("\r\n"), lines);
    }
    bool fire() { return page->firePendingTimer(1); }

    ScopedCore core = ScopedCore::scripted({});
    RecordingBoxes boxes;
    std::unique_ptr<TestPage> page;
};
} // namespace

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
        EXPECT_TRUE(page->IsDlgItemEnabled(id::generate) && !page->isTimerPending(1));
        EXPECT_EQ(box(), QStringLiteral("上次的结果"));
    };
    click(*page, id::isProgram); // ticked, empty program: only the first rule speaks
    setRun(*page, "9", "3", "0");
    expectRefused(BoxKind::Warning, QStringLiteral("外部程序命令行无效！"));
    set(id::program, "ok");
    click(*page, id::isProgram);
    setRun(*page, "", "", "");
    expectRefused(BoxKind::Plain, QStringLiteral("生成个数设定无效！"));
    EXPECT_EQ(page->min_delay, 0); // the members hold what was read

    // A program text GBK cannot hold is refused and never stored; the last
    // text read is stored instead.
    click(*page, id::isProgram);
    set(id::program, QStringLiteral("run😀"));
    setRun(*page, "1", "2", "3");
    expectRefused(BoxKind::Warning, QStringLiteral("外部程序命令行含有 GBK 无法表示的字符（U+1F600），请修改后再生成。"));
    page->DestroyWindow();
    EXPECT_EQ(core->getConfigStr("fileProgram"), "ok");
}

TEST_F(TimePage, AnUnstorableProgramTypedBeforeClosingKeepsTheStoredOne)
{
    core->saveConfigStr("fileProgram", "prog");
    open();
    set(id::program, QStringLiteral("run😀"));
    page->DestroyWindow();
    EXPECT_EQ(core->getConfigStr("fileProgram"), "prog");
}

TEST_F(TimePage, ARunLogsEachEventLaunchesTheProgramAndEndsAfterItsMessage)
{
    core->saveConfigB("isProgram", 1);
    open();
    set(id::program, QStringLiteral("/opt/报表 --now")); // in the edit that stays disabled
    setRun(*page, "10", "30", "3");
    set(id::output, "old");
    core.script({10, 30, 20});
    boxes.whileOpen = [&](const BoxRequest&) { EXPECT_FALSE(page->IsDlgItemEnabled(id::generate) || page->isTimerPending(1)); };
    click(*page, id::generate);
    EXPECT_FALSE(page->IsDlgItemEnabled(id::generate));
    EXPECT_EQ(box(), "");
    EXPECT_EQ(page->timerInterval(1), 10);
    ASSERT_TRUE(fire());
    expectLog(1);
    EXPECT_EQ(page->timerInterval(1), 30);
    ASSERT_TRUE(fire() && fire());
    EXPECT_EQ(boxes.texts(), QStringList{kDone});
    EXPECT_EQ(boxes.shown[0].kind, BoxKind::Plain);
    EXPECT_TRUE(page->IsDlgItemEnabled(id::generate));
    expectLog(3);
    EXPECT_EQ(page->launched, std::vector<CString>(3, gbk::lit("/opt/报表 --now")));
}

TEST_F(TimePage, EditsDuringARunDoNotReachItButAreStoredAtCloseAndLoadedBack)
{
    open();
    setRun(*page, "5", "5", "3");
    core.script({5, 5, 5});
    click(*page, id::generate);
    ASSERT_TRUE(fire());
    setRun(*page, "007", "", "1");
    click(*page, id::isProgram);
    set(id::program, QStringLiteral("/opt/备份 --all"));
    set(id::output, "typed");
    ASSERT_TRUE(fire());
    EXPECT_EQ(page->timerInterval(1), 5);
    expectLog(2); // the typing is replaced by the whole log
    EXPECT_TRUE(page->launched.empty());

    page->OnTimer(7); // a foreign id gets only the default handling
    EXPECT_TRUE(page->isTimerPending(1));
    EXPECT_EQ(page->eventsDone, 2);

    page->DestroyWindow(); // during the run: no message, the controls are stored
    EXPECT_FALSE(page->running());
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(core->getConfigB("isProgram"), 1);
    EXPECT_EQ(core->getConfigStr("fileProgram"), gbk::lit("/opt/备份 --all"));
    EXPECT_EQ(core->getConfigInt("count_time"), 1);

    // Loaded back: numbers without leading zeros, empty as 0; the box ticked
    // with the edit disabled until the box is clicked.
    open();
    EXPECT_EQ(page->itemText(id::minDelay), "7");
    EXPECT_EQ(page->itemText(id::maxDelay), "0");
    EXPECT_EQ(page->itemText(id::program), QStringLiteral("/opt/备份 --all"));
    EXPECT_EQ(page->IsDlgButtonChecked(id::isProgram), 1);
    EXPECT_FALSE(page->IsDlgItemEnabled(id::program));
    click(*page, id::isProgram);
    EXPECT_EQ(page->IsDlgButtonChecked(id::isProgram), 0);
    EXPECT_FALSE(page->IsDlgItemEnabled(id::program));
    click(*page, id::isProgram);
    EXPECT_TRUE(page->IsDlgItemEnabled(id::program));
}

// In the main window: a run of three events launches a temporary script at
// each while another tab is shown; then the tab's picture and its Export.
TEST(TimeTab, ARunGoesOnBehindAnotherTabLaunchingTheProgramAndIsExported)
{
    CGeneratorApp::ConfigureApplication();
    RecordingBoxes boxes;
    ScriptedSaveDialog save;
    QTemporaryDir tmp;
    const QString marks = tmp.filePath("marks");
    QFile script(tmp.filePath("event.sh"));
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write(QStringLiteral("#!/bin/sh\necho ran >> '%1'\n").arg(marks).toUtf8());
    script.close();
    script.setPermissions(script.permissions() | QFileDevice::ExeOwner);
    const auto runs = [&] { return readAll(marks).count("ran\n"); };
    {
        CGeneratorDlg dlg;
        dlg.Create(nullptr);
        dlg.show();
        const auto showTab = [&](int i) {
            dlg.tabCtrl()->SetCurSel(i);
            dlg.ShowTab(i);
        };
        showTab(2);
        CTimePage& page = dlg.timePage();
        page.CheckDlgButton(id::isProgram, 1);
        page.setItemText(id::program, script.fileName());
        setRun(page, "0", "0", "3");
        click(page, id::generate);
        showTab(0);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !boxes.shown.empty(); }, 10000));
        EXPECT_EQ(boxes.texts(), QStringList{kDone});
        ASSERT_TRUE(QTest::qWaitFor([&] { return runs() == 3; }, 10000));
        QTest::qWait(200); // and no more
        EXPECT_EQ(runs(), 3);

        showTab(2);
        ASSERT_TRUE(QDir().mkpath(KELVANE_BUILD_DIR "/screenshots"));
        EXPECT_TRUE(dlg.grab().save(KELVANE_BUILD_DIR "/screenshots/time-after-run.png"));
        save.answers.push_back(SaveTarget{tmp.filePath("t.txt"), TextEncoding::Gbk});
        click(page, id::exportText);
        EXPECT_EQ(readAll(tmp.filePath("t.txt")), QByteArray::fromStdString(page.logText));
    }
    CGeneratorApp::ReleaseCoreObjects();
}
