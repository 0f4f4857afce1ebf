#include "gen/number_text.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>

namespace {

// Whether putFixed writes v as printf's "%.*f" does, into a roomy buffer.
testing::AssertionResult likePrintf(double v, int decimals)
{
    char got[400], want[400];
    char* end = numtext::putFixed(got, got + sizeof got, v, decimals);
    std::snprintf(want, sizeof want, "%.*f", decimals, v);
    const std::string text = end ? std::string(got, end) : "<too small>";
    return text == want ? testing::AssertionSuccess() : testing::AssertionFailure() << want << " written as " << text;
}

} // namespace

TEST(NumberText, MatchesPrintfAndRefusesABufferTooSmall)
{
    // Exact halves round to even; negative values that round to zero keep their sign.
    for (double v : {0.5, 1.5, 2.5, 0.25, 0.75, 0.125, 0.375, 0.0625, 0.03125, 1.03125, 0.015625, 80.125, 99.995,
                     0.0, 1e-40, 5e-6, 0.001})
        for (int d = 0; d <= 5; ++d)
            EXPECT_TRUE(likePrintf(v, d) && likePrintf(-v, d));

    std::mt19937_64 rng(2);
    std::uniform_real_distribution<double> wide(-30000, 30000);
    char buf[numtext::kIntChars];
    for (int i = 0; i < 400000; ++i) {
        const int n = i == 0 ? INT_MIN : i == 1 ? INT_MAX : int(rng());
        ASSERT_EQ(std::string(buf, numtext::putInt(buf, n)), std::to_string(n)); // to_string is "%d"

        float f = float(wide(rng));
        if (i % 3 == 1) { // next to a multiple of 1/1000, near many halfway points
            f = std::nextafter(float(double(int64_t(rng() % 400001) - 200000) / 1000), i % 2 ? 1e9f : -1e9f);
        } else if (i % 3 == 2) { // any finite float, of any size
            const uint32_t bits = uint32_t(rng());
            std::memcpy(&f, &bits, sizeof f);
            f = std::isfinite(f) ? f : -0.0f;
        }
        for (int d = 0; d <= 5; ++d)
            ASSERT_TRUE(likePrintf(f, d));
        if (i % 20 == 0) { // doubles not held as float, up to 9 decimals
            ASSERT_TRUE(likePrintf(wide(rng) / 7, i % 10));
        }
    }

    // A buffer too small for the text is refused.
    char small[8];
    EXPECT_EQ(numtext::putFixed(small, small + 5, 123.25, 2), nullptr);
    EXPECT_EQ(numtext::putFixed(small, small + 6, 123.25, 2), small + 6);
    EXPECT_EQ(numtext::putFixed(small, small + 4, -0.25, 2), nullptr);
    EXPECT_EQ(numtext::putFixed(small, small + 5, 0.1, 9), nullptr);
}
