// The dialog layer through its interface: controls by id with their GBK
// text, the message map, window timers, destroy order and the About text.
#include "core/gbk.h"
#include "core/soft.h"
#include "platform/cdialog.h"
#include "platform/dialog_driver.h"
#include "platform/presenter.h"
#include "res/templates.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {
// A dialog on any template that logs what reaches it: clicks of 1024 and
// changes of 1020 (a button and an edit of the number page's template), its
// timers, its destruction.
class Probe : public CDialog {
public:
    explicit Probe(const DialogTemplate& t = kNumberPageTemplate, std::vector<std::string>* shared = nullptr)
        : CDialog(t), log(shared ? *shared : own) {}
    std::vector<std::string> own;
    std::vector<std::string>& log;
    bool killOnArrival = false;

    long count(const std::string& entry) const { return std::count(log.begin(), log.end(), entry); }
    void OnClick() { log.push_back("click"); }
    void OnEditChange() { log.push_back("change " + GetDlgItemTextUtf8(1020)); }
    std::span<const MessageEntry> GetMessageMap() const override
    {
        static const MessageEntry map[] = {{1024, Notify::Clicked, &Probe::OnClick},
                                           {1020, Notify::Changed, &Probe::OnEditChange}};
        return map;
    }
    void OnTimer(UINT id) override
    {
        log.push_back("timer " + std::to_string(id));
        if (killOnArrival)
            KillTimer(id);
    }
    void OnDestroy() override { log.push_back("destroy " + std::to_string(dialogTemplate().id)); }
};
} // namespace

TEST(CDialog, ControlsByIdKeepTheirTextAndRouteTheMappedNotifications)
{
    Probe p;
    p.Create();
    drive::click(p, 1024);
    drive::type(p, 1020, "x");
    drive::click(p, 1018); // a check box: no row in the map
    EXPECT_EQ(p.log, (std::vector<std::string>{"click", "change x"}));
    EXPECT_EQ(p.IsDlgButtonChecked(1018), 1);
    p.CheckDlgButton(1019, 2); // any nonzero state ticks
    EXPECT_EQ(p.IsDlgButtonChecked(1019), 1);
    p.EnableDlgItem(1024, false);
    drive::click(p, 1024); // a disabled button cannot be clicked
    EXPECT_EQ(p.count("click"), 1);

    // GBK text crosses into the window and back with its CR LF; text GBK
    // cannot hold is not handed out altered.
    p.SetDlgItemText(1026, gbk::lit("头部\r\n2\r\n"));
    EXPECT_EQ(p.GetDlgItemText(1026), gbk::lit("头部\r\n2\r\n"));
    EXPECT_EQ(drive::text(p, 1026), "头部\r\n2\r\n");
    drive::type(p, 1021, "x😀");
    EXPECT_EQ(p.GetDlgItemText(1021), std::nullopt);
    EXPECT_EQ(p.GetDlgItemTextUtf8(1021), "x😀");
    EXPECT_EQ(p.GetDlgItemText(999), ""); // no such control
    // Numbers read as atoi reads them, whatever follows.
    for (const auto& [typed, value] : std::vector<std::pair<std::string, int>>{
             {"", 0}, {"-12ab😀", -12}, {" 7", 7}, {"99999999999", 2147483647}}) {
        drive::type(p, 1022, typed);
        EXPECT_EQ(p.GetDlgItemAtoi(1022), value) << typed;
    }
}

TEST(CDialog, AppendedTextFollowsAndTheUsersChangesAreSeen)
{
    Probe p;
    p.Create();
    // 80000 characters, more than an edit takes by default; the caret is left
    // at the start, and what is appended still goes at the end.
    std::string rows;
    for (int i = 0; i < 20000; ++i)
        rows += "85\r\n";
    p.SetDlgItemText(1026, rows);
    EXPECT_FALSE(p.GetDlgItemModify(1026));
    p.AppendDlgItemText(1026, gbk::lit("乙\r\n"));
    EXPECT_TRUE(drive::text(p, 1026) == rows + "乙\r\n") << "80000 characters and the appended row";
    EXPECT_FALSE(p.GetDlgItemModify(1026));
    drive::type(p, 1026, "typed");
    EXPECT_TRUE(p.GetDlgItemModify(1026));
    p.SetDlgItemText(1026, "b");
    EXPECT_FALSE(p.GetDlgItemModify(1026));
}

