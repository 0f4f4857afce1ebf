#include "gen/number_gen.h"

#include "core/gbk.h"
#include "support/scoped_core.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <random>
#include <string>
#include <vector>

namespace {

NumberSettings floats(float lo, float hi, int decimals, int count = 1)
{
    return {0, 1, lo, hi, count, decimals};
}

NumberSettings ints(float lo, float hi, int count = 1)
{
    return {1, 0, lo, hi, count, 0};
}

using Draws = std::vector<std::pair<int, int>>;

Draws boundsOf(ScopedCore& c)
{
    Draws d;
    for (const auto& x : c.random().draws())
        d.push_back({x.lo, x.hi});
    return d;
}

// The draws of one floating-point value, tried pair by pair, independently of
// the generator: the value of each pair, folded back once, accepted unless
// below the minimum.
bool someFloatPairAccepted(float m, float M, int decimals)
{
    int p = 1;
    for (int i = 0; i < decimals; ++i)
        p *= 10;
    const int lo = int(double(p) * m), hi = int(double(p) * M);
    for (long long f = lo; f <= hi; ++f)
        for (int g = 0; g <= p / 10; ++g) {
            double v = double(f + g) / p;
            if (v > M)
                v -= double(0.1f);
            if (!(v < m))
                return true;
        }
    return false;
}

} // namespace

TEST(NumberRows, ExactRowsFromScriptedDraws)
{
    {   // 100.05 lies above 100 and is folded back by one tenth.
        auto c = ScopedCore::scripted({2, 9995, 10});
        EXPECT_EQ(drawNumberRow(floats(80, 100, 2)), "99.95");
        EXPECT_EQ(boundsOf(c), (Draws{{1, 2}, {8000, 10000}, {0, 10}}));
    }
    {   // 10000.12345 is held as 10000.123046875.
        auto c = ScopedCore::scripted({2, 1000012345, 0});
        EXPECT_EQ(drawNumberRow(floats(10000, 10001, 5)), "10000.12305");
    }
    {   // Both bounds truncate toward zero.
        auto c = ScopedCore::scripted({1, -2});
        EXPECT_EQ(drawNumberRow(ints(-2.5f, -2.5f)), "-2");
        EXPECT_EQ(boundsOf(c), (Draws{{1, 2}, {-2, -2}}));
    }
    {   // -2 lies above -2.5, becomes -2.1, is kept and printed without decimals.
        auto c = ScopedCore::scripted({2, -2, 0});
        EXPECT_EQ(drawNumberRow(floats(-2.5f, -2.5f, 0)), "-2");
        EXPECT_EQ(boundsOf(c), (Draws{{1, 2}, {-2, -2}, {0, 0}}));
    }
    {
        auto c = ScopedCore::scripted({1, 100});
        EXPECT_EQ(drawNumberRow(ints(80.9f, 100.9f)), "100");
        EXPECT_EQ(boundsOf(c), (Draws{{1, 2}, {80, 100}}));
    }
    {   // 0 decimals: no decimal point.
        auto c = ScopedCore::scripted({2, 85, 0});
        EXPECT_EQ(drawNumberRow(floats(80, 100, 0)), "85");
    }
}

TEST(NumberRows, RejectedValuesAreDrawnAgainWithTheSameBounds)
{
    {   // 1/10 in double lies below the single-precision 0.1.
        auto c = ScopedCore::scripted({2, 1, 0, 1, 1});
        EXPECT_EQ(drawNumberRow(floats(0.1f, 0.3f, 1)), "0.2");
        EXPECT_EQ(boundsOf(c), (Draws{{1, 2}, {1, 3}, {0, 1}, {1, 3}, {0, 1}}));
    }
    {   // 80.1 is folded back to just below 80.
        auto c = ScopedCore::scripted({2, 800, 1, 800, 0});
        EXPECT_EQ(drawNumberRow(floats(80, 80, 1)), "80.0");
        EXPECT_EQ(c.random().remaining(), 0u);
    }
    {   // 0.4 overshoots 0.3 and folds back to 0.3.
        auto c = ScopedCore::scripted({2, 3, 1});
        EXPECT_EQ(drawNumberRow(floats(0.1f, 0.3f, 1)), "0.3");
    }
    auto c = ScopedCore::seeded("tenths");
    for (int i = 0; i < 2000; ++i)
        ASSERT_NE(drawNumberRow(floats(0.1f, 0.3f, 1)), "0.1");
}

