#include "core/random.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <random>
#include <stdexcept>
#include <vector>

namespace {
// The loop drawUntil and drawUntilIn stand for: draw until bit r - lo of wanted is set.
int loopUntil(RandomGen& g, int lo, int hi, uint64_t wanted)
{
    for (;;)
        if (const int r = g.getRandInt(lo, hi); (wanted >> (r - std::min(lo, hi))) & 1u)
            return r;
}

// Pearson's statistic of draws of getRandInt(lo, hi) sorted into buckets,
// against the exact share of each bucket among the values lo..hi.
template <class Bucket>
double chiSquare(RandomGen& g, int lo, int hi, int buckets, int draws, Bucket bucket)
{
    const auto n = std::size_t(buckets);
    std::vector<double> expected(n), counts(n);
    for (long long v = lo; v <= hi; ++v)
        expected[std::size_t(bucket(int(v)))] += double(draws) / double(hi - lo + 1LL);
    for (int i = 0; i < draws; ++i)
        ++counts[std::size_t(bucket(g.getRandInt(lo, hi)))];
    double chi = 0;
    for (std::size_t i = 0; i < counts.size(); ++i)
        chi += (counts[i] - expected[i]) * (counts[i] - expected[i]) / expected[i];
    return chi;
}
} // namespace

TEST(RandomGen, StaysWithinBoundsAndReachesBothEnds)
{
    RandomGen g = RandomGen::seeded("bounds");
    // Reversed bounds are swapped. Each lane width at its largest range and
    // at the ends of the int range, and the widest ranges.
    const struct { int lo, hi; } ranges[] = {{-3, 3}, {5, 1}, {7, 7}, {INT_MIN, INT_MIN}, {INT_MAX, INT_MAX},
                                             {INT_MAX - 1, INT_MAX}, {INT_MIN, INT_MIN + 3}, {-1, 1},
                                             {INT_MAX - 65534, INT_MAX}, {INT_MIN, INT_MIN + 65535}, {-65536, 0},
                                             {0, 2000000000}, {INT_MIN, INT_MAX}};
    for (const auto& r : ranges) {
        const int lo = std::min(r.lo, r.hi), hi = std::max(r.lo, r.hi);
        const int64_t near = (int64_t(hi) - lo) / 100000; // 0, so the very ends, below 2^16 values
        bool sawLo = false, sawHi = false;
        for (int i = 0; i < 1000000; ++i) {
            const int x = g.getRandInt(r.lo, r.hi);
            ASSERT_TRUE(x >= lo && x <= hi) << x << " from " << r.lo << ".." << r.hi;
            sawLo |= x - int64_t(lo) <= near;
            sawHi |= hi - int64_t(x) <= near;
        }
        EXPECT_TRUE(sawLo && sawHi) << r.lo << ".." << r.hi;
    }
}

TEST(RandomGen, EveryLaneWidthIsUniformByChiSquare)
{
    RandomGen g = RandomGen::seeded("chi-square");
    auto self = [](int r) { return r; };
    // Critical values: the 0.999 quantiles for 1, 3, 9, 2 and 15 degrees of
    // freedom (fixed seed, so the outcome is stable).
    EXPECT_LT(chiSquare(g, 0, 1, 2, 400000, self), 10.83); // 2-bit fields
    EXPECT_LT(chiSquare(g, 0, 3, 4, 400000, self), 16.27);
    EXPECT_LT(chiSquare(g, 0, 9, 10, 1000000, self), 27.88); // 16-bit lanes
    // 3 * 2^14 values: mapping a 16-bit lane without rejection would give
    // residue 0 half of the draws; rejection makes the residues equal.
    EXPECT_LT(chiSquare(g, 0, 3 * (1 << 14) - 1, 3, 600000, [](int r) { return r % 3; }), 13.82);
    // Just above 2^16 values: 32-bit lanes, in 16 slices of the range.
    EXPECT_LT(chiSquare(g, -1, 65535, 16, 800000, [](int r) { return (r + 1) / 4097; }), 37.70);

    // With 3 * 2^30 values a modulo draw would make the lower third twice as
    // likely as the rest; an unbiased draw puts about a third in each.
    int thirds[3] = {};
    for (int i = 0; i < 300000; ++i)
        ++thirds[(int64_t(g.getRandInt(INT_MIN, (1 << 30) - 1)) - INT_MIN) >> 30];
    for (int t : thirds)
        EXPECT_NEAR(t / 300000.0, 1.0 / 3, 0.01);
}

TEST(RandomGen, MovedSourceGoesOnAndTheOldOneCannotDraw)
{
    RandomGen a = RandomGen::seeded("move"), ref = RandomGen::seeded("move");
    for (int i = 0; i < 5000; ++i)
        ASSERT_EQ(a.getRandInt(0, 99), ref.getRandInt(0, 99));
    ASSERT_EQ(a.getRandInt(1, 2), ref.getRandInt(1, 2)); // a pool word in use
    RandomGen b = std::move(a);
    for (int i = 0; i < 5000; ++i)
        ASSERT_TRUE(b.getRandInt(0, 99) == ref.getRandInt(0, 99) && b.getRandInt(1, 4) == ref.getRandInt(1, 4));
    EXPECT_THROW(a.getRandInt(0, 99), std::logic_error);
    EXPECT_THROW(a.getRandInt(1, 2), std::logic_error);
}

