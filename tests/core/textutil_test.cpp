#include "core/ccore.h"
#include "core/config_store.h"
#include "core/core_options.h"
#include "core/textutil.h"

#include <gtest/gtest.h>

#include <climits>

TEST(GetFg, FieldsCountFromZeroAndEmptyFieldsCount)
{
    CCore core(CoreOptions{std::string(), "/tmp", nullptr});
    const CString s = "5|X||Y";
    EXPECT_EQ(core.getFg(s, '|', 0), "5");
    EXPECT_EQ(core.getFg(s, '|', 1), "X");
    EXPECT_EQ(core.getFg(s, '|', 2), "");
    EXPECT_EQ(core.getFg(s, '|', 3), "Y");
    EXPECT_EQ(core.getFg(s, '|', 4), "");
    EXPECT_EQ(core.getFg(s, '|', 400), "");
    EXPECT_EQ(core.getFg(s, '|', -1), "");
    EXPECT_EQ(core.getFg("", '|', 0), "");
    EXPECT_EQ(core.getFg("|", '|', 1), "");
    EXPECT_EQ(core.getFg("abc", '|', 0), "abc");
    // GBK: the '|' that ends 億 (83 7C) splits nothing; a lead byte cut
    // off at the end is a character of its own.
    const CString t = "3|\x83|\x83||x|\x83";
    const char* const fields[] = {"3", "\x83|\x83|", "x", "\x83", ""};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(core.getFg(t, '|', i), fields[i]) << i;
}

TEST(ToInt, BehavesLikeAtoiWithoutOverflow)
{
    EXPECT_EQ(textutil::toInt(""), 0);
    EXPECT_EQ(textutil::toInt("12abc"), 12);
    EXPECT_EQ(textutil::toInt("  \t-7"), -7);
    EXPECT_EQ(textutil::toInt("+8"), 8);
    EXPECT_EQ(textutil::toInt("abc"), 0);
    EXPECT_EQ(textutil::toInt("- 5"), 0);
    EXPECT_EQ(textutil::toInt("007"), 7);
    EXPECT_EQ(textutil::toInt("2147483647"), INT_MAX);
    EXPECT_EQ(textutil::toInt("-2147483648"), INT_MIN);
    EXPECT_EQ(textutil::toInt("99999999999999999999999"), INT_MAX);
    EXPECT_EQ(textutil::toInt("-99999999999999999999999"), INT_MIN);
}

TEST(Trimmed, RemovesCWhiteSpaceAtBothEnds)
{
    EXPECT_EQ(textutil::trimmed(" \t\r\n\v\f5|X \r\n"), "5|X");
    EXPECT_EQ(textutil::trimmed("   "), "");
    EXPECT_EQ(textutil::trimmed("a b"), "a b");
}