// Rows appended while the user reads the box (a time run's events): a view
// scrolled back stays where it is, a view at the end follows the new rows.
TEST(CDialog, AppendsFollowAViewAtTheEndAndLeaveAViewScrolledBack)
{
    Probe p;
    p.Create();
    p.ShowWindow(true);
    std::string rows;
    for (int i = 0; i < 200; ++i)
        rows += "85\r\n";
    p.SetDlgItemText(1026, rows);
    drive::processEvents();
    drive::scrollToLine(p, 1026, 3);
    p.AppendDlgItemText(1026, "86\r\n");
    drive::processEvents();
    EXPECT_EQ(drive::firstVisibleLine(p, 1026), 3);
    drive::scrollToLine(p, 1026, 100000);
    const int end = drive::firstVisibleLine(p, 1026);
    ASSERT_GT(end, 100);
    for (int i = 0; i < 5; ++i)
        p.AppendDlgItemText(1026, "87\r\n");
    drive::processEvents();
    EXPECT_EQ(drive::firstVisibleLine(p, 1026), end + 5);
}

TEST(CDialog, TimersRepeatUntilKilledAndAreKeptPerWindow)
{
    Probe a, b;
    a.Create();
    b.Create();
    EXPECT_EQ(a.SetTimer(1, 5), 1u);
    EXPECT_EQ(b.SetTimer(1, 60000), 1u);
    ASSERT_TRUE(drive::waitFor([&] { return a.count("timer 1") >= 2; }, 5000)); // repeating
    EXPECT_TRUE(b.log.empty());
    EXPECT_TRUE(a.KillTimer(1));
    EXPECT_FALSE(a.KillTimer(1));
    const auto fired = a.count("timer 1");
    // A handler that kills its timer on arrival gets it once; a negative interval counts as 0.
    a.killOnArrival = true;
    a.SetTimer(7, -5);
    EXPECT_EQ(drive::timerInterval(a, 7), 0);
    ASSERT_TRUE(drive::waitFor([&] { return !drive::timerPending(a, 7); }, 5000));
    drive::waitFor([] { return false; }, 20);
    EXPECT_EQ(std::pair(a.count("timer 7"), a.count("timer 1")), std::pair(1L, fired));

    b.SetTimer(1, 250); // same id: restarted with the new interval
    EXPECT_EQ(drive::timerInterval(b, 1), 250);
    b.DestroyWindow(); // its timers go with it
    EXPECT_FALSE(drive::timerPending(b, 1));
    EXPECT_EQ(b.SetTimer(2, 10), 0u);
}

TEST(CDialog, DestroyRunsOnceOwnHandlingBeforeTheChildrensAndEndsTheMessages)
{
    std::vector<std::string> log;
    Probe parent(kGeneratorDialogTemplate, &log), child(kNumberPageTemplate, &log);
    parent.Create();
    child.Create(&parent, 1001);
    EXPECT_FALSE(child.IsWindowVisible()); // child templates start hidden
    parent.DestroyWindow();
    parent.DestroyWindow();
    drive::type(child, 1020, "y"); // handled by nobody now
    EXPECT_EQ(log, (std::vector<std::string>{"destroy 102", "destroy 130"}));
}

TEST(Boxes, AboutTextShowsEveryFieldAndReadsNonePastItsEnd)
{
    tagSoft soft;
    fillSoft(&soft);
    const std::string about = DialogPresenter::aboutText(soft);
    for (const char* field : {soft.name, soft.maker, soft.copyright, soft.description})
        EXPECT_NE(about.find(gbk::toUtf8(field)), std::string::npos) << field;
    std::memset(&soft, 'N', sizeof soft); // every field full to its last byte, none terminated
    EXPECT_NE(about.find(KELVANE_VERSION), std::string::npos);
    const std::string full = DialogPresenter::aboutText(soft);
    const std::string tail = "\n" + std::string(51, 'N') + "\n" + std::string(101, 'N') + "\n" + std::string(101, 'N')
                             + "\n" + std::string(101, 'N');
    EXPECT_TRUE(full.ends_with(tail));
}
