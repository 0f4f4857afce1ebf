// The main window: start state, tab changes, About, and the order of things
// when it closes.
#include "core/ccore.h"
#include "core/gbk.h"
#include "platform/dialog_driver.h"
#include "res/resource.h"
#include "support/recording_boxes.h"
#include "ui/generator_app.h"
#include "ui/generator_dlg.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>

namespace {
namespace id = idc::main;
const std::string kDescriptions[] = {"随机密码、用户名、域名、手机号码等", "指定数值范围内的整形、浮点数等",
                                     "不定时日期数值，并可执行命令行外部程序"};

class MainWindow : public ::testing::Test {
protected:
    void SetUp() override { dlg->Create(); }
    void TearDown() override
    {
        dlg.reset();
        CGeneratorApp::ReleaseCoreObjects();
    }
    // Which pages are visible, and the description.
    std::pair<std::array<bool, 3>, std::string> shown()
    {
        return {{dlg->stringPage().IsWindowVisible(), dlg->numberPage().IsWindowVisible(),
                 dlg->timePage().IsWindowVisible()},
                drive::text(*dlg, id::description)};
    }
    void showWindow() { dlg->ShowWindow(true); }

    std::unique_ptr<CGeneratorDlg> dlg = std::make_unique<CGeneratorDlg>();
};
} // namespace

TEST_F(MainWindow, StartsOnTheStringTabAndEachTabShowsOnlyItsPageAndDescription)
{
    ASSERT_TRUE(g_core && g_soft);
    showWindow();
    EXPECT_EQ(shown(), std::pair(std::array{true, false, false}, kDescriptions[0]));
    for (int i : {2, 1, 0, 2}) {
        dlg->SetDlgItemText(id::description, "old");
        drive::selectTab(*dlg, id::tab, i);
        EXPECT_EQ(shown(), std::pair(std::array{i == 0, i == 1, i == 2}, kDescriptions[i]));
    }
    for (int none : {-1, 3}) { // no selection: the description goes, the pages stay
        dlg->ShowTab(1);
        dlg->ShowTab(none);
        EXPECT_EQ(shown(), std::pair(std::array{false, true, false}, std::string()));
    }
}

TEST_F(MainWindow, AboutShowsTheAboutBoxWithTheVersionAndTheIdentification)
{
    RecordingBoxes boxes;
    drive::click(*dlg, id::about);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].kind, BoxKind::About);
    EXPECT_NE(boxes.shown[0].text.find(KELVANE_VERSION), std::string::npos);
    EXPECT_NE(boxes.shown[0].text.find(gbk::toUtf8(g_soft->name)), std::string::npos);
}

TEST(MainWindowLife, ClosingRunsEveryPagesDestroyHandlingBeforeTheCoreIsReleased)
{
    std::vector<std::pair<int, bool>> seen; // after each window's OnDestroy: whether the core objects still live
    CDialog::setDestroyObserver([&](CDialog& d) { seen.emplace_back(d.dialogTemplate().id, g_core && g_soft); });
    // The modal run ends as the close button ends it, once its first page has loaded.
    struct ClosingDlg : CGeneratorDlg {
        BOOL OnInitDialog() override
        {
            CGeneratorDlg::OnInitDialog();
            SetTimer(99, 0);
            return TRUE;
        }
        void OnTimer(UINT) override { EndDialog(IDCANCEL); }
    };
    {
        ClosingDlg dlg;
        dlg.DoModal();
        CGeneratorApp::ReleaseCoreObjects();
    }
    CDialog::setDestroyObserver(nullptr);
    EXPECT_TRUE(!g_core && !g_soft);
    EXPECT_EQ(seen, (std::vector<std::pair<int, bool>>{{102, true}, {129, true}, {130, true}, {131, true}}));
}
