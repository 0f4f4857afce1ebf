#include "core/random.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cmath>
#include <random>
#include <stdexcept>
#include <vector>

TEST(RandomGen, StaysWithinBoundsIncludingTheFullRange)
{
    RandomGen g = RandomGen::seeded("bounds");
    bool sawLo = false, sawHi = false;
    for (int i = 0; i < 200000; ++i) {
        const int r = g.getRandInt(-3, 3);
        ASSERT_GE(r, -3);
        ASSERT_LE(r, 3);
        sawLo |= r == -3;
        sawHi |= r == 3;
    }
    EXPECT_TRUE(sawLo && sawHi);
    EXPECT_EQ(g.getRandInt(7, 7), 7);
    EXPECT_EQ(g.getRandInt(INT_MIN, INT_MIN), INT_MIN);
    EXPECT_EQ(g.getRandInt(INT_MAX, INT_MAX), INT_MAX);
    bool neg = false, pos = false;
    for (int i = 0; i < 1000; ++i) {
        const int r = g.getRandInt(INT_MIN, INT_MAX);
        neg |= r < 0;
        pos |= r > 0;
    }
    EXPECT_TRUE(neg && pos);
    for (int i = 0; i < 100000; ++i) {
        const int r = g.getRandInt(0, 2000000000);
        ASSERT_GE(r, 0);
        ASSERT_LE(r, 2000000000);
    }
    // Each lane width at its largest range and at the ends of the int range:
    // both bounds are reached, nothing beyond them.
    const struct { int lo, hi; } edges[] = {{INT_MAX - 1, INT_MAX}, {INT_MIN, INT_MIN + 3}, {-1, 1},
                                            {INT_MAX - 65534, INT_MAX}, {INT_MIN, INT_MIN + 65535}, {-65536, 0}};
    for (const auto& e : edges) {
        bool lo = false, hi = false;
        for (int i = 0; i < 1000000; ++i) {
            const int r = g.getRandInt(e.lo, e.hi);
            ASSERT_TRUE(r >= e.lo && r <= e.hi) << r << " from " << e.lo << ".." << e.hi;
            lo |= r == e.lo;
            hi |= r == e.hi;
        }
        EXPECT_TRUE(lo && hi) << e.lo << ".." << e.hi;
    }
}

TEST(RandomGen, ReversedBoundsAreSwapped)
{
    RandomGen g = RandomGen::seeded("swap");
    for (int i = 0; i < 10000; ++i) {
        const int r = g.getRandInt(5, 1);
        ASSERT_GE(r, 1);
        ASSERT_LE(r, 5);
    }
}

namespace {
// Pearson's statistic of counts against expected shares (summing to 1).
double chiSquare(const std::vector<long>& counts, const std::vector<double>& shares)
{
    long total = 0;
    for (long c : counts)
        total += c;
    double chi = 0;
    for (std::size_t i = 0; i < counts.size(); ++i) {
        const double e = double(total) * shares[i];
        chi += (double(counts[i]) - e) * (double(counts[i]) - e) / e;
    }
    return chi;
}

// Counts of bucket(r) over draws of getRandInt(lo, hi), and the exact share
// of each bucket among the values lo..hi.
struct Histogram {
    std::vector<long> counts;
    std::vector<double> shares;
};
template <class Bucket>
Histogram histogram(RandomGen& g, int lo, int hi, int buckets, int draws, Bucket bucket)
{
    Histogram h{std::vector<long>(std::size_t(buckets)), std::vector<double>(std::size_t(buckets))};
    for (long long v = lo; v <= hi; ++v)
        h.shares[std::size_t(bucket(int(v)))] += 1.0 / double(int64_t(hi) - lo + 1);
    for (int i = 0; i < draws; ++i)
        ++h.counts[std::size_t(bucket(g.getRandInt(lo, hi)))];
    return h;
}
} // namespace

TEST(RandomGen, EveryLaneWidthIsUniformByChiSquare)
{
    RandomGen g = RandomGen::seeded("chi-square");
    auto chi = [](const Histogram& h) { return chiSquare(h.counts, h.shares); };
    auto self = [](int r) { return r; };
    // Critical values: the 0.999 quantiles for 1, 2, 3, 9 and 15 degrees of
    // freedom (fixed seed, so the outcome is stable).
    EXPECT_LT(chi(histogram(g, 0, 1, 2, 400000, self)), 10.83);   // 2-bit fields
    EXPECT_LT(chi(histogram(g, 0, 3, 4, 400000, self)), 16.27);
    EXPECT_LT(chi(histogram(g, 0, 9, 10, 1000000, self)), 27.88); // 16-bit lanes
    // 3 * 2^14 values: mapping a 16-bit lane without rejection would give
    // residue 0 half of the draws; rejection makes the residues equal.
    EXPECT_LT(chi(histogram(g, 0, 3 * (1 << 14) - 1, 3, 600000, [](int r) { return r % 3; })), 13.82);
    // Just above 2^16 values: 32-bit lanes, in 16 slices of the range.
    EXPECT_LT(chi(histogram(g, -1, 65535, 16, 800000, [](int r) { return (r + 1) / 4097; })), 37.70);
}

