#include "gen/number_gen.h"

#include "core/gbk.h"
#include "core/random.h"
#include "core/textutil.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <random>

namespace {

NumberSettings floats(float lo, float hi, int decimals, int count = 1) { return {0, 1, lo, hi, count, decimals}; }
NumberSettings ints(float lo, float hi, int count = 1) { return {1, 0, lo, hi, count, 0}; }

using Draws = std::vector<std::pair<int, int>>;

// The pairs (f, g) a floating-point draw may take, worked out independently
// of the generator: how many there are, how many are kept, and the rows the
// kept ones give with their counts. With `first`, it stops at the first kept pair.
struct Pairs {
    double all = 0, kept = 0;
    std::map<std::string, double> rows;
};
Pairs walkPairs(float m, float M, int decimals, bool first = false)
{
    const int p = int(std::pow(10, decimals));
    Pairs out;
    for (long long f = int(double(p) * m); f <= int(double(p) * M); ++f)
        for (int g = 0; g <= p / 10; ++g, ++out.all) {
            const double raw = double(f + g) / p, v = raw > M ? raw - double(0.1f) : raw;
            // Without decimals a folded value would be written as the whole number above M.
            if (v >= m && v <= M && (decimals > 0 || v == raw)) {
                char text[64];
                std::snprintf(text, sizeof text, "%.*f", decimals, double(float(v)));
                ++out.kept;
                out.rows[text] += 1;
                if (first)
                    return out;
            }
        }
    return out;
}

} // namespace

TEST(NumberRows, ExactRowsFromScriptedDraws)
{
    struct Case { NumberSettings s; std::vector<int> script; const char* row; Draws draws; };
    const Case cases[] = {
        {floats(80, 100, 2), {2, 9995, 10}, "99.95", {{1, 2}, {8000, 10000}, {0, 10}}}, // folded back
        {floats(10000, 10001, 5), {2, 1000012345, 0}, "10000.12305", {}},             // held as float
        {ints(-2.5f, -2.5f), {1, -2}, "-2", {{1, 2}, {-2, -2}}},
        // Below zero a value above the maximum, folded back or not, is drawn again.
        {floats(-100, -80.55f, 1), {2, -805, 1, -805, 0}, "-80.6", {{1, 2}, {-1000, -805}, {0, 1}, {-1000, -805}, {0, 1}}},
        {floats(-3, -1.5f, 0), {2, -1, 0, -2, 0}, "-2", {{1, 2}, {-3, -1}, {0, 0}, {-3, -1}, {0, 0}}},
        // -1 folds to -1.1, inside, but would be written as "-1", above the maximum.
        {floats(-3, -1.05f, 0), {2, -1, 0, -2, 0}, "-2", {{1, 2}, {-3, -1}, {0, 0}, {-3, -1}, {0, 0}}},
        {ints(80.9f, 100.9f), {1, 100}, "100", {{1, 2}, {80, 100}}},
        {floats(0.1f, 0.3f, 1), {2, 1, 0, 1, 1}, "0.2", {{1, 2}, {1, 3}, {0, 1}, {1, 3}, {0, 1}}}, // 0.1 redrawn
        {floats(80, 80, 1), {2, 800, 1, 800, 0}, "80.0", {}}, // 80.1 folds below 80, redrawn
        {ints(80, 100), {2, 2, 1, 85}, "85", {{1, 2}, {1, 2}, {1, 2}, {80, 100}}}, // kind drawn until int
        // Near the top of the 32-bit range the pair's sum passes 2^31 - 1.
        {floats(21474, 21474.83f, 5), {2, 2147483007, 10000}, "21474.83008", {}},
    };
    for (const Case& k : cases) {
        auto c = RandomGen::scripted(k.script);
        EXPECT_EQ(drawNumberRow(k.s, c), k.row);
        EXPECT_EQ(c.remaining(), 0u) << k.row;
        Draws draws;
        for (const auto& d : c.draws())
            draws.emplace_back(d.lo, d.hi);
        EXPECT_TRUE(k.draws.empty() || draws == k.draws) << k.row;
    }
}