TEST(NumberRows, KindIsDrawnForEveryRowUntilARequestedKind)
{
    {
        auto c = ScopedCore::scripted({2, 2, 1, 85});
        EXPECT_EQ(drawNumberRow(ints(80, 100)), "85");
        EXPECT_EQ(boundsOf(c), (Draws{{1, 2}, {1, 2}, {1, 2}, {80, 100}}));
    }
    {
        auto c = ScopedCore::scripted({1, 2, 8500, 0});
        EXPECT_EQ(drawNumberRow(floats(80, 100, 2)), "85.00");
    }
    {   // Both kinds: one kind draw per row decides.
        auto c = ScopedCore::scripted({1, 90, 2, 8123, 4, 1, 99});
        NumberSettings s{1, 1, 80, 100, 3, 2};
        EXPECT_EQ(drawNumberRows(s), "90\r\n81.27\r\n99\r\n");
    }
}

TEST(NumberRows, RunIsRowsEachEndedByCrLf)
{
    auto c = ScopedCore::scripted({1, 81, 1, 82, 2, 1, 83, 1, 84, 1, 85});
    EXPECT_EQ(drawNumberRows(ints(80, 100, 5)), "81\r\n82\r\n83\r\n84\r\n85\r\n");
    EXPECT_EQ(drawNumberRows(ints(80, 100, 0)), "");

    c.script({1, 7});
    std::string text = "x";
    appendNumberRow(ints(0, 10), text);
    EXPECT_EQ(text, "x7");
}

TEST(NumberRows, StreamingGivesTheSameRunInWholeRows)
{
    const NumberSettings s{1, 1, -50.5f, 1000.25f, 3000, 3};
    CString whole;
    {
        auto c = ScopedCore::seeded("stream");
        whole = drawNumberRows(s);
    }
    auto c = ScopedCore::seeded("stream");
    CString joined;
    std::size_t pieces = 0;
    streamNumberRows(s, [&](std::string_view chunk) {
        ASSERT_FALSE(chunk.empty());
        ASSERT_LE(chunk.size(), 256u);
        ASSERT_TRUE(chunk.ends_with("\r\n"));
        joined += chunk;
        ++pieces;
    }, 256);
    EXPECT_EQ(joined, whole);
    EXPECT_GT(pieces, 10u);
}

TEST(NumberRows, SeededRunsStayInRangeWithAnEvenKindMix)
{
    auto c = ScopedCore::seeded("statistics");
    const NumberSettings s{1, 1, 80, 100, 100000, 2};
    const CString text = drawNumberRows(s);
    int intRows = 0, floatRows = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        ASSERT_NE(end, std::string::npos);
        const std::string row = text.substr(start, end - start);
        start = end + 2;
        const std::size_t dot = row.find('.');
        if (dot == std::string::npos)
            ++intRows;
        else {
            ++floatRows;
            ASSERT_EQ(row.size() - dot, 3u) << row;
        }
        const double v = std::strtod(row.c_str(), nullptr);
        ASSERT_GE(v, 80) << row;
        ASSERT_LE(v, 100) << row;
    }
    EXPECT_EQ(intRows + floatRows, 100000);
    EXPECT_NEAR(intRows / 1e5, 0.5, 0.015);
}

TEST(NumberCheck, RulesInOrderWithTheirMessages)
{
    const CString noKind = gbk::lit("至少指定一种数字类型！");
    const CString badDecimals = gbk::lit("保留小数位数必须是0到5之间的整数！");
    const CString badRange = gbk::lit("数值范围设定无效！");
    const CString badCount = gbk::lit("生成个数设定无效！");

    EXPECT_EQ((NumberSettings{0, 0, 100, 80, 0, 9}).validate(), noKind);
    EXPECT_EQ((NumberSettings{0, 1, 100, 80, 0, 6}).validate(), badDecimals);
    EXPECT_EQ((NumberSettings{1, 1, 80, 100, 5, -1}).validate(), badDecimals);
    EXPECT_EQ((NumberSettings{1, 0, 80, 100, 5, 9}).validate(), "");
    EXPECT_EQ((NumberSettings{1, 0, 100, 80, 0, 9}).validate(), badRange);
    EXPECT_EQ((NumberSettings{0, 1, 80.5f, 80.5f, 1, 1}).validate(), "");
    EXPECT_EQ((NumberSettings{1, 0, 0.1f, 0.1f, 1, 0}).validate(), "");
    EXPECT_EQ(NumberSettings::fromFields(1, 0, "80", "100", "", "2").validate(), badCount);
    EXPECT_EQ((NumberSettings{1, 0, 80, 100, -3, 2}).validate(), badCount);
    // Equal text bounds pass: they give the same single-precision value.
    EXPECT_EQ(NumberSettings::fromFields(0, 1, "0.7", "0.70", "1", "2").rangeMax,
              NumberSettings::fromFields(0, 1, "0.7", "0.70", "1", "2").rangeMin);
}

