#include "gen/timed_run.h"

#include "core/gbk.h"
#include "support/scoped_core.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <functional>
#include <optional>

namespace {

using Box = TimeSettings::Box;
using Steps = std::vector<CString>;

// A host with a manual clock (milliseconds after 2024-03-05 07:08:09) and a
// manual one-shot timer. Every call is logged, in order, in steps.
struct ManualHost : TimedRunHost {
    long long nowMs = 0;
    std::optional<long long> due;
    Steps steps;
    std::vector<int> armed;
    CString shown;
    std::function<void()> onLaunch = [] {};

    void armTimer(int ms) override
    {
        steps.push_back("arm");
        armed.push_back(ms);
        due = nowMs + ms;
    }
    void cancelTimer() override
    {
        steps.push_back("cancel");
        due.reset();
    }
    std::tm localNow() override
    {
        steps.push_back("clock");
        const std::time_t t = 1709622489 + nowMs / 1000;
        std::tm tm{};
        return *gmtime_r(&t, &tm);
    }
    void launch(const CString& program) override
    {
        steps.push_back("launch " + program);
        onLaunch();
    }
    void showLog(const CString& text) override
    {
        steps.push_back("log");
        shown = text;
    }
    void showMessage(Box box, const CString& text) override
    {
        steps.push_back((box == Box::Warning ? "warning " : "plain ") + text);
    }
    void setGenerateEnabled(bool on) override { steps.push_back(on ? "enable" : "disable"); }
    void fire(TimedRunDriver& d)
    {
        nowMs = *due;
        d.onTimer();
    }
    void runToEnd(TimedRunDriver& d)
    {
        for (int i = 0; due && i < 100; ++i)
            fire(d);
    }
};

} // namespace

TEST(TimedRun, EventLineIsTheLocalTimeWithThreeBlanks)
{
    std::tm t{};
    t.tm_year = 124, t.tm_mon = 2, t.tm_mday = 5, t.tm_hour = 7, t.tm_min = 8, t.tm_sec = 9;
    EXPECT_EQ(formatEventLine(t), "2024-03-05   07:08:09");
    t.tm_year = INT_MAX; // a nonsense year does not overflow
    EXPECT_EQ(formatEventLine(t), "2147485547-03-05   07:08:09");
}

TEST(TimedRun, ValidationStopsAtTheFirstFailingRuleAndSeedsOnlyOnSuccess)
{
    const auto failure = [](TimeSettings s) {
        const auto f = s.validate();
        return f ? (f->box == Box::Warning ? "warning " : "plain ") + f->message : "ok";
    };
    EXPECT_EQ(failure({1, "", 5, 1, 0}), "warning " + gbk::lit("外部程序命令行无效！"));
    EXPECT_EQ(failure({0, "", 5, 1, 0}), "plain " + gbk::lit("发生间隔设定无效！"));
    EXPECT_EQ(failure({1, "x", -1, -2, 5}), "plain " + gbk::lit("发生间隔设定无效！"));
    EXPECT_EQ(failure({0, "", 1, 5, 0}), "plain " + gbk::lit("生成个数设定无效！"));
    EXPECT_EQ(failure({0, "", INT_MIN, 0, -3}), "plain " + gbk::lit("生成个数设定无效！"));
    // Only the length of the program text counts; the bounds may meet.
    EXPECT_EQ(failure({1, "   ", 0, 0, 1}), "ok");
    EXPECT_EQ(failure({0, "", 7, 7, INT_MAX}), "ok");

    std::srand(4242);
    const int unseeded = std::rand();
    std::srand(4242);
    failure({0, "", 2, 1, 1});
    EXPECT_EQ(std::rand(), unseeded);
    const std::time_t before = std::time(nullptr);
    failure({0, "", 1, 2, 1});
    const int drawn = std::rand();
    std::srand(unsigned(before));
    const int fromBefore = std::rand();
    std::srand(unsigned(std::time(nullptr)));
    EXPECT_TRUE(drawn == fromBefore || drawn == std::rand());
}

