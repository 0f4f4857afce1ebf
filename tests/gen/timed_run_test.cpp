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

// A host with a manual clock (milliseconds since 2024-03-05 07:08:09) and a
// manual one-shot timer that the test fires. Every call is logged in steps.
struct ManualHost : TimedRunHost {
    long long nowMs = 0;
    std::optional<long long> due;
    std::vector<int> armed;
    std::vector<CString> steps, logs, launches;
    std::vector<std::pair<Box, CString>> messages;
    bool generateEnabled = true;
    std::function<void()> onLaunch;

    void armTimer(int delayMs) override
    {
        steps.push_back("arm");
        armed.push_back(delayMs);
        due = nowMs + delayMs;
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
        gmtime_r(&t, &tm);
        return tm;
    }
    void launch(const CString& program) override
    {
        steps.push_back("launch");
        launches.push_back(program);
        if (onLaunch)
            onLaunch();
    }
    void showLog(const CString& text) override
    {
        steps.push_back("log");
        logs.push_back(text);
    }
    void showMessage(Box box, const CString& text) override
    {
        steps.push_back("message");
        messages.emplace_back(box, text);
    }
    void setGenerateEnabled(bool on) override
    {
        steps.push_back(on ? "enable" : "disable");
        generateEnabled = on;
    }
    // Lets time pass to the pending deadline and delivers the event.
    bool fire(TimedRunDriver& d)
    {
        if (!due)
            return false;
        nowMs = *due;
        d.onTimer();
        return true;
    }
    void runToEnd(TimedRunDriver& d)
    {
        while (fire(d)) {
        }
    }
};

TimeSettings settings(int isProgram, CString program, int lo, int hi, int count)
{
    return TimeSettings{isProgram, std::move(program), lo, hi, count};
}

} // namespace

TEST(TimedRun, EventLineIsLocalDateAndTimeWithThreeBlanks)
{
    std::tm t{};
    t.tm_year = 124, t.tm_mon = 2, t.tm_mday = 5, t.tm_hour = 7, t.tm_min = 8, t.tm_sec = 9;
    EXPECT_EQ(formatEventLine(t), "2024-03-05   07:08:09");
    t.tm_year = -913, t.tm_mon = 11, t.tm_mday = 31, t.tm_hour = 23, t.tm_min = 59;
    EXPECT_EQ(formatEventLine(t), "0987-12-31   23:59:09");
    t.tm_year = INT_MAX; // no overflow on a nonsense year
    EXPECT_EQ(formatEventLine(t), "2147485547-12-31   23:59:09");
}

TEST(TimedRun, ValidationAppliesTheFirstFailingRuleOnly)
{
    const auto check = [](const TimeSettings& s, Box box, const char* text) {
        const auto f = s.validate();
        ASSERT_TRUE(f.has_value());
        EXPECT_EQ(f->box, box);
        EXPECT_EQ(f->message, gbk::lit(text));
    };
    check(settings(1, "", 5, 1, 0), Box::Warning, "外部程序命令行无效！");
    check(settings(0, "", 5, 1, 0), Box::Plain, "发生间隔设定无效！");
    check(settings(0, "", 1, 5, 0), Box::Plain, "生成个数设定无效！");
    check(settings(1, "x", -1, -2, -7), Box::Plain, "发生间隔设定无效！");
    check(settings(0, "", INT_MIN, INT_MAX, INT_MIN), Box::Plain, "生成个数设定无效！");

    // Only the length of the program text counts; bounds may meet or be 0.
    EXPECT_FALSE(settings(1, "   ", 0, 0, 1).validate());
    EXPECT_FALSE(settings(0, "", 7, 7, INT_MAX).validate());
    EXPECT_FALSE(settings(0, "", INT_MIN, -1, 1).validate());
}

TEST(TimedRun, OnlyAPassingValidationSeedsTheCRuntime)
{
    std::srand(4242);
    const int unseeded = std::rand();
    std::srand(4242);
    ASSERT_TRUE(settings(0, "", 2, 1, 1).validate());
    EXPECT_EQ(std::rand(), unseeded);

    const std::time_t before = std::time(nullptr);
    ASSERT_FALSE(settings(0, "", 1, 2, 1).validate());
    const int drawn = std::rand();
    const std::time_t after = std::time(nullptr);
    std::srand(unsigned(before));
    const int fromBefore = std::rand();
    std::srand(unsigned(after));
    EXPECT_TRUE(drawn == fromBefore || drawn == std::rand());
}