TEST(NumberRows, SeededRunsStayInRangeAndStreamAlike)
{
    const NumberSettings s{1, 1, 80, 100, 100000, 2};
    auto c = RandomGen::seeded("statistics");
    const CString text = drawNumberRows(s, c);
    c = RandomGen::seeded("statistics");
    CString streamed;
    bool bounded = true; // chunks of whole rows, each at most the size asked for
    streamNumberRows(s, c, [&](std::string_view chunk) {
        streamed += chunk;
        bounded &= chunk.size() <= 256 && chunk.ends_with("\r\n");
    }, 256);
    EXPECT_TRUE(streamed == text && bounded);
    EXPECT_EQ(drawNumberRows(ints(80, 100, 0), c), "");

    int rows = 0;
    for (std::size_t start = 0, end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2, ++rows) {
        const std::string row = text.substr(start, end - start);
        const double v = std::strtod(row.c_str(), nullptr);
        ASSERT_TRUE((row.find('.') == row.npos || row.find('.') == row.size() - 3) && v >= 80 && v <= 100) << row;
    }
    EXPECT_EQ(rows, 100000);
}

TEST(NumberCheck, RulesInOrderThenTheRulesThatKeepDrawsDefinedAndFinite)
{
    const CString badCount = gbk::lit("生成个数设定无效！"), notFinite = gbk::lit("数值范围必须是有限的数字！"),
                  noValue = gbk::lit("数值范围内没有可生成的浮点数，请放宽数值范围！");
    const auto fields = [](const char* lo, const char* count) {
        return NumberSettings{1, 1, numberFieldBound(lo), numberFieldBound("1e39"), textutil::toInt(count), 2};
    };
    const std::pair<NumberSettings, CString> cases[] = {
        {{0, 0, 100, 80, 0, 9}, gbk::lit("至少指定一种数字类型！")},
        {{0, 1, 100, 80, 0, 6}, gbk::lit("保留小数位数必须是0到5之间的整数！")},
        {{1, 0, 100, 80, 0, 9}, gbk::lit("数值范围设定无效！")},
        {{1, 0, 80, 100, -3, 2}, badCount}, {fields("0", ""), badCount},
        {{1, 0, 80, 100, 5, 9}, ""}, {{0, 1, 80.5f, 80.5f, 1, 1}, ""},
        // Bounds held as float: "1e39" is infinite.
        {fields("inf", "5"), notFinite}, {fields("nan", "5"), notFinite}, {fields("1e40", "5"), notFinite},
        {ints(0, 2147483648.0f), gbk::lit("整数的数值范围必须在-2147483647到2147483647之间！")},
        {{1, 1, -21475, 0, 1, 5}, gbk::lit("保留5位小数时，数值范围必须在-21474.83647到21474.83647之间！")},
        {floats(0, 2.2e8f, 1), gbk::lit("保留1位小数时，数值范围必须在-214748364.7到214748364.7之间！")},
        {ints(-2147483520.0f, 2147483520.0f), ""}, {floats(-21474.8f, 21474.8f, 5), ""},
        // No float value to draw: the run would never end.
        {floats(80.11f, 80.19f, 1), noValue}, {floats(0.7f, 0.7f, 1), noValue}, {{1, 1, 0.7f, 0.7f, 5, 1}, noValue},
        // Below zero the only values left would lie above the maximum.
        {floats(-2.5f, -2.5f, 0), noValue}, {floats(-2868.9f, -2868.9f, 2), noValue}, {floats(-2.5f, -2.4f, 0), noValue},
        {floats(-80.5f, -80.05f, 0), noValue},
        {floats(-2.6f, -2.5f, 1), ""}, {floats(-0.5f, -0.5f, 5), ""},
        {ints(0.7f, 0.7f), ""}, {floats(80.11f, 80.19f, 2), ""},
        {ints(80, 100, kMaxNumberRows + 1), gbk::lit("生成个数不能超过") + std::to_string(kMaxNumberRows) + gbk::lit("个！")},
        {ints(80, 100, kMaxNumberRows), ""},
    };
    const auto message = [](const NumberSettings& s) {
        const auto invalid = s.validate();
        return invalid ? invalid->message : CString();
    };
    for (std::size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(message(cases[i].first), cases[i].second) << "case " << i;
    NumberSettings streamed = ints(80, 100, INT_MAX);
    streamed.maxCount = INT_MAX;
    EXPECT_EQ(message(streamed), "");
}

TEST(NumberCheck, FloatRangeDecisionAgreesWithTryingEveryPair)
{
    auto c = RandomGen::seeded("narrow");
    std::mt19937 rng(7);
    int with = 0, without = 0;
    for (int i = 0; i < 20000; ++i) { // many narrow ranges
        const int d = int(rng() % 6);
        const float m = float(std::uniform_real_distribution<double>(-300, 300)(rng));
        const float M = m + float(std::uniform_real_distribution<double>(0, 3.5)(rng) / std::pow(10, d));
        const bool expect = walkPairs(m, M, d, true).kept > 0;
        ASSERT_EQ(floatRangeHasValue(m, M, d), expect) << m << ".." << M << " d=" << d;
        ++(expect ? with : without);
        if (expect && i % 20 == 0) {
            const double v = drawFloatValue(c, m, M, d);
            ASSERT_TRUE(v >= double(m) && v <= double(M)) << v << " from " << m << ".." << M << " d=" << d;
        }
    }
    EXPECT_TRUE(with > 1000 && without > 1000);
}

// When hardly any pair is kept, a run draws once among the kept pairs: the
// values must come with the chances the redraw loop gives them, each kept
// pair equally likely.
TEST(NumberRows, NarrowRangesDrawOnceAmongKeptPairsWithTheLoopsChances)
{
    struct Case { float m, M; int d; };
    const Case cases[] = {{0.5f, 0.5f, 5}, {0.5f, 0.50003f, 5}, {-0.5f, -0.49998f, 5}, {80.1234f, 80.1236f, 4},
                          {-7.75f, -7.75f, 3}, {21474.8125f, 21474.8125f, 5}};
    for (const Case& k : cases) {
        // The chances of each row, from every pair the loop could draw.
        const Pairs pairs = walkPairs(k.m, k.M, k.d);
        const double keptPairs = pairs.kept, allPairs = pairs.all;
        // Something is kept, but so little that the loop would take long.
        ASSERT_TRUE(keptPairs > 0 && keptPairs * 64 < allPairs) << k.m;

        // One draw per row, among the kept pairs.
        auto c = RandomGen::scripted({2, 0, 2, int(keptPairs) - 1});
        drawNumberRows(floats(k.m, k.M, k.d, 2), c);
        const auto& d = c.draws();
        ASSERT_EQ(d.size(), 4u);
        EXPECT_TRUE(d[1].lo == 0 && d[1].hi == int(keptPairs) - 1 && d[3].hi == d[1].hi) << k.m;

        c = RandomGen::seeded("narrow-direct");
        constexpr int kRows = 200000;
        const CString rows = drawNumberRows(floats(k.m, k.M, k.d, kRows), c);
        std::map<std::string, int> seen;
        for (std::size_t at = 0, end; (end = rows.find("\r\n", at)) != std::string::npos; at = end + 2)
            ++seen[rows.substr(at, end - at)];
        for (const auto& [row, n] : seen)
            ASSERT_TRUE(pairs.rows.count(row)) << row << " is never kept in " << k.m << ".." << k.M;
        for (const auto& [row, count] : pairs.rows) {
            const double share = count / keptPairs, sigma = std::sqrt(share * (1 - share) / kRows);
            EXPECT_NEAR(seen[row] / double(kRows), share, 5 * sigma + 1e-9) << row << " in " << k.m << ".." << k.M;
        }
    }
}

TEST(NumberFields, TextsReadLikeTheCRuntime)
{
    EXPECT_EQ(double(numberFieldBound("0.1")), 0.100000001490116119384765625);
    EXPECT_TRUE(numberFieldBound("") == 0.0f && numberFieldBound("abc") == 0.0f);
    EXPECT_EQ(numberFieldBound("  -2.5xyz"), -2.5f);
    EXPECT_EQ(numberFieldBound("80,5"), 80.0f); // the decimal point is always '.'
}
