#include "core/ccore.h"
#include "core/config_store.h"
#include "core/core_options.h"
#include "core/gbk.h"
#include "core/textutil.h"
#include "core/options.h"
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

// The program folder is shown in messages (the output file's path): it ends
// in the separator its own name uses, never a mix of the two.
TEST(CCore, ProgramFolderEndsInTheSeparatorItsNameUses)
{
    const struct {
        const char* folder;
        char preferred;
        const char* expected;
    } cases[] = {
        {"/opt/kelvane", '/', "/opt/kelvane/"},
        {"/opt/kelvane/", '/', "/opt/kelvane/"},
        {"dir\\name", '/', "dir\\name/"}, // a backslash is part of a Linux name
        {"C:\\Program Files\\Kelvane", '\\', "C:\\Program Files\\Kelvane\\"},
        {"C:\\", '\\', "C:\\"},
        {"C:/Users/tester/kv", '\\', "C:/Users/tester/kv/"},
        {".", '\\', "./"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(folderWithSeparator(c.folder, c.preferred), c.expected) << c.folder;
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

// Values damaged by hand in the store (the INI file on Linux, the registry on
// Windows) reach a page as its first-run value; usable ones as they are.
TEST(CCoreStore, DamagedValuesGiveThePageItsFirstRunValueOnEverySystem)
{
    const std::string longText(100000, 'x');
    const struct {
        const OptionDef& option;
        std::string stored, page; // what the page loads (a flag: 0 or 1)
    } cases[] = {
        {opt::len_max_str, "99999999999999999999", "16"},
        {opt::len_min_str, "9x", "8"},
        {opt::count_str, "-1", "-1"}, // a number; its rule speaks at Generate
        {opt::count_int, "", "10"},
        {opt::count_time, " 12 ", "12"},
        {opt::min_delay, "0x10", "1000"},
        {opt::max_delay, "2147483648", "3000"},
        {opt::xsw, "1.5", "2"},
        {opt::isUCase, "2", "1"},
        {opt::isHz, "-1", "0"},
        {opt::isCharEx, "", "0"},
        {opt::isNum, "0", "0"},
        {opt::head, std::string("ab\0cd", 5), "ab"},
        {opt::tail, longText, longText},
        {opt::insertStr, "3|\xE5\xA4\xB4", "3|" + gbk::lit("头")},
        {opt::charSpec, "x\xF0\x9F\x98\x80", "!@#$%^&*"}, // GBK cannot hold it
    };
    ScopedCore core;
    for (const auto& c : cases)
        storeByHand(core.configPath(), c.option.key, c.stored);
    core.restart();
    for (const auto& c : cases) {
        const std::string got = c.option.kind == OptionKind::Flag ? std::to_string(core->getConfigB(c.option))
                                                                  : core->getConfigStr(c.option);
        EXPECT_EQ(got, c.page) << c.option.key << " = " << c.stored.substr(0, 40);
    }
}