TEST(RandomGen, SingleValueDrawsTakeNothing)
{
    RandomGen a = RandomGen::seeded("single"), b = RandomGen::seeded("single");
    for (int i = 0; i < 50000; ++i) { // crosses refills of the pool and the buffer
        ASSERT_EQ(a.getRandInt(7, 7), 7);
        ASSERT_EQ(a.getRandInt(INT_MIN, INT_MIN), INT_MIN);
        ASSERT_EQ(a.getRandInt(i % 2 ? 0 : 1, i % 3), b.getRandInt(i % 2 ? 0 : 1, i % 3));
    }
    ASSERT_EQ(a.getRandInt(INT_MIN, INT_MAX), b.getRandInt(INT_MIN, INT_MAX));
}

TEST(RandomGen, LargeRangeHasNoModuloBias)
{
    // With 3 * 2^30 values a modulo draw would make the lower third twice as
    // likely as the rest; an unbiased draw puts about a third in each.
    RandomGen g = RandomGen::seeded("bias");
    const int lo = INT_MIN, hi = (1 << 30) - 1; // 3 * 2^30 values
    constexpr int kDraws = 300000;
    std::array<int, 3> thirds{};
    for (int i = 0; i < kDraws; ++i) {
        const long long r = g.getRandInt(lo, hi);
        ++thirds[int((r - lo) / (1LL << 30))];
    }
    for (int t : thirds)
        EXPECT_NEAR(double(t) / kDraws, 1.0 / 3, 0.01);
}

TEST(RandomGen, SeededStreamsRepeatAndDiffer)
{
    RandomGen a = RandomGen::seeded("same"), b = RandomGen::seeded("same"), c = RandomGen::seeded("other");
    std::mt19937 bounds(5);
    int differ = 0;
    for (int i = 0; i < 60000; ++i) { // every lane width, across many refills
        const int lo = int(bounds() % 2000) - 1000;
        const int hi = lo + int(bounds() >> (bounds() % 32));
        const int x = a.getRandInt(lo, hi);
        ASSERT_EQ(x, b.getRandInt(lo, hi)) << lo << ".." << hi;
        differ += x != c.getRandInt(lo, hi);
    }
    EXPECT_GT(differ, 40000);

    // Fixed expectation, the same on every machine: the seeded stream must
    // not change by accident.
    RandomGen d = RandomGen::seeded("kelvane");
    std::vector<int> first;
    for (int i = 0; i < 4; ++i) {
        first.push_back(d.getRandInt(0, 999));
        first.push_back(d.getRandInt(1, 4));
    }
    first.push_back(d.getRandInt(0, 1 << 20));
    first.push_back(d.getRandInt(INT_MIN, INT_MAX));
    EXPECT_EQ(first, std::vector<int>({458, 4, 934, 2, 531, 3, 797, 2, 241117, 1209245735}));
}

TEST(RandomGen, MovedSourceGoesOnAndTheOldOneCannotDraw)
{
    RandomGen a = RandomGen::seeded("move"), ref = RandomGen::seeded("move");
    for (int i = 0; i < 5000; ++i)
        ASSERT_EQ(a.getRandInt(0, 99), ref.getRandInt(0, 99));
    ASSERT_EQ(a.getRandInt(1, 2), ref.getRandInt(1, 2));
    RandomGen b = std::move(a);
    for (int i = 0; i < 5000; ++i) {
        ASSERT_EQ(b.getRandInt(0, 99), ref.getRandInt(0, 99));
        ASSERT_EQ(b.getRandInt(1, 4), ref.getRandInt(1, 4));
    }
    EXPECT_THROW(a.getRandInt(0, 99), std::logic_error);
    EXPECT_THROW(a.getRandInt(1, 2), std::logic_error);
}

TEST(RandomGen, SecureSourcesDiffer)
{
    RandomGen a = RandomGen::secure(), b = RandomGen::secure();
    int same = 0;
    for (int i = 0; i < 64; ++i)
        same += a.getRandInt(INT_MIN, INT_MAX) == b.getRandInt(INT_MIN, INT_MAX);
    EXPECT_LT(same, 3);
}

TEST(RandomGen, ScriptedSourceRecordsDrawsAndRejectsMisuse)
{
    RandomGen g = RandomGen::scripted({3, 9});
    EXPECT_TRUE(g.isScripted());
    EXPECT_EQ(g.getRandInt(1, 4), 3);
    EXPECT_EQ(g.remaining(), 1u);
    EXPECT_THROW(g.getRandInt(1, 4), std::logic_error); // 9 is outside 1..4
    EXPECT_THROW(g.getRandInt(1, 4), std::logic_error); // exhausted
    ASSERT_EQ(g.draws().size(), 2u);
    EXPECT_EQ(g.draws()[0].lo, 1);
    EXPECT_EQ(g.draws()[0].hi, 4);
}
