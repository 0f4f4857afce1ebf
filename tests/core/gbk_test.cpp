// GBK conversion, the character walker and the level-1 set.
#include "core/gbk.h"
#include "core/gbk_chars.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(Gbk, ChineseTextIsTwoBytesPerCharacterAndRoundTrips)
{
    const std::string text = "生成成功！abc";
    auto bytes = gbk::fromUtf8(text);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(bytes->size(), 5u * 2 + 3);
    EXPECT_EQ(bytes->substr(0, 2), "\xc9\xfa"); // 生
    EXPECT_EQ(gbk::toUtf8(*bytes), text);
    EXPECT_EQ(gbk::fromUtf8(""), std::string());
}

TEST(Gbk, TextGbkCannotHoldIsReportedNotAltered)
{
    EXPECT_FALSE(gbk::fromUtf8("abc😀"));
    EXPECT_FALSE(gbk::fromUtf8("a\xff")); // not UTF-8 at all
    EXPECT_EQ(gbk::firstUnencodable("ab😀c"), "😀");
    EXPECT_EQ(gbk::firstUnencodable("汉字abc"), "");
    EXPECT_EQ(gbk::codePointName("😀x"), "U+1F600");
    EXPECT_EQ(gbk::codePointName("é"), "U+00E9");
}

TEST(GbkChars, TheWalkerTakesALeadByteOnlyWithAValidTrailByte)
{
    // text, the lengths of its characters in order
    const std::pair<std::string, std::vector<std::size_t>> cases[] = {
        {"a\xb0\xa1z", {1, 2, 1}},
        {"\x81\x40", {2}},      // lowest lead and trail
        {"\xfe\xfe", {2}},      // highest lead and trail
        {"\x80\x41", {1, 1}},   // 0x80 leads nothing
        {"\xff\xa1", {1, 1}},   // nor does 0xFF
        {"\xb0\x7f", {1, 1}},   // 0x7F is never a trail byte
        {"\xb0\x39", {1, 1}},   // nor is a digit
        {"\xb0\xff", {1, 1}},
        {"ab\xb0", {1, 1, 1}},  // a lead byte cut off at the end
    };
    for (const auto& [text, lengths] : cases) {
        std::vector<std::size_t> seen;
        gbk::forEachChar(text, [&](gbk::Code, std::size_t, std::size_t n) { seen.push_back(n); });
        EXPECT_EQ(seen, lengths) << testing::PrintToString(text);
    }
}

TEST(GbkChars, LevelOneHoldsTheCharactersFromB0A1ToD7F9AndAllConvert)
{
    int count = 0;
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
        for (int trail = 0x40; trail <= 0xFE; ++trail) {
            const auto c = gbk::Code((lead << 8) | trail);
            const bool inRows = lead >= 0xB0 && lead <= 0xD7 && trail >= 0xA1 && trail <= (lead == 0xD7 ? 0xF9 : 0xFE);
            ASSERT_EQ(gbk::isLevel1(c), inRows) << std::hex << c;
            if (!inRows)
                continue;
            ++count;
            const std::string bytes{char(lead), char(trail)};
            bool ok = false;
            const std::string utf8 = gbk::toUtf8(bytes, &ok);
            ASSERT_TRUE(ok) << std::hex << c;
            EXPECT_EQ(gbk::fromUtf8(utf8), bytes) << std::hex << c;
        }
    }
    EXPECT_EQ(count, gbk::kLevel1Count);
}
