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

namespace {

NumberSettings floats(float lo, float hi, int decimals, int count = 1) { return {0, 1, lo, hi, count, decimals}; }
NumberSettings ints(float lo, float hi, int count = 1) { return {1, 0, lo, hi, count, 0}; }

using Draws = std::vector<std::pair<int, int>>;
Draws boundsOf(ScopedCore& c)
{
    Draws d;
    for (const auto& x : c.random().draws())
        d.push_back({x.lo, x.hi});
    return d;
}

// Whether any pair (f, g) of a floating-point draw is accepted, worked out
// independently of the generator.
bool someFloatPairAccepted(float m, float M, int decimals)
{
    const int p = int(std::pow(10, decimals));
    for (long long f = int(double(p) * m); f <= int(double(p) * M); ++f)
        for (int g = 0; g <= p / 10; ++g) {
            const double v = double(f + g) / p;
            if (!((v > M ? v - double(0.1f) : v) < m))
                return true;
        }
    return false;
}

} // namespace

TEST(NumberRows, ExactRowsFromScriptedDraws)
{
    struct Case { NumberSettings s; std::vector<int> script; const char* row; Draws draws; };
    const Case cases[] = {
        {floats(80, 100, 2), {2, 9995, 10}, "99.95", {{1, 2}, {8000, 10000}, {0, 10}}}, // folded back
        {floats(10000, 10001, 5), {2, 1000012345, 0}, "10000.12305", {}},             // held as float
        {ints(-2.5f, -2.5f), {1, -2}, "-2", {{1, 2}, {-2, -2}}},
        {floats(-2.5f, -2.5f, 0), {2, -2, 0}, "-2", {{1, 2}, {-2, -2}, {0, 0}}}, // -2.1 printed bare
        {ints(80.9f, 100.9f), {1, 100}, "100", {{1, 2}, {80, 100}}},
        {floats(0.1f, 0.3f, 1), {2, 1, 0, 1, 1}, "0.2", {{1, 2}, {1, 3}, {0, 1}, {1, 3}, {0, 1}}}, // 0.1 redrawn
        {floats(80, 80, 1), {2, 800, 1, 800, 0}, "80.0", {}}, // 80.1 folds below 80, redrawn
        {ints(80, 100), {2, 2, 1, 85}, "85", {{1, 2}, {1, 2}, {1, 2}, {80, 100}}}, // kind drawn until int
        {floats(80, 100, 2), {1, 2, 8500, 0}, "85.00", {}},
        // Near the top of the 32-bit range the pair's sum passes 2^31 - 1.
        {floats(21474, 21474.83f, 5), {2, 2147483007, 10000}, "21474.83008", {}},
    };
    for (const Case& k : cases) {
        auto c = ScopedCore::scripted(k.script);
        EXPECT_EQ(drawNumberRow(k.s), k.row);
        EXPECT_EQ(c.random().remaining(), 0u) << k.row;
        if (!k.draws.empty()) {
            EXPECT_EQ(boundsOf(c), k.draws) << k.row;
        }
    }
    auto c = ScopedCore::seeded("tenths");
    for (int i = 0; i < 2000; ++i)
        ASSERT_NE(drawNumberRow(floats(0.1f, 0.3f, 1)), "0.1");
}

TEST(NumberRows, RunsAppendsAndStreams)
{
    {
        auto c = ScopedCore::scripted({1, 90, 2, 8123, 4, 2, 8001, 0});
        EXPECT_EQ(drawNumberRows({1, 1, 80, 100, 3, 2}), "90\r\n81.27\r\n80.01\r\n");
        EXPECT_EQ(drawNumberRows(ints(80, 100, 0)), "");
        c.script({1, 7});
        std::string text = "x";
        appendNumberRow(ints(0, 10), text);
        EXPECT_EQ(text, "x7");
    }
    const NumberSettings s{1, 1, -50.5f, 1000.25f, 3000, 3};
    CString whole, joined;
    {
        auto c = ScopedCore::seeded("stream");
        whole = drawNumberRows(s);
    }
    auto c = ScopedCore::seeded("stream");
    streamNumberRows(s, [&](std::string_view chunk) {
        ASSERT_TRUE(chunk.size() <= 256 && chunk.ends_with("\r\n"));
        joined += chunk;
    }, 256);
    EXPECT_EQ(joined, whole);
}

TEST(NumberRows, SeededRunsStayInRangeWithAnEvenKindMix)
{
    auto c = ScopedCore::seeded("statistics");
    const CString text = drawNumberRows({1, 1, 80, 100, 100000, 2});
    int rows = 0, intRows = 0;
    for (std::size_t start = 0, end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
        const std::string row = text.substr(start, end - start);
        const std::size_t dot = row.find('.');
        ++rows;
        intRows += dot == std::string::npos;
        ASSERT_TRUE(dot == std::string::npos || row.size() - dot == 3) << row;
        const double v = std::strtod(row.c_str(), nullptr);
        ASSERT_TRUE(v >= 80 && v <= 100) << row;
    }
    EXPECT_EQ(rows, 100000);
    EXPECT_NEAR(intRows / 1e5, 0.5, 0.015);
}