TEST(RandomGen, SecureSourcesDifferAndScriptedSourcesRecordAndRejectMisuse)
{
    RandomGen a = RandomGen::secure(), b = RandomGen::secure();
    int same = 0;
    for (int i = 0; i < 64; ++i)
        same += a.getRandInt(INT_MIN, INT_MAX) == b.getRandInt(INT_MIN, INT_MAX);
    EXPECT_LT(same, 3);

    RandomGen g = RandomGen::scripted({3, 9});
    EXPECT_EQ(g.getRandInt(4, 1), 3);
    EXPECT_THROW(g.getRandInt(1, 4), std::logic_error); // 9 is outside 1..4
    EXPECT_THROW(g.getRandInt(1, 4), std::logic_error); // exhausted
}

TEST(RandomGen, NumberedStreamsDependOnlyOnTheKeyAndTheIndex)
{
    // Three refills' worth of raw words from stream `index`, after whatever
    // the source drew before.
    auto words = [](RandomGen& g, uint64_t index) {
        g.startStream(index);
        std::vector<uint32_t> w(3 * 4096);
        for (uint32_t& x : w)
            x = g.next32();
        return w;
    };
    RandomGen a = RandomGen::seeded("streams");
    RandomGen b = a.sameKey();
    for (int i = 0; i < 9000; ++i) // running stream, a pool word, then another stream
        b.getRandInt(0, 9), b.getRandInt(1, 2);
    words(b, 2);
    b.getRandInt(1, 4);
    const std::vector<uint32_t> s7 = words(a, 7);
    EXPECT_EQ(s7, words(b, 7));

    // Each refill reads on from where the last one stopped: no 16 KiB stretch repeats.
    const auto chunk = [&](int i) { return std::vector<uint32_t>(s7.begin() + 4096 * i, s7.begin() + 4096 * (i + 1)); };
    EXPECT_TRUE(chunk(0) != chunk(1) && chunk(1) != chunk(2) && chunk(0) != chunk(2));
    // Other streams, the running stream and other keys give other words.
    RandomGen running = RandomGen::seeded("streams");
    std::vector<uint32_t> r(s7.size());
    for (uint32_t& x : r)
        x = running.next32();
    RandomGen other = RandomGen::seeded("streams2");
    for (const auto& w : {words(a, 8), words(a, 0), r, words(other, 7)}) {
        int same = 0;
        for (std::size_t i = 0; i < w.size(); ++i)
            same += w[i] == s7[i];
        EXPECT_LT(same, 3);
    }

    RandomGen scripted = RandomGen::scripted({1});
    EXPECT_THROW(scripted.sameKey(), std::logic_error);
    EXPECT_THROW(scripted.startStream(0), std::logic_error);
    EXPECT_THROW(a.startStream(uint64_t(1) << 63), std::logic_error);
}

TEST(RandomGen, Lane16DrawIsGetRandIntWithoutTheChecks)
{
    RandomGen a = RandomGen::seeded("lane16"), b = RandomGen::seeded("lane16");
    // Across refills, and with n = 3 * 2^14 half the lanes take the retry path.
    for (const uint32_t n : {3u, 5u, 10u, 26u, 3u << 14, 65535u})
        for (int i = 0; i < 30000; ++i) {
            const int lo = i % 7 - 3;
            ASSERT_EQ(a.getRandInt(lo, int(lo + n - 1)), b.drawLane16(lo, n)) << n;
        }
}

// Both must take exactly the draws of the plain loops, mixed with plain draws
// of the same ranges and of other widths, which take fields of the same pool
// or lanes of the same buffer, across many refills at every offset.
TEST(RandomDrawUntil, TakesTheSameDrawsAsTheLoop)
{
    RandomGen fast = RandomGen::seeded("until"), plain = RandomGen::seeded("until");
    std::mt19937 pick(3);
    for (int i = 0; i < 100000; ++i) {
        const uint32_t four = 1 + pick() % 15, two = 1 + pick() % 3; // every wanted set of 4 and 2 values
        ASSERT_EQ(fast.drawUntilIn(1, 4, four), loopUntil(plain, 1, 4, four)) << i;
        ASSERT_EQ(fast.drawUntilIn(10, 9, two), loopUntil(plain, 9, 10, two)) << i;
        fast.drawUntil(-4, -5, -5 + i % 2); // reversed bounds
        loopUntil(plain, -5, -4, 1u << (i % 2));
        const unsigned mix = pick(); // other draws between, at varying offsets
        ASSERT_TRUE((mix & 1) || fast.getRandInt(0, 3) == plain.getRandInt(0, 3));
        ASSERT_TRUE((mix & 2) || fast.getRandInt(0, 25) == plain.getRandInt(0, 25));
        ASSERT_TRUE((mix & 4) || fast.getRandInt(0, 1 << 20) == plain.getRandInt(0, 1 << 20));
        ASSERT_TRUE((mix & 8) || fast.drawUntilIn(0, 4, 0b10010) == loopUntil(plain, 0, 4, 0b10010));
        if ((mix & 48) == 0) { // more than 32 values: the plain loop
            fast.drawUntil(0, 40, 7);
            loopUntil(plain, 0, 40, 1u << 7);
        }
    }
    ASSERT_EQ(fast.getRandInt(INT_MIN, INT_MAX), plain.getRandInt(INT_MIN, INT_MAX));
    EXPECT_EQ(fast.drawUntilIn(6, 6, 1), 6);
}

TEST(RandomDrawUntil, MisuseThrowsInsteadOfLoopingForever)
{
    // A wanted value outside the range, none in it, or a range too wide.
    RandomGen g = RandomGen::scripted({2});
    EXPECT_THROW(g.drawUntilIn(1, 4, 0), std::logic_error);
    EXPECT_THROW(g.drawUntilIn(1, 4, 0b110000), std::logic_error);
    EXPECT_THROW(g.drawUntilIn(0, 32, 1), std::logic_error);
    RandomGen s = RandomGen::seeded("misuse");
    EXPECT_THROW(s.drawUntilIn(INT_MIN, INT_MAX, 1), std::logic_error);
}
