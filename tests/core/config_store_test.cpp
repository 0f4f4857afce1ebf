#include "core/ccore.h"
#include "core/config_store.h"
#include "core/core_options.h"
#include "core/gbk.h"
#include "support/scoped_core.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {
std::unique_ptr<CCore> coreAt(const std::string& configPath)
{
    CoreOptions o;
    o.configPath = configPath;
    o.appPath = "/tmp";
    return std::make_unique<CCore>(std::move(o));
}

std::vector<std::string> filesIn(const std::string& dir)
{
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir))
        names.push_back(e.path().filename().string());
    return names;
}
} // namespace

TEST(ConfigStore, FirstRunDefaultsLetEveryTabGenerate)
{
    ScopedCore c;
    EXPECT_EQ(c->getConfigB("isUCase"), 1);
    EXPECT_EQ(c->getConfigB("isHz"), 0);
    EXPECT_EQ(c->getConfigStr("charSpec"), "!@#$%^&*");
    EXPECT_EQ(c->getConfigStr("charExclude"), "0O1lI");
    EXPECT_EQ(c->getConfigStr("len_min_str"), "8"); // numbers load as text
    EXPECT_EQ(c->getConfigStr("count_str"), "10");
    EXPECT_EQ(c->getConfigInt("xsw"), 2);
    EXPECT_EQ(c->getConfigInt("min_delay"), 1000);
    EXPECT_EQ(c->getConfigStr("fileProgram"), "");
    EXPECT_EQ(c->getConfigInt("neverHeardOf"), 0);
    EXPECT_EQ(c->getConfigStr("neverHeardOf"), "");
    EXPECT_EQ(c->getConfigB("neverHeardOf"), 0);
}

TEST(ConfigStore, RoundTripsAcrossRestartsIntegersReadBackAsDecimalText)
{
    TempDir dir;
    const std::string path = dir.filePath("Kelvane.ini");
    const CString hz = gbk::lit("测试,头部 = [x]; #y \"q\"");
    {
        auto core = coreAt(path);
        core->saveConfigInt("count_str", -42);
        core->saveConfigInt("len_max_str", 0);
        core->saveConfigStr("head", hz);
        core->saveConfigStr("tail", "");
        core->saveConfigB("isHz", 1);
        core->saveConfigStr("charSpec", " ! @ ");
    }
    auto core = coreAt(path);
    EXPECT_EQ(core->getConfigStr("count_str"), "-42");
    EXPECT_EQ(core->getConfigInt("count_str"), -42);
    EXPECT_EQ(core->getConfigStr("len_max_str"), "0");
    EXPECT_EQ(core->getConfigStr("head"), hz);
    EXPECT_EQ(core->getConfigStr("tail"), ""); // stored empty, not the default
    EXPECT_EQ(core->getConfigB("isHz"), 1);
    EXPECT_EQ(core->getConfigStr("charSpec"), " ! @ ");
    // The file itself is UTF-8, readable by a person.
    EXPECT_NE(readFile(path).find("测试"), std::string::npos);
}

TEST(ConfigStore, UnusableValuesFallBackToDefaults)
{
    TempDir dir;
    const std::string path = dir.filePath("Kelvane.ini");
    ASSERT_TRUE(writeFile(path, "[General]\nisUCase=2\nisLCase=-1\nisNum=abc\nisHz=1\nisCharEx=0\n"
                              "count_int=12abc\nxsw=99999999999\nlen_min_str=3\nhead=a, b\n"));
    auto core = coreAt(path);
    // A flag is only ever 0 or 1, so a check box never sees an indeterminate state.
    EXPECT_EQ(core->getConfigB("isUCase"), 1);
    EXPECT_EQ(core->getConfigB("isLCase"), 1);
    EXPECT_EQ(core->getConfigB("isNum"), 1);
    EXPECT_EQ(core->getConfigB("isHz"), 1);
    EXPECT_EQ(core->getConfigB("isCharEx"), 0);
    EXPECT_EQ(core->getConfigInt("count_int"), 10);
    EXPECT_EQ(core->getConfigInt("xsw"), 2);
    EXPECT_EQ(core->getConfigStr("len_min_str"), "3");
}

TEST(ConfigStore, GarbageFileStartsWithDefaultsAndIsKeptAside)
{
    TempDir dir;
    const std::string path = dir.filePath("Kelvane.ini");
    std::string junk;
    for (int i = 0; i < 4096; ++i)
        junk.push_back(char((i * 37 + 11) & 0xff));
    ASSERT_TRUE(writeFile(path, junk));
    {
        auto core = coreAt(path);
        EXPECT_EQ(core->getConfigB("isUCase"), 1);
        EXPECT_EQ(core->getConfigInt("count_int"), 10);
        core->saveConfigInt("count_int", 7);
        EXPECT_TRUE(core->store().wasCorrupt());
        EXPECT_EQ(readFile(path + ".corrupt"), junk);
    }
    EXPECT_EQ(coreAt(path)->getConfigInt("count_int"), 7);
}

TEST(ConfigStore, UnwritableLocationNeverCrashes)
{
    TempDir dir;
    // A folder where the file should be: it can be neither read nor written.
    const std::string path = dir.filePath("Kelvane.ini");
    ASSERT_TRUE(std::filesystem::create_directories(path));
    auto core = coreAt(path);
    EXPECT_EQ(core->getConfigInt("count_time"), 5);
    core->saveConfigInt("count_time", 9);
    EXPECT_FALSE(core->store().sync());
    EXPECT_TRUE(std::filesystem::is_directory(path));
}

TEST(ConfigStore, WritesReplaceTheFileWholeLeavingNoTemporaries)
{
    TempDir dir;
    const std::string path = dir.filePath("Kelvane.ini");
    for (int round = 0; round < 3; ++round) {
        auto core = coreAt(path);
        core->saveConfigStr("insertStr", std::string(5000, char('a' + round)));
        ASSERT_TRUE(core->store().sync());
    }
    EXPECT_EQ(filesIn(dir.path()), std::vector<std::string>{"Kelvane.ini"});
    EXPECT_EQ(coreAt(path)->getConfigStr("insertStr"), std::string(5000, 'c'));
}
