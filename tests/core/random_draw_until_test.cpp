#include "core/random.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <random>
#include <stdexcept>

namespace {
// The loop drawUntil and drawUntilIn stand for: draw until bit r - lo of wanted is set.
int loopUntil(RandomGen& g, int lo, int hi, uint64_t wanted)
{
    for (;;)
        if (const int r = g.getRandInt(lo, hi); (wanted >> (r - std::min(lo, hi))) & 1u)
            return r;
}
} // namespace

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

TEST(RandomDrawUntil, WantedValuesAreEquallyLikely)
{
    RandomGen g = RandomGen::seeded("until even");
    int counts[4] = {};
    for (int i = 0; i < 300000; ++i)
        ++counts[g.drawUntilIn(0, 3, 0b1101)];
    double chi = 0;
    for (int v : {0, 2, 3})
        chi += (counts[v] - 1e5) * (counts[v] - 1e5) / 1e5;
    EXPECT_TRUE(counts[1] == 0 && chi < 13.82) << chi; // 2 degrees of freedom, 0.999 quantile
}

TEST(RandomDrawUntil, ScriptedDrawsAndMisuse)
{
    RandomGen g = RandomGen::scripted({2, 2, 1, 4, 3, 1, 2, 2});
    g.drawUntil(1, 2, 1);
    EXPECT_EQ(g.draws().size(), 3u);
    EXPECT_EQ(g.drawUntilIn(1, 4, 0b0011), 1);
    EXPECT_EQ(g.drawUntilIn(2, 1, 0b10), 2);
    EXPECT_EQ(g.remaining(), 1u);

    // A wanted value outside the range, none in it, or a range too wide:
    // nothing drawn.
    g.drawUntil(1, 2, 3);
    EXPECT_THROW(g.drawUntilIn(1, 4, 0), std::logic_error);
    EXPECT_THROW(g.drawUntilIn(1, 4, 0b110000), std::logic_error);
    EXPECT_THROW(g.drawUntilIn(0, 32, 1), std::logic_error);
    EXPECT_EQ(g.getRandInt(1, 2), 2);
    RandomGen s = RandomGen::seeded("misuse");
    EXPECT_THROW(s.drawUntilIn(INT_MIN, INT_MAX, 1), std::logic_error);
}
