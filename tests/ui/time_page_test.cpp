// The time page: options loaded and stored, the check box, Generate's checks,
// the run's events on timer 1, edits and closing during a run, and a run
// behind another tab of the main window.
#include "core/gbk.h"
#include "core/options.h"
#include "platform/dialog_driver.h"
#include "platform/presenter.h"
#include "res/resource.h"
#include "support/recording_boxes.h"
#include "support/scoped_core.h"
#include "ui/generator_app.h"
#include "ui/generator_dlg.h"
#include "ui/time_page.h"

#include <gtest/gtest.h>

#include <memory>

namespace id = idc::time;

namespace {
const std::string kDone = "生成成功！";

// Records launches instead of starting processes.
class TestPage : public CTimePage {
public:
    std::vector<CString> launched;
    using CTimePage::OnTimer;

protected:
    void launch(const CString& program) override { launched.push_back(program); }
};

void setRun(CDialog& d, const std::string& lo, const std::string& hi, const std::string& count)
{
    drive::type(d, id::minDelay, lo);
    drive::type(d, id::maxDelay, hi);
    drive::type(d, id::count, count);
}

class TimePage : public ::testing::Test {
protected:
    void SetUp() override { core->setPresenter(&DialogPresenter::instance()); }
    void open()
    {
        page = std::make_unique<TestPage>();
        page->Create();
    }
    void set(int control, const std::string& text) { drive::type(*page, control, text); }
    std::string box() { return drive::text(*page, id::output); }
    // The box shows exactly the log, of lines lines.
    void expectLog(int lines)
    {
        EXPECT_EQ(box(), gbk::toUtf8(page->run().logText));
        EXPECT_EQ(std::count(page->run().logText.begin(), page->run().logText.end(), '\n'), lines);
    }
    bool fire() { return drive::fireTimer(*page, 1); }

    ScopedCore core = ScopedCore::scripted({});
    RecordingBoxes boxes;
    std::unique_ptr<TestPage> page;
};
} // namespace

TEST_F(TimePage, AFailingRuleShowsItsBoxAndChangesNothingElse)
{
    open();
    set(id::output, "上次的结果");
    const auto expectRefused = [&](BoxKind kind, const std::string& text) {
        boxes.shown.clear();
        drive::click(*page, id::generate);
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(boxes.shown[0].kind, kind);
        EXPECT_EQ(boxes.shown[0].text, text);
        EXPECT_EQ(boxes.shown[0].owner, page->GetSafeHwnd());
        EXPECT_TRUE(page->IsDlgItemEnabled(id::generate) && !drive::timerPending(*page, 1));
        EXPECT_EQ(box(), "上次的结果");
    };
    drive::click(*page, id::isProgram); // ticked, empty program: only the first rule speaks
    setRun(*page, "9", "3", "0");
    expectRefused(BoxKind::Warning, "外部程序命令行无效！");
    set(id::program, "ok");
    drive::click(*page, id::isProgram);
    setRun(*page, "", "", "");
    expectRefused(BoxKind::Plain, "生成个数设定无效！");
    EXPECT_EQ(page->settings().min_delay, 0); // what was read is kept

    // A program text GBK cannot hold is refused and never stored; the last
    // text read is stored instead.
    drive::click(*page, id::isProgram);
    set(id::program, "run😀");
    setRun(*page, "1", "2", "3");
    expectRefused(BoxKind::Warning, "外部程序命令行含有 GBK 无法表示的字符（U+1F600），请修改后再生成。");
    page->DestroyWindow();
    EXPECT_EQ(core->getConfigStr(opt::fileProgram), "ok");
}