TEST(NumberCheck, FailingCheckNeitherDrawsNorSeeds)
{
    auto c = ScopedCore::scripted({});
    std::srand(12345);
    const int expected = std::rand();
    std::srand(12345);
    EXPECT_NE(NumberSettings{}.validate(), "");
    EXPECT_NE((NumberSettings{0, 1, 80.11f, 80.19f, 5, 1}).validate(), "");
    EXPECT_EQ(std::rand(), expected);
    EXPECT_TRUE(c.random().draws().empty());

    // A passing check seeds with the time and still draws nothing.
    std::srand(12345);
    const std::time_t before = std::time(nullptr);
    EXPECT_EQ((NumberSettings{1, 1, 80, 100, 5, 2}).validate(), "");
    const int first = std::rand();
    const std::time_t after = std::time(nullptr);
    std::vector<int> seeded;
    for (std::time_t t = before; t <= after; ++t) {
        std::srand(unsigned(t));
        seeded.push_back(std::rand());
    }
    EXPECT_NE(std::find(seeded.begin(), seeded.end(), first), seeded.end());
    EXPECT_TRUE(c.random().draws().empty());
}

TEST(NumberFields, TextsReadLikeTheCRuntime)
{
    EXPECT_EQ(numberFieldInt(""), 0);
    EXPECT_EQ(numberFieldInt("12abc"), 12);
    EXPECT_EQ(numberFieldInt(" -7"), -7);
    EXPECT_EQ(numberFieldInt("abc"), 0);
    EXPECT_EQ(numberFieldInt("99999999999"), INT_MAX);

    EXPECT_EQ(numberFieldBound(""), 0.0f);
    EXPECT_EQ(numberFieldBound("0.1"), 0.1f);
    EXPECT_EQ(double(numberFieldBound("0.1")), 0.100000001490116119384765625);
    EXPECT_EQ(numberFieldBound("  -2.5xyz"), -2.5f);
    EXPECT_EQ(numberFieldBound("12abc"), 12.0f);
    EXPECT_EQ(numberFieldBound("abc"), 0.0f);
    EXPECT_EQ(numberFieldBound("1e3"), 1000.0f);
    EXPECT_TRUE(std::isinf(numberFieldBound("1e40")));
    EXPECT_TRUE(std::isinf(numberFieldBound("-inf")));
    EXPECT_TRUE(std::isnan(numberFieldBound("nan")));
    EXPECT_EQ(numberFieldBound("1e-50"), 0.0f);
    // Just below the rounding point to infinity: the largest float.
    EXPECT_EQ(numberFieldBound("3.4028235e38"), 3.4028234663852886e38f);
    // The decimal point is always a point: a comma ends the number.
    EXPECT_EQ(numberFieldBound("80,5"), 80.0f);

    const NumberSettings s = NumberSettings::fromFields(1, 0, "80.9", "100.9", "10", "x");
    EXPECT_EQ(s.isInt, 1);
    EXPECT_EQ(s.rangeMin, 80.9f);
    EXPECT_EQ(s.rangeMax, 100.9f);
    EXPECT_EQ(s.count, 10);
    EXPECT_EQ(s.decimals, 0);
}

