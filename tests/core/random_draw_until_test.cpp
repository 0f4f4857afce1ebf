#include "core/random.h"

#include <gtest/gtest.h>

#include <climits>

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
