// The time tab's run against a host with a manual clock and timer: the order
// of its steps, its draws and its log.
#include "ui/timed_run_driver.h"

#include "core/gbk.h"
#include "core/random.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <optional>

namespace {

using Steps = std::vector<CString>;

CString boxed(BoxKind box, const CString& text) { return (box == BoxKind::Warning ? "warning " : "plain ") + text; }

// A host with a manual clock (milliseconds after 2024-03-05 07:08:09) and a
// manual one-shot timer. Every call is logged, in order, in steps.
struct ManualHost : TimedRunHost {
    long long nowMs = 0;
    std::optional<long long> due;
    Steps steps;
    std::vector<int> armed;
    CString shown;
    std::function<void()> onLaunch = [] {};

    void armTimer(int ms) override { steps.push_back("arm"); armed.push_back(ms); due = nowMs + ms; }
    void cancelTimer() override { steps.push_back("cancel"); due.reset(); }
    std::tm localNow() override
    {
        steps.push_back("clock");
        const std::time_t t = 1709622489 + nowMs / 1000;
        std::tm tm{};
        return *gmtime_r(&t, &tm);
    }
    void launch(const CString& program) override { steps.push_back("launch " + program); onLaunch(); }
    void showLog(const CString& text) override { steps.push_back("log"); shown = text; }
    void showMessage(BoxKind box, const CString& text) override { steps.push_back(boxed(box, text)); }
    void setGenerateEnabled(bool on) override { steps.push_back(on ? "enable" : "disable"); }
    void fire(TimedRunDriver& d) { nowMs = *due; d.onTimer(); }
};

// Generates with settings on a fresh host and fires its timer until the run ends.
ManualHost runToEnd(const TimeSettings& settings, RandomGen& random)
{
    ManualHost host;
    TimedRunDriver driver(host);
    EXPECT_TRUE(driver.generate(settings, random));
    for (int i = 0; host.due && i < 100; ++i)
        host.fire(driver);
    return host;
}

} // namespace

TEST(TimedRunDriver, AMissingProgramIsAWarningTheOtherRulesArePlainBoxes)
{
    auto random = RandomGen::scripted({}); // a failed Generate draws nothing
    const std::pair<TimeSettings, CString> cases[] = {
        {{1, "", 5, 1, 0}, "warning " + gbk::lit("外部程序命令行无效！")},
        {{0, "", 5, 1, 0}, "plain " + gbk::lit("发生间隔设定无效！")},
        {{0, "", 1, 5, 0}, "plain " + gbk::lit("生成个数设定无效！")},
    };
    for (const auto& [settings, shown] : cases) {
        ManualHost host;
        TimedRunDriver driver(host);
        EXPECT_FALSE(driver.generate(settings, random));
        EXPECT_EQ(host.steps, Steps{shown});
    }
}

TEST(TimedRunDriver, WholeRunsDrawEachIntervalOnceLogEachEventAndLaunchWhenOn)
{
    struct Case { TimeSettings s; std::vector<int> script, armed; CString log; };
    const auto settings = [](int isProgram, const char* program, int lo, int hi, int count) {
        TimeSettings s;
        s.isProgram = isProgram, s.fileProgram = program, s.min_delay = lo, s.max_delay = hi, s.count_time = count;
        return s;
    };
    const CString at9 = "2024-03-05   07:08:09\r\n", later = "2024-03-30   03:39:32\r\n";
    const Case cases[] = {
        // A program text with a blank and an argument stays one operand. The
        // lines are the clock at each event: +1 s, +3 s, +6 s.
        {settings(1, "tool --flag", 1000, 9000, 3), {1000, 2000, 3000}, {1000, 2000, 3000},
         "2024-03-05   07:08:10\r\n2024-03-05   07:08:12\r\n2024-03-05   07:08:15\r\n"},
        {settings(0, "tool", 0, 100, 1), {30}, {30}, at9},
        {settings(0, "", 250, 250, 2), {250, 250}, {250, 250}, at9 + at9},
        {settings(1, "x", 0, 0, 3), {0, 0, 0}, {0, 0, 0}, at9 + at9 + at9}, // one second, identical lines
        // A negative interval fires at once; the largest is armed as it is.
        {settings(0, "", INT_MIN, INT_MAX, 4), {-5, INT_MIN, INT_MAX, 0}, {0, 0, INT_MAX, 0}, at9 + at9 + later + later},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.log);
        auto random = RandomGen::scripted(k.script); // a draw more would throw
        const ManualHost host = runToEnd(k.s, random);
        EXPECT_EQ(host.armed, k.armed);
        EXPECT_EQ(host.shown, k.log);
        EXPECT_EQ(random.remaining(), 0u);
        for (const auto& d : random.draws())
            EXPECT_TRUE(d.lo == k.s.min_delay && d.hi == k.s.max_delay);
    }
}

TEST(TimedRunDriver, FailedGenerateOrStopLeavesNoTrace)
{
    auto random = RandomGen::scripted({10, 20, 30, 40});
    ManualHost host;
    TimedRunDriver driver(host);
    ASSERT_TRUE(driver.generate({1, "a", 0, 100, 2}, random));
    host.fire(driver);
    host.fire(driver);
    Steps expected = host.steps;
    const CString log = driver.run().logText;

    // Only rule 1's message: no draw, no emptied box, Generate stays enabled.
    EXPECT_FALSE(driver.generate({1, "", 9, 1, 3}, random));
    expected.push_back("warning " + gbk::lit("外部程序命令行无效！"));
    EXPECT_EQ(host.steps, expected);
    EXPECT_TRUE(driver.run().logText == log && driver.run().eventsDone == 2 && random.remaining() == 2);

    // The host goes away while the second event's launch runs: no message.
    ASSERT_TRUE(driver.generate({1, "a", 0, 100, 5}, random));
    host.fire(driver);
    host.onLaunch = [&] { driver.stop(); };
    host.fire(driver);
    EXPECT_FALSE(host.due);
    EXPECT_EQ(Steps(host.steps.end() - 2, host.steps.end()), (Steps{"launch a", "cancel"}));
    EXPECT_EQ(driver.run().eventsDone, 1);
    driver.onTimer(); // a stray event after the end adds nothing
    EXPECT_EQ(driver.run().logText.size(), 46u);
}
