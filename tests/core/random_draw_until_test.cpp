#include "core/random.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <random>
#include <stdexcept>

namespace {
// The loop drawUntil and drawUntilIn stand for.
int loopUntilIn(RandomGen& g, int lo, int hi, uint32_t wanted)
{
    for (;;) {
        const int r = g.getRandInt(lo, hi);
        if ((wanted >> (r - std::min(lo, hi))) & 1u)
            return r;
    }
}
} // namespace

// drawUntil must take exactly the draws of the plain loop it replaces.
TEST(RandomDrawUntil, TakesTheSameDrawsAsTheLoop)
{
    RandomGen fast = RandomGen::seeded("until"), plain = RandomGen::seeded("until");
    for (int i = 0; i < 30000; ++i) { // crosses many refills, at every offset
        const int want = 1 + i % 2;
        fast.drawUntil(1, 2, want);
        while (plain.getRandInt(1, 2) != want) {
        }
        fast.drawUntil(-4, -5, -5); // reversed bounds
        while (plain.getRandInt(-5, -4) != -5) {
        }
        if (i % 3 == 0) { // a wider range takes the plain loop
            fast.drawUntil(0, 6, 3);
            while (plain.getRandInt(0, 6) != 3) {
            }
        }
        ASSERT_EQ(fast.getRandInt(INT_MIN, INT_MAX), plain.getRandInt(INT_MIN, INT_MAX));
    }

    RandomGen g = RandomGen::scripted({2, 2, 1, 5});
    g.drawUntil(1, 2, 1);
    EXPECT_EQ(g.draws().size(), 3u);
    g.drawUntil(1, 2, 3); // never given: nothing drawn
    EXPECT_EQ(g.getRandInt(0, 9), 5);
}

// Every wanted set of 2 and 4 values, mixed with plain draws of the same
// ranges and of other widths, which take fields of the same pool or lanes of
// the same buffer.
TEST(RandomDrawUntil, WantedSetsTakeTheSameDrawsAsTheLoop)
{
    RandomGen fast = RandomGen::seeded("until in"), plain = RandomGen::seeded("until in");
    std::mt19937 pick(3);
    for (int i = 0; i < 100000; ++i) {
        const uint32_t four = 1 + pick() % 15, two = 1 + pick() % 3;
        ASSERT_EQ(fast.drawUntilIn(1, 4, four), loopUntilIn(plain, 1, 4, four)) << i;
        ASSERT_EQ(fast.drawUntilIn(10, 9, two), loopUntilIn(plain, 9, 10, two)) << i;
        switch (pick() % 4) {
        case 0:
            ASSERT_EQ(fast.getRandInt(0, 3), plain.getRandInt(0, 3));
            break;
        case 1:
            ASSERT_EQ(fast.getRandInt(0, 25), plain.getRandInt(0, 25));
            break;
        case 2:
            ASSERT_EQ(fast.drawUntilIn(0, 4, 0b10010), loopUntilIn(plain, 0, 4, 0b10010));
            break;
        default:
            ASSERT_EQ(fast.getRandInt(0, 1 << 20), plain.getRandInt(0, 1 << 20));
        }
    }
    ASSERT_EQ(fast.getRandInt(INT_MIN, INT_MAX), plain.getRandInt(INT_MIN, INT_MAX));
    EXPECT_EQ(fast.drawUntilIn(6, 6, 1), 6);
}

TEST(RandomDrawUntil, WantedValuesAreEquallyLikely)
{
    RandomGen g = RandomGen::seeded("until even");
    int counts[4] = {};
    constexpr int kDraws = 300000;
    for (int i = 0; i < kDraws; ++i)
        ++counts[g.drawUntilIn(0, 3, 0b1101)];
    EXPECT_EQ(counts[1], 0);
    double chi = 0;
    for (int v : {0, 2, 3})
        chi += (counts[v] - kDraws / 3.0) * (counts[v] - kDraws / 3.0) / (kDraws / 3.0);
    EXPECT_LT(chi, 13.82); // 2 degrees of freedom, 0.999 quantile
}

TEST(RandomDrawUntil, ScriptedDrawsAndMisuse)
{
    RandomGen g = RandomGen::scripted({4, 3, 1, 2, 2});
    EXPECT_EQ(g.drawUntilIn(1, 4, 0b0011), 1);
    EXPECT_EQ(g.draws().size(), 3u);
    EXPECT_EQ(g.drawUntilIn(2, 1, 0b10), 2);
    EXPECT_EQ(g.remaining(), 1u);

    // No wanted value in the range, or a range too wide: refused, nothing drawn.
    EXPECT_THROW(g.drawUntilIn(1, 4, 0), std::logic_error);
    EXPECT_THROW(g.drawUntilIn(1, 4, 0b110000), std::logic_error);
    EXPECT_THROW(g.drawUntilIn(0, 32, 1), std::logic_error);
    EXPECT_EQ(g.remaining(), 1u);
    RandomGen s = RandomGen::seeded("misuse");
    EXPECT_THROW(s.drawUntilIn(INT_MIN, INT_MAX, 1), std::logic_error);
}
