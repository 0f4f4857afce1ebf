#include "gen/timed_run.h"

#include "core/gbk.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

// The first failing rule's message, or "ok".
CString check(const TimeSettings& s)
{
    const auto f = s.validate();
    return f ? f->message : "ok";
}

} // namespace

// The line's form is checked with whole runs (tests/ui/timed_run_driver_test.cpp).
TEST(TimedRun, EventLineOfANonsenseYearDoesNotOverflow)
{
    std::tm t{};
    t.tm_year = INT_MAX, t.tm_mon = 2, t.tm_mday = 5, t.tm_hour = 7, t.tm_min = 8, t.tm_sec = 9;
    EXPECT_EQ(formatEventLine(t), "2147485547-03-05   07:08:09");
}

TEST(TimedRun, ValidationStopsAtTheFirstFailingRule)
{
    EXPECT_EQ(check({1, "", 5, 1, 0}), gbk::lit("外部程序命令行无效！"));
    EXPECT_EQ(check({0, "", 5, 1, 0}), gbk::lit("发生间隔设定无效！"));
    EXPECT_EQ(check({1, "x", -1, -2, 5}), gbk::lit("发生间隔设定无效！"));
    EXPECT_EQ(check({0, "", 1, 5, 0}), gbk::lit("生成个数设定无效！"));
    EXPECT_EQ(check({0, "", INT_MIN, 0, -3}), gbk::lit("生成个数设定无效！"));
    // Only the length of the program text counts; the bounds may meet.
    EXPECT_EQ(check({1, "   ", 0, 0, 1}), "ok");
    EXPECT_EQ(check({0, "", 7, 7, INT_MAX}), "ok");
}