TEST_F(TimePage, ARunLogsEachEventLaunchesTheProgramAndEndsAfterItsMessage)
{
    core->saveConfigB(opt::isProgram, 1);
    open();
    set(id::program, "/opt/报表 --now"); // in the edit that stays disabled
    setRun(*page, "10", "30", "3");
    set(id::output, "old");
    core.script({10, 30, 20});
    boxes.whileOpen = [&](const BoxRequest&) {
        EXPECT_FALSE(page->IsDlgItemEnabled(id::generate) || drive::timerPending(*page, 1));
    };
    drive::click(*page, id::generate);
    EXPECT_FALSE(page->IsDlgItemEnabled(id::generate));
    EXPECT_EQ(box(), "");
    EXPECT_EQ(drive::timerInterval(*page, 1), 10);
    ASSERT_TRUE(fire());
    expectLog(1);
    EXPECT_EQ(drive::timerInterval(*page, 1), 30);
    ASSERT_TRUE(fire() && fire());
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{kDone});
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
    drive::click(*page, id::generate);
    ASSERT_TRUE(fire());
    setRun(*page, "007", "", "1");
    drive::click(*page, id::isProgram);
    set(id::program, "/opt/备份 --all");
    set(id::output, "typed");
    ASSERT_TRUE(fire());
    EXPECT_EQ(drive::timerInterval(*page, 1), 5);
    expectLog(2); // the typing is replaced by the whole log
    EXPECT_TRUE(page->launched.empty());

    page->OnTimer(7); // a foreign id gets only the default handling
    EXPECT_TRUE(drive::timerPending(*page, 1));
    EXPECT_EQ(page->run().eventsDone, 2);

    page->DestroyWindow(); // during the run: no message, the controls are stored
    EXPECT_FALSE(page->run().running());
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(core->getConfigB(opt::isProgram), 1);
    EXPECT_EQ(core->getConfigStr(opt::fileProgram), gbk::lit("/opt/备份 --all"));
    EXPECT_EQ(core->getConfigInt(opt::count_time), 1);

    // Loaded back: numbers without leading zeros, empty as 0; the box ticked
    // with the edit disabled until the box is clicked.
    open();
    EXPECT_EQ(drive::text(*page, id::minDelay), "7");
    EXPECT_EQ(drive::text(*page, id::maxDelay), "0");
    EXPECT_EQ(drive::text(*page, id::program), "/opt/备份 --all");
    EXPECT_EQ(page->IsDlgButtonChecked(id::isProgram), 1);
    EXPECT_FALSE(page->IsDlgItemEnabled(id::program));
    drive::click(*page, id::isProgram);
    EXPECT_EQ(page->IsDlgButtonChecked(id::isProgram), 0);
    EXPECT_FALSE(page->IsDlgItemEnabled(id::program));
    drive::click(*page, id::isProgram);
    EXPECT_TRUE(page->IsDlgItemEnabled(id::program));
}

// In the main window: a run of three events goes on while another tab is
// shown, and is exported.
TEST(TimeTab, ARunGoesOnBehindAnotherTabAndIsExported)
{
    RecordingBoxes boxes;
    ScriptedSaveDialog save;
    TempDir tmp;
    {
        CGeneratorDlg dlg;
        dlg.Create();
        dlg.ShowWindow(true);
        drive::selectTab(dlg, idc::main::tab, 2);
        CTimePage& page = dlg.timePage();
        setRun(page, "0", "0", "3");
        drive::click(page, id::generate);
        drive::selectTab(dlg, idc::main::tab, 0);
        EXPECT_FALSE(page.IsWindowVisible());
        ASSERT_TRUE(drive::waitFor([&] { return !boxes.shown.empty(); }, 10000));
        EXPECT_EQ(boxes.texts(), std::vector<std::string>{kDone});
        EXPECT_EQ(page.run().eventsDone, 3);

        drive::selectTab(dlg, idc::main::tab, 2);
        save.answers.push_back(SaveTarget{tmp.filePath("t.txt"), TextEncoding::Gbk});
        drive::click(page, id::exportText);
        EXPECT_EQ(readFile(tmp.filePath("t.txt")), page.run().logText);
    }
    CGeneratorApp::ReleaseCoreObjects();
}
