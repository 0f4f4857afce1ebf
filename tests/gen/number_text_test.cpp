#include "gen/number_text.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>

namespace {

std::string fixed(double v, int decimals)
{
    char buf[400];
    const char* begin = buf;
    const char* end = numtext::putFixed(buf, buf + sizeof buf, v, decimals);
    return end ? std::string(begin, end) : "<too small>";
}

std::string printfFixed(double v, int decimals)
{
    char buf[400];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
    return buf;
}

} // namespace

TEST(NumberText, MatchesPrintfOnManyValues)
{
    std::mt19937_64 rng(2);
    std::uniform_real_distribution<double> wide(-30000, 30000);
    char buf[numtext::kIntChars], want[16];
    for (int i = 0; i < 400000; ++i) {
        const int n = i == 0 ? INT_MIN : i == 1 ? INT_MAX : int(rng());
        std::snprintf(want, sizeof want, "%d", n);
        ASSERT_EQ(std::string(buf, numtext::putInt(buf, n)), want);

        float f;
        if (i % 3 == 0) {
            f = float(wide(rng));
        } else if (i % 3 == 1) { // next to a multiple of 1/1000, near many halfway points
            f = std::nextafter(float(double(int64_t(rng() % 400001) - 200000) / 1000), i % 2 ? 1e9f : -1e9f);
        } else { // any finite float, of any size
            const uint32_t bits = uint32_t(rng());
            std::memcpy(&f, &bits, sizeof f);
            f = std::isfinite(f) ? f : -0.0f;
        }
        for (int d = 0; d <= 5; ++d)
            ASSERT_EQ(fixed(f, d), printfFixed(f, d)) << double(f) << " d=" << d;
        if (i % 20 == 0) { // doubles not held as float, up to 9 decimals
            const double v = wide(rng) / 7;
            ASSERT_EQ(fixed(v, i % 10), printfFixed(v, i % 10)) << v;
        }
    }
}

TEST(NumberText, ExactHalvesRoundToEvenAndBuffersAreChecked)
{
    for (double v : {0.5, 1.5, 2.5, 0.25, 0.75, 0.125, 0.375, 0.0625, 0.03125, 1.03125, 0.015625, 80.125, 99.995,
                     0.0, 1e-40, 5e-6})
        for (int d = 0; d <= 5; ++d) {
            EXPECT_EQ(fixed(v, d), printfFixed(v, d)) << v << " d=" << d;
            EXPECT_EQ(fixed(-v, d), printfFixed(-v, d)) << -v << " d=" << d;
        }
    EXPECT_EQ(fixed(2.5, 0), "2");
    EXPECT_EQ(fixed(0.125, 2), "0.12");
    EXPECT_EQ(fixed(-0.001, 2), "-0.00");

    char buf[8];
    EXPECT_EQ(numtext::putFixed(buf, buf + 5, 123.25, 2), nullptr);
    EXPECT_EQ(numtext::putFixed(buf, buf + 6, 123.25, 2), buf + 6);
    EXPECT_EQ(numtext::putFixed(buf, buf + 4, -0.25, 2), nullptr);
    EXPECT_EQ(numtext::putFixed(buf, buf + 5, 0.1, 9), nullptr);
}