TEST(TimedRun, WholeRunGivesOneLineOneDrawAndLaunchesOnlyWhenOn)
{
    for (int isProgram : {1, 0}) {
        SCOPED_TRACE(isProgram);
        auto core = ScopedCore::scripted({1000, 2000, 3000, 4000, 5000});
        ManualHost host;
        TimedRunDriver driver(host);
        // A program text with a blank and an argument is still one operand.
        ASSERT_TRUE(driver.generate(settings(isProgram, "tool --flag", 1000, 9000, 5)));
        EXPECT_FALSE(host.generateEnabled);
        host.runToEnd(driver);

        EXPECT_EQ(host.armed, (std::vector<int>{1000, 2000, 3000, 4000, 5000}));
        ASSERT_EQ(core.random().draws().size(), 5u);
        for (const auto& d : core.random().draws())
            EXPECT_TRUE(d.lo == 1000 && d.hi == 9000);
        // Each line is the clock at its event: +1 s, +3 s, +6 s, +10 s, +15 s.
        const CString log = "2024-03-05   07:08:10\r\n2024-03-05   07:08:12\r\n"
                            "2024-03-05   07:08:15\r\n2024-03-05   07:08:19\r\n"
                            "2024-03-05   07:08:24\r\n";
        EXPECT_EQ(driver.run().logText, log);
        EXPECT_EQ(driver.run().eventsDone, 5);
        ASSERT_EQ(host.logs.size(), 6u); // emptied at the start, then once per event
        EXPECT_EQ(host.logs.front(), "");
        EXPECT_EQ(host.logs.back(), log);
        EXPECT_EQ(host.launches, std::vector<CString>(isProgram ? 5 : 0, "tool --flag"));

        // Steps of the last event in order; Generate comes back only after the box.
        std::vector<CString> last(host.steps.end() - (isProgram ? 6 : 5), host.steps.end());
        std::vector<CString> expected{"cancel", "clock", "log", "launch", "message", "enable"};
        if (!isProgram)
            expected.erase(expected.begin() + 3);
        EXPECT_EQ(last, expected);
        ASSERT_EQ(host.messages.size(), 1u);
        EXPECT_EQ(host.messages[0], std::make_pair(Box::Plain, gbk::lit("生成成功！")));
        EXPECT_TRUE(host.generateEnabled);
        EXPECT_FALSE(host.due);
    }
}

TEST(TimedRun, SingleEventAndFixedIntervals)
{
    {
        auto core = ScopedCore::scripted({30});
        ManualHost host;
        TimedRunDriver driver(host);
        ASSERT_TRUE(driver.generate(settings(0, "", 0, 100, 1)));
        host.runToEnd(driver);
        EXPECT_EQ(host.armed, std::vector<int>{30});
        EXPECT_EQ(driver.run().logText.size(), 23u);
        EXPECT_EQ(host.messages.size(), 1u);
    }
    for (int ms : {250, 0}) {
        auto core = ScopedCore::seeded("fixed");
        ManualHost host;
        TimedRunDriver driver(host);
        ASSERT_TRUE(driver.generate(settings(0, "", ms, ms, 4)));
        host.runToEnd(driver);
        EXPECT_EQ(host.armed, std::vector<int>(4, ms));
        EXPECT_EQ(core.random().draws().size(), 0u); // seeded sources keep no record
        if (ms == 0) { // four events within one second give four identical lines
            const CString line = "2024-03-05   07:08:09\r\n";
            EXPECT_EQ(driver.run().logText, line + line + line + line);
        }
    }
}

TEST(TimedRun, NegativeIntervalsFireAtOnceAndExtremesDoNotWrap)
{
    auto core = ScopedCore::scripted({-5, INT_MIN, INT_MAX, 0});
    ManualHost host;
    TimedRunDriver driver(host);
    ASSERT_TRUE(driver.generate(settings(0, "", INT_MIN, INT_MAX, 4)));
    host.runToEnd(driver);
    EXPECT_EQ(host.armed, (std::vector<int>{0, 0, INT_MAX, 0}));
    EXPECT_EQ(host.nowMs, INT_MAX);
    EXPECT_EQ(driver.run().eventsDone, 4);
}

TEST(TimedRun, FailedGenerateLeavesThePreviousRunUntouched)
{
    auto core = ScopedCore::scripted({10, 20});
    ManualHost host;
    TimedRunDriver driver(host);
    ASSERT_TRUE(driver.generate(settings(1, "a", 0, 100, 2)));
    host.runToEnd(driver);
    const CString log = driver.run().logText;
    const auto steps = host.steps.size();

    // A draw here would throw: the script is used up.
    EXPECT_FALSE(driver.generate(settings(1, "", 0, 100, 3)));
    EXPECT_EQ(driver.run().logText, log);
    EXPECT_EQ(driver.run().eventsDone, 2);
    EXPECT_EQ(host.steps.size(), steps + 1); // the message, nothing else
    EXPECT_EQ(host.messages.back().first, Box::Warning);
    EXPECT_TRUE(host.generateEnabled);
    EXPECT_FALSE(host.due);
}

TEST(TimedRun, StoppingEndsTheRunWithoutAMessage)
{
    auto core = ScopedCore::scripted({10, 20, 30});
    ManualHost host;
    TimedRunDriver driver(host);
    ASSERT_TRUE(driver.generate(settings(1, "a", 0, 100, 5)));
    ASSERT_TRUE(host.fire(driver));
    // The host goes away while the second event's launch is running.
    host.onLaunch = [&] { driver.stop(); };
    ASSERT_TRUE(host.fire(driver));
    EXPECT_FALSE(host.due);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(driver.run().eventsDone, 1);
    // A stray event after the end adds nothing.
    driver.onTimer();
    EXPECT_EQ(driver.run().logText.size(), 46u);
}
