#include "core/random.h"

#include <gtest/gtest.h>

#include <climits>

// drawUntil must take exactly the draws of the plain loop it replaces.
TEST(RandomDrawUntil, TakesTheSameDrawsAsTheLoop)
{
    for (int want : {1, 2}) {
        RandomGen fast = RandomGen::seeded("until"), plain = RandomGen::seeded("until");
        for (int i = 0; i < 20000; ++i) { // crosses many refills
            fast.drawUntil(1, 2, want);
            while (plain.getRandInt(1, 2) != want) {
            }
            if (i % 3 == 0) { // interleave other draws so rows end at every offset
                ASSERT_EQ(fast.getRandInt(0, 1000000), plain.getRandInt(0, 1000000));
            }
        }
        EXPECT_EQ(fast.getRandInt(INT_MIN, INT_MAX), plain.getRandInt(INT_MIN, INT_MAX));
    }
    // Reversed and negative bounds, and a range that is not two values wide.
    RandomGen fast = RandomGen::seeded("until-2"), plain = RandomGen::seeded("until-2");
    for (int i = 0; i < 5000; ++i) {
        fast.drawUntil(-4, -5, -5);
        fast.drawUntil(0, 6, 3);
        while (plain.getRandInt(-5, -4) != -5) {
        }
        while (plain.getRandInt(0, 6) != 3) {
        }
    }
    EXPECT_EQ(fast.getRandInt(INT_MIN, INT_MAX), plain.getRandInt(INT_MIN, INT_MAX));
}

TEST(RandomDrawUntil, ScriptedDrawsAreRecordedAndWantOutsideRangeDrawsNothing)
{
    RandomGen g = RandomGen::scripted({2, 2, 1, 5});
    g.drawUntil(1, 2, 1);
    ASSERT_EQ(g.draws().size(), 3u);
    EXPECT_EQ(g.draws()[2].result, 1);
    g.drawUntil(1, 2, 3);
    EXPECT_EQ(g.draws().size(), 3u);
    EXPECT_EQ(g.getRandInt(0, 9), 5);
}