TEST(TimedRun, WholeRunStepsLinesDrawsAndLaunches)
{
    for (int isProgram : {1, 0}) {
        SCOPED_TRACE(isProgram);
        auto core = ScopedCore::scripted({1000, 2000, 3000});
        ManualHost host;
        TimedRunDriver driver(host);
        // A program text with a blank and an argument stays one operand.
        ASSERT_TRUE(driver.generate({isProgram, "tool --flag", 1000, 9000, 3}));
        host.runToEnd(driver);

        Steps expected{"disable", "log", "arm"};
        for (int i = 0; i < 3; ++i) {
            expected.insert(expected.end(), {"cancel", "clock", "log"});
            if (isProgram)
                expected.push_back("launch tool --flag");
            expected.push_back("arm");
        }
        expected.back() = "plain " + gbk::lit("生成成功！");
        expected.push_back("enable");
        EXPECT_EQ(host.steps, expected);
        EXPECT_EQ(host.armed, (std::vector<int>{1000, 2000, 3000}));
        EXPECT_EQ(core.random().draws().size(), 3u);
        EXPECT_EQ(core.random().draws().back().lo, 1000);
        EXPECT_EQ(core.random().draws().back().hi, 9000);
        // Each line is the clock at its event: +1 s, +3 s, +6 s.
        EXPECT_EQ(host.shown, "2024-03-05   07:08:10\r\n2024-03-05   07:08:12\r\n"
                              "2024-03-05   07:08:15\r\n");
        EXPECT_EQ(driver.run().logText, host.shown);
    }
}

TEST(TimedRun, SingleEventFixedAndExtremeIntervals)
{
    auto core = ScopedCore::scripted({30});
    ManualHost one;
    TimedRunDriver d1(one);
    ASSERT_TRUE(d1.generate({0, "", 0, 100, 1}));
    one.runToEnd(d1);
    EXPECT_EQ(one.armed, std::vector<int>{30});
    EXPECT_EQ(d1.run().logText.size(), 23u);

    // Equal bounds give that exact interval; 0 to 0 puts four events in one
    // second, and so four identical lines.
    core->setRandom(std::make_unique<RandomGen>(RandomGen::seeded("fixed")));
    for (int ms : {250, 0}) {
        ManualHost host;
        TimedRunDriver d(host);
        ASSERT_TRUE(d.generate({0, "", ms, ms, 4}));
        host.runToEnd(d);
        EXPECT_EQ(host.armed, std::vector<int>(4, ms));
        const CString line = "2024-03-05   07:08:09\r\n";
        if (ms == 0) {
            EXPECT_EQ(host.shown, line + line + line + line);
        }
    }

    // A negative interval fires at once; the largest is armed as it is.
    core.script({-5, INT_MIN, INT_MAX, 0});
    ManualHost wide;
    TimedRunDriver d2(wide);
    ASSERT_TRUE(d2.generate({0, "", INT_MIN, INT_MAX, 4}));
    wide.runToEnd(d2);
    EXPECT_EQ(wide.armed, (std::vector<int>{0, 0, INT_MAX, 0}));
    EXPECT_EQ(wide.nowMs, INT_MAX);
}

TEST(TimedRun, FailedGenerateOrStopLeavesNoTrace)
{
    auto core = ScopedCore::scripted({10, 20, 30, 40});
    ManualHost host;
    TimedRunDriver driver(host);
    ASSERT_TRUE(driver.generate({1, "a", 0, 100, 2}));
    host.runToEnd(driver);
    const Steps before = host.steps;
    const CString log = driver.run().logText;

    // Only rule 1's message: no draw, no emptied box, Generate stays enabled.
    EXPECT_FALSE(driver.generate({1, "", 9, 1, 3}));
    Steps expected = before;
    expected.push_back("warning " + gbk::lit("外部程序命令行无效！"));
    EXPECT_EQ(host.steps, expected);
    EXPECT_EQ(driver.run().logText, log);
    EXPECT_EQ(driver.run().eventsDone, 2);
    EXPECT_EQ(core.random().remaining(), 2u);

    // The host goes away while the second event's launch runs: no message.
    ASSERT_TRUE(driver.generate({1, "a", 0, 100, 5}));
    host.fire(driver);
    host.onLaunch = [&] { driver.stop(); };
    host.fire(driver);
    EXPECT_FALSE(host.due);
    EXPECT_EQ(Steps(host.steps.end() - 2, host.steps.end()), (Steps{"launch a", "cancel"}));
    EXPECT_EQ(driver.run().eventsDone, 1);
    driver.onTimer(); // a stray event after the end adds nothing
    EXPECT_EQ(driver.run().logText.size(), 46u);
}
