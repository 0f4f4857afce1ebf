#include "core/gbk.h"

#include <gtest/gtest.h>

TEST(Gbk, ChineseTextIsTwoBytesPerCharacterAndRoundTrips)
{
    const QString text = QStringLiteral("生成成功！abc");
    auto bytes = gbk::encode(text);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(bytes->size(), 5u * 2 + 3);
    EXPECT_EQ(bytes->substr(0, 2), "\xc9\xfa"); // 生
    EXPECT_EQ(gbk::decode(*bytes), text);
}

TEST(Gbk, TextGbkCannotHoldIsReportedNotAltered)
{
    EXPECT_FALSE(gbk::encode(QStringLiteral("abc😀")));
    EXPECT_EQ(gbk::firstUnencodable(QStringLiteral("ab😀c")), QStringLiteral("😀"));
    EXPECT_TRUE(gbk::firstUnencodable(QStringLiteral("汉字abc")).isEmpty());
    EXPECT_EQ(gbk::encode(QString()), std::string());
}

TEST(Gbk, InvalidBytesAreFlaggedOnDecode)
{
    bool ok = true;
    gbk::decode("\xb0", &ok); // a lead byte without its trail byte
    EXPECT_FALSE(ok);
    gbk::decode("\xb0\xa1", &ok);
    EXPECT_TRUE(ok);
}
