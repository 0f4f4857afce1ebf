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
    const char* end = numtext::putFixed(buf, buf + sizeof buf, v, decimals);
    const char* begin = buf;
    return end ? std::string(begin, end) : std::string("<too small>");
}

std::string printfFixed(double v, int decimals)
{
    char buf[400];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
    return buf;
}

} // namespace

TEST(NumberText, IntegersMatchPrintf)
{
    std::mt19937 rng(1);
    char buf[numtext::kIntChars], want[16];
    for (int i = 0; i < 100000; ++i) {
        const int v = i < 3 ? (i == 0 ? INT_MIN : i == 1 ? INT_MAX : 0) : int(rng());
        std::snprintf(want, sizeof want, "%d", v);
        ASSERT_EQ(std::string(buf, numtext::putInt(buf, v)), want);
    }
}

TEST(NumberText, FixedMatchesPrintfOnValuesHeldInSinglePrecision)
{
    std::mt19937_64 rng(2);
    std::uniform_real_distribution<double> wide(-30000, 30000), rows(-200, 200);
    for (int i = 0; i < 400000; ++i) {
        float f;
        switch (i % 4) {
        case 0: f = float(wide(rng)); break;
        case 1: f = float(rows(rng)); break;
        case 2: // values on a grid of 1/1000 (near many halfway points) and their neighbours
            f = std::nextafter(float(double(int64_t(rng() % 400001) - 200000) / 1000), i % 8 < 4 ? 1e9f : -1e9f);
            break;
        default: { // any finite float, of any size
            const uint32_t bits = uint32_t(rng());
            std::memcpy(&f, &bits, sizeof f);
            if (!std::isfinite(f))
                f = -0.0f;
        }
        }
        for (int d = 0; d <= 5; ++d)
            ASSERT_EQ(fixed(f, d), printfFixed(f, d)) << double(f) << " d=" << d;
    }
}

TEST(NumberText, FixedRoundsExactHalvesToEvenAsPrintfDoes)
{
    // Exact binary halves at each count of decimals, both signs, and zero.
    for (double v : {0.5, 1.5, 2.5, 3.5, 0.25, 0.75, 0.125, 0.375, 0.625, 0.0625, 0.03125, 1.03125, 0.015625,
                     0.046875, 80.125, 99.995, 100.005, 0.0, 1e-40, 1e-3, 5e-6}) {
        for (int d = 0; d <= 5; ++d) {
            EXPECT_EQ(fixed(v, d), printfFixed(v, d)) << v << " d=" << d;
            EXPECT_EQ(fixed(-v, d), printfFixed(-v, d)) << -v << " d=" << d;
        }
    }
    EXPECT_EQ(fixed(2.5, 0), "2");
    EXPECT_EQ(fixed(0.125, 2), "0.12");
    EXPECT_EQ(fixed(-0.001, 2), "-0.00");
    EXPECT_EQ(fixed(10000.123046875, 5), "10000.12305");
}

TEST(NumberText, OtherDoublesAndSmallBuffers)
{
    std::mt19937_64 rng(3);
    for (int i = 0; i < 20000; ++i) {
        double v;
        const uint64_t bits = rng();
        std::memcpy(&v, &bits, sizeof v);
        if (!std::isfinite(v) || std::fabs(v) > 1e30)
            v = 0.1 * double(int64_t(rng() % 2000001) - 1000000);
        const int d = int(rng() % 10);
        ASSERT_EQ(fixed(v, d), printfFixed(v, d)) << v << " d=" << d;
    }
    char buf[8];
    EXPECT_EQ(numtext::putFixed(buf, buf + 5, 123.25, 2), nullptr);
    EXPECT_EQ(numtext::putFixed(buf, buf + 6, 123.25, 2), buf + 6);
    EXPECT_EQ(std::string(buf, 6), "123.25");
    EXPECT_EQ(numtext::putFixed(buf, buf + 5, -0.25, 2), buf + 5);
    EXPECT_EQ(numtext::putFixed(buf, buf + 4, -0.25, 2), nullptr);
    EXPECT_EQ(numtext::putFixed(buf, buf + 5, 0.1, 9), nullptr);
}
