// Code page 936 conversion: strict both ways, whatever the system's ANSI code
// page is (the tests run once under an English and once under a Chinese one).
#include "sys/win32/cp936.h"

#include <gtest/gtest.h>

namespace {

TEST(Cp936, RoundTripsAsciiAndChineseText)
{
    const struct {
        std::string gbk;
        std::wstring wide;
    } cases[] = {
        {"", L""},
        {"abc 123\r\n", L"abc 123\r\n"},
        {"\xC9\xFA\xB3\xC9\xB3\xC9\xB9\xA6\xA3\xA1", L"生成成功！"},
        {"\xCB\xCE\xCC\xE5", L"宋体"},
        {"x\xA1\xAAy", L"x—y"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(cp936::toWide(c.gbk), c.wide) << c.gbk;
        EXPECT_EQ(cp936::fromWide(c.wide), c.gbk) << c.gbk;
    }
}

TEST(Cp936, RefusesBytesThatAreNotGbk)
{
    const std::string bad[] = {
        "\x81",         // lead byte cut off at the end
        "ab\xB0",       // the same after text
        "\xB0\x20",     // lead byte with a trail byte below 0x40
        "\xFF\xA1",     // 0xFF is no lead byte
        "\x81\x7F",     // 0x7F is no trail byte
    };
    for (const auto& b : bad)
        EXPECT_EQ(cp936::toWide(b), std::nullopt) << testing::PrintToString(b);
}

// What the converter makes of a well-formed code GBK leaves unassigned
// (D7FA, A2A0) differs between systems; a character that does not encode
// back to the same bytes is refused.
TEST(Cp936, ADecodedTextThatDoesNotEncodeBackIsRefused)
{
    const struct {
        std::string gbk;
        std::optional<std::wstring> decoded, kept;
    } cases[] = {
        {"\xD7\xFA", L"\u554A", std::nullopt},       // another character's code (B0A1)
        {"\xA2\xA0", L"\u30FB", std::nullopt},       // a placeholder GBK cannot hold
        {"x\xA2\xA0", L"x\uE000", std::nullopt},     // a private-use character for the gap
        {"\xB0\xA1", L"\u554A", L"\u554A"},
        {"\x81", std::nullopt, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(cp936::keepIfRoundTrips(c.gbk, c.decoded), c.kept) << testing::PrintToString(c.gbk);
}

TEST(Cp936, RefusesCharactersGbkCannotHoldInsteadOfApproximating)
{
    const std::wstring bad[] = {
        L"\u00C0",       // best fit would give 'A'
        L"\u00BD",       // best fit would give '1' or '?'
        L"ok\u0E01",     // Thai
        L"\U0001F600",   // outside the basic plane
        L"\xD800",       // a lone surrogate
    };
    for (const auto& w : bad)
        EXPECT_EQ(cp936::fromWide(w), std::nullopt) << cp936::wideToUtf8(w);
}

} // namespace