TEST(NumberCheck, FloatRangeWithoutAnyValueIsRefused)
{
    const CString noValue = gbk::lit("数值范围内没有可生成的浮点数，请放宽数值范围！");
    EXPECT_EQ((NumberSettings{0, 1, 80.11f, 80.19f, 5, 1}).validate(), noValue);
    EXPECT_EQ((NumberSettings{0, 1, 0.7f, 0.7f, 5, 1}).validate(), noValue);
    EXPECT_EQ((NumberSettings{1, 1, 0.7f, 0.7f, 5, 1}).validate(), noValue); // a float row would never end
    EXPECT_EQ((NumberSettings{1, 0, 0.7f, 0.7f, 5, 1}).validate(), "");
    EXPECT_EQ((NumberSettings{0, 1, 80.11f, 80.19f, 5, 2}).validate(), "");
    EXPECT_EQ((NumberSettings{0, 1, 80, 80, 5, 1}).validate(), "");

    // The decision agrees with trying every pair, on many narrow ranges.
    auto c = ScopedCore::seeded("narrow");
    std::mt19937 rng(7);
    int with = 0, without = 0;
    for (int i = 0; i < 20000; ++i) {
        const int d = int(rng() % 6);
        const float m = float(std::uniform_real_distribution<double>(-300, 300)(rng));
        const float width = float(std::uniform_real_distribution<double>(0, 3.5)(rng) / std::pow(10, d));
        const float M = m + width;
        const bool expect = someFloatPairAccepted(m, M, d);
        ASSERT_EQ(floatRangeHasValue(m, M, d), expect) << m << ".." << M << " d=" << d;
        (expect ? with : without)++;
        if (expect && i % 20 == 0) {
            ASSERT_GE(drawFloatValue(m, M, d), double(m));
        }
    }
    EXPECT_GT(without, 1000);
    EXPECT_GT(with, 1000);
}

TEST(NumberCheck, BoundsOutsideTheDrawableRangeAreRefused)
{
    const CString notFinite = gbk::lit("数值范围必须是有限的数字！");
    const CString intRange = gbk::lit("整数的数值范围必须在-2147483647到2147483647之间！");
    for (const char* text : {"inf", "nan", "1e40"}) {
        EXPECT_EQ(NumberSettings::fromFields(1, 1, "0", text, "5", "2").validate(), notFinite) << text;
        EXPECT_EQ(NumberSettings::fromFields(1, 0, "-1e40", text, "5", "2").validate(), notFinite) << text;
    }
    EXPECT_EQ(NumberSettings::fromFields(1, 0, "nan", "1", "5", "2").validate(), notFinite);

    EXPECT_EQ(ints(0, 2147483648.0f).validate(), intRange);
    EXPECT_EQ(ints(-2147483648.0f, 0).validate(), intRange);
    EXPECT_EQ(ints(-2147483520.0f, 2147483520.0f).validate(), "");
    EXPECT_EQ(floats(0, 21475, 5).validate(),
              gbk::lit("保留5位小数时，数值范围必须在-21474.83647到21474.83647之间！"));
    EXPECT_EQ((NumberSettings{1, 1, -21475, 0, 1, 5}).validate(),
              gbk::lit("保留5位小数时，数值范围必须在-21474.83647到21474.83647之间！"));
    EXPECT_EQ(floats(0, 3e9f, 0).validate(),
              gbk::lit("保留0位小数时，数值范围必须在-2147483647到2147483647之间！"));
    EXPECT_EQ(floats(0, 2.2e8f, 1).validate(),
              gbk::lit("保留1位小数时，数值范围必须在-214748364.7到214748364.7之间！"));
    EXPECT_EQ(floats(-21474.8f, 21474.8f, 5).validate(), "");

    // Near the top of the range the pair's sum passes 2^31 - 1; it is folded
    // back as any other overshoot.
    auto c = ScopedCore::scripted({2, 2147483007, 10000});
    EXPECT_EQ(drawNumberRow(floats(21474, 21474.83f, 5)), "21474.83008");
}

TEST(NumberCheck, CountBeyondWhatARunCanShowIsRefused)
{
    EXPECT_EQ(ints(80, 100, kMaxNumberRows).validate(), "");
    EXPECT_EQ(ints(80, 100, kMaxNumberRows + 1).validate(),
              gbk::lit("生成个数不能超过") + std::to_string(kMaxNumberRows) + gbk::lit("个！"));
    EXPECT_EQ(ints(80, 100, INT_MAX).validate(INT_MAX), "");
}
