#include "core/ccore.h"
#include "core/config_store.h"
#include "core/core_options.h"
#include "core/gbk.h"
#include "core/textutil.h"
#include "support/scoped_core.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <utility>
#include <vector>

TEST(CCore, CreateFileKeepsExistingContentAndReportsFailure)
{
    ScopedCore c;
    const CString path = *gbk::fromUtf8(c.folder()) + "/" + gbk::lit("输出.txt");
    EXPECT_EQ(c->isFileExist(path), 0);
    EXPECT_TRUE(c->createFile(path, 1));
    EXPECT_EQ(c->isFileExist(path), 1);
    ASSERT_TRUE(writeFile(gbk::toUtf8(path), "abc"));
    EXPECT_TRUE(c->createFile(path, 1));
    EXPECT_EQ(readFile(gbk::toUtf8(path)), "abc");
    EXPECT_FALSE(c->createFile(c.folder() + "/no/such/folder/x.txt", 1));
    c->msgboxWarning(nullptr, "no presenter: written to stderr"); // must not crash
}

TEST(GetFg, FieldsCountFromZeroAndEmptyFieldsCount)
{
    CCore core(CoreOptions{std::string(), "/tmp", nullptr});
    const std::pair<CString, std::vector<const char*>> cases[] = {
        {"5|X||Y", {"5", "X", "", "Y", ""}}, // field i, from 0; past the last: empty
        {"", {""}},
        {"|", {"", ""}},
        {"abc", {"abc"}},
        // GBK: the '|' that ends 億 (83 7C) splits nothing; a lead byte cut
        // off at the end is a character of its own.
        {"3|\x83|\x83||x|\x83", {"3", "\x83|\x83|", "x", "\x83", ""}},
    };
    for (const auto& [text, fields] : cases)
        for (std::size_t i = 0; i < fields.size(); ++i)
            EXPECT_EQ(core.getFg(text, '|', int(i)), fields[i]) << testing::PrintToString(text) << " #" << i;
    EXPECT_EQ(core.getFg("5|X", '|', 400), "");
    EXPECT_EQ(core.getFg("5|X", '|', -1), "");
}

TEST(ToInt, BehavesLikeAtoiWithoutOverflow)
{
    const std::pair<const char*, int> cases[] = {
        {"", 0},        {"12abc", 12},          {"  \t-7", -7},         {"+8", 8},
        {"abc", 0},     {"- 5", 0},             {"007", 7},             {"2147483647", INT_MAX},
        {"-2147483648", INT_MIN}, {"99999999999999999999999", INT_MAX}, {"-99999999999999999999999", INT_MIN},
    };
    for (const auto& [text, value] : cases)
        EXPECT_EQ(textutil::toInt(text), value) << text;
}