TEST(NumberCheck, RulesInOrderWithTheirMessages)
{
    const CString noKind = gbk::lit("至少指定一种数字类型！"), badDecimals = gbk::lit("保留小数位数必须是0到5之间的整数！"),
                  badRange = gbk::lit("数值范围设定无效！"), badCount = gbk::lit("生成个数设定无效！");
    EXPECT_EQ((NumberSettings{0, 0, 100, 80, 0, 9}).validate(), noKind);
    EXPECT_EQ((NumberSettings{0, 1, 100, 80, 0, 6}).validate(), badDecimals);
    EXPECT_EQ((NumberSettings{1, 0, 80, 100, 5, 9}).validate(), "");
    EXPECT_EQ((NumberSettings{1, 0, 100, 80, 0, 9}).validate(), badRange);
    EXPECT_EQ((NumberSettings{0, 1, 80.5f, 80.5f, 1, 1}).validate(), "");
    EXPECT_EQ(NumberSettings::fromFields(1, 0, "80", "100", "", "2").validate(), badCount);
    EXPECT_EQ((NumberSettings{1, 0, 80, 100, -3, 2}).validate(), badCount);
}

TEST(NumberCheck, FailingCheckNeitherDrawsNorSeeds)
{
    auto c = ScopedCore::scripted({});
    std::srand(12345);
    const int expected = std::rand();
    std::srand(12345);
    EXPECT_NE(NumberSettings{}.validate(), "");
    EXPECT_NE(floats(80.11f, 80.19f, 1, 5).validate(), "");
    EXPECT_EQ(std::rand(), expected);

    // A passing check seeds with the time, and draws nothing either.
    const std::time_t before = std::time(nullptr);
    EXPECT_EQ((NumberSettings{1, 1, 80, 100, 5, 2}).validate(), "");
    const int first = std::rand();
    std::vector<int> seeded;
    for (std::time_t t = before; t <= std::time(nullptr); ++t) {
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
    EXPECT_EQ(numberFieldBound(""), 0.0f);
    EXPECT_EQ(double(numberFieldBound("0.1")), 0.100000001490116119384765625);
    EXPECT_EQ(numberFieldBound("  -2.5xyz"), -2.5f);
    EXPECT_EQ(numberFieldBound("abc"), 0.0f);
    EXPECT_EQ(numberFieldBound("80,5"), 80.0f); // the decimal point is always '.'
    EXPECT_EQ(numberFieldBound("1e40"), INFINITY);
    EXPECT_TRUE(std::isnan(numberFieldBound("nan")));
    EXPECT_EQ(numberFieldBound("3.4028235e38"), 3.4028234663852886e38f); // rounds to the largest float

    const NumberSettings s = NumberSettings::fromFields(1, 0, "80.9", "100.9", "10", "x");
    EXPECT_TRUE(s.isInt == 1 && s.isFloat == 0 && s.count == 10 && s.decimals == 0);
    EXPECT_TRUE(s.rangeMin == 80.9f && s.rangeMax == 100.9f);
}

TEST(NumberCheck, FloatRangeWithoutAnyValueIsRefused)
{
    const CString noValue = gbk::lit("数值范围内没有可生成的浮点数，请放宽数值范围！");
    EXPECT_EQ(floats(80.11f, 80.19f, 1).validate(), noValue);
    EXPECT_EQ(floats(0.7f, 0.7f, 1).validate(), noValue);
    EXPECT_EQ((NumberSettings{1, 1, 0.7f, 0.7f, 5, 1}).validate(), noValue); // a float row would never end
    EXPECT_EQ(ints(0.7f, 0.7f).validate(), "");
    EXPECT_EQ(floats(80.11f, 80.19f, 2).validate(), "");

    // The decision agrees with trying every pair, on many narrow ranges.
    auto c = ScopedCore::seeded("narrow");
    std::mt19937 rng(7);
    int with = 0, without = 0;
    for (int i = 0; i < 20000; ++i) {
        const int d = int(rng() % 6);
        const float m = float(std::uniform_real_distribution<double>(-300, 300)(rng));
        const float M = m + float(std::uniform_real_distribution<double>(0, 3.5)(rng) / std::pow(10, d));
        const bool expect = someFloatPairAccepted(m, M, d);
        ASSERT_EQ(floatRangeHasValue(m, M, d), expect) << m << ".." << M << " d=" << d;
        ++(expect ? with : without);
        if (expect && i % 20 == 0) {
            ASSERT_GE(drawFloatValue(m, M, d), double(m));
        }
    }
    EXPECT_TRUE(with > 1000 && without > 1000);
}

TEST(NumberCheck, UndrawableBoundsAndTooManyRowsAreRefused)
{
    const CString notFinite = gbk::lit("数值范围必须是有限的数字！");
    for (const char* text : {"inf", "nan", "1e40"})
        EXPECT_EQ(NumberSettings::fromFields(1, 1, text, "1e39", "5", "2").validate(), notFinite) << text;

    const CString intRange = gbk::lit("整数的数值范围必须在-2147483647到2147483647之间！");
    EXPECT_EQ(ints(0, 2147483648.0f).validate(), intRange);
    EXPECT_EQ(ints(-2147483520.0f, 2147483520.0f).validate(), "");
    const CString fiveDecimals = gbk::lit("保留5位小数时，数值范围必须在-21474.83647到21474.83647之间！");
    EXPECT_EQ((NumberSettings{1, 1, -21475, 0, 1, 5}).validate(), fiveDecimals);
    EXPECT_EQ(floats(0, 2.2e8f, 1).validate(), gbk::lit("保留1位小数时，数值范围必须在-214748364.7到214748364.7之间！"));
    EXPECT_EQ(floats(-21474.8f, 21474.8f, 5).validate(), "");

    EXPECT_EQ(ints(80, 100, kMaxNumberRows).validate(), "");
    EXPECT_EQ(ints(80, 100, kMaxNumberRows + 1).validate(),
              gbk::lit("生成个数不能超过") + std::to_string(kMaxNumberRows) + gbk::lit("个！"));
    EXPECT_EQ(ints(80, 100, INT_MAX).validate(INT_MAX), "");
}
