#include "core/ccore.h"
#include "core/options.h"
#include "core/config_store.h"
#include "core/core_options.h"
#include "core/gbk.h"
#include "support/scoped_core.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <sys/stat.h>

namespace {
std::unique_ptr<CCore> coreAt(const std::string& configPath)
{
    CoreOptions o;
    o.configPath = configPath;
    o.appPath = "/tmp";
    return std::make_unique<CCore>(std::move(o));
}

// A store file in a private folder.
class OptionStore : public ::testing::Test {
protected:
    TempDir dir;
    const std::string path = dir.filePath("Kelvane.ini");
};
} // namespace

TEST_F(OptionStore, RoundTripsAcrossRestartsIntegersReadBackAsDecimalText)
{
    const CString hz = gbk::lit("测试,头部 = [x]; #y \"q\"");
    {
        auto core = coreAt(path);
        core->saveConfigInt(opt::count_str, -42);
        core->saveConfigStr(opt::head, hz);
        core->saveConfigStr(opt::tail, "");
        core->saveConfigB(opt::isHz, 1);
        core->saveConfigStr(opt::charSpec, " ! @ ");
    }
    auto core = coreAt(path);
    EXPECT_EQ(core->getConfigStr(opt::count_str), "-42");
    EXPECT_EQ(core->getConfigInt(opt::count_str), -42);
    EXPECT_EQ(core->getConfigStr(opt::head), hz);
    EXPECT_EQ(core->getConfigStr(opt::tail), ""); // stored empty, not the default
    EXPECT_EQ(core->getConfigB(opt::isHz), 1);
    EXPECT_EQ(core->getConfigStr(opt::charSpec), " ! @ ");
    // The file itself is UTF-8, readable by a person.
    EXPECT_NE(readFile(path).find("测试"), std::string::npos);
}

TEST_F(OptionStore, GarbageFileStartsWithDefaultsAndIsKeptAside)
{
    std::string junk;
    for (int i = 0; i < 4096; ++i)
        junk.push_back(char((i * 37 + 11) & 0xff));
    ASSERT_TRUE(writeFile(path, junk));
    {
        auto core = coreAt(path);
        EXPECT_EQ(core->getConfigB(opt::isUCase), 1);
        EXPECT_EQ(core->getConfigInt(opt::count_int), 10);
        core->saveConfigInt(opt::count_int, 7);
        EXPECT_TRUE(core->store().wasCorrupt());
        EXPECT_EQ(readFile(path + ".corrupt"), junk);
        // What the user is told names the file and its kept copy.
        const std::string notice = gbk::toUtf8(core->store().setAsideNotice());
        EXPECT_NE(notice.find("“" + path + "”"), std::string::npos) << notice;
        EXPECT_NE(notice.find("“" + path + ".corrupt”"), std::string::npos) << notice;
    }
    auto again = coreAt(path);
    EXPECT_EQ(again->getConfigInt(opt::count_int), 7);
    EXPECT_FALSE(again->store().wasCorrupt()) << "told once: the next start finds a sound file";
    EXPECT_EQ(again->store().setAsideNotice(), "");
}

TEST_F(OptionStore, DamagedFileWithoutRoomForItsCopyIsLeftUntouched)
{
    ASSERT_TRUE(writeFile(path, "[General\nisHz=1\n"));
    ASSERT_TRUE(std::filesystem::create_directories(path + ".corrupt")); // the copy cannot be made
    {
        auto core = coreAt(path);
        EXPECT_TRUE(core->store().wasCorrupt());
        EXPECT_EQ(core->store().keptCopy(), "");
        EXPECT_NE(gbk::toUtf8(core->store().setAsideNotice()).find("不会改写该文件"), std::string::npos);
        core->saveConfigInt(opt::count_int, 7);
        EXPECT_EQ(core->getConfigInt(opt::count_int), 7) << "the run goes on with its own changes";
        EXPECT_FALSE(core->store().sync()) << "the file is not written";
    }
    EXPECT_EQ(readFile(path), "[General\nisHz=1\n");
}

// Editors may start a UTF-8 file with a byte-order mark: every setting and
// the user's own keys are kept, whatever the first line is.
TEST_F(OptionStore, ByteOrderMarkIsAccepted)
{
    const std::string bom("\xEF\xBB\xBF");
    const struct {
        const char* name;
        std::string body;
    } cases[] = {
        {"section first", "[General]\nisHz=1\nhead=\xE5\xA4\xB4\ncount_str=33\n[mine]\nnote=keep me\n"},
        {"key first", "isHz=1\nhead=\xE5\xA4\xB4\ncount_str=33\n[mine]\nnote=keep me\n"},
        {"comment first", "; by hand\n[General]\nisHz=1\nhead=\xE5\xA4\xB4\ncount_str=33\n[mine]\nnote=keep me\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string file = dir.filePath(std::string(c.name) + ".ini");
        ASSERT_TRUE(writeFile(file, bom + c.body));
        {
            auto core = coreAt(file);
            EXPECT_FALSE(core->store().wasCorrupt());
            EXPECT_EQ(core->getConfigB(opt::isHz), 1);
            EXPECT_EQ(core->getConfigStr(opt::head), gbk::lit("头"));
            EXPECT_EQ(core->getConfigInt(opt::count_str), 33);
            core->saveConfigInt(opt::count_int, 4);
        }
        EXPECT_FALSE(std::filesystem::exists(file + ".corrupt"));
        auto core = coreAt(file);
        EXPECT_EQ(std::pair(core->getConfigInt(opt::count_int), core->getConfigB(opt::isHz)), std::pair(4, 1));
        const std::string text = readFile(file);
        EXPECT_NE(text.find("[mine]\nnote=keep me"), std::string::npos) << text;
    }
}

// A pipe (reading it would wait for a writer forever) or a folder in place of
// the file: neither read nor replaced, and the run goes on with the defaults.
TEST_F(OptionStore, PipeOrFolderInPlaceOfTheFileIsNeitherReadNorReplaced)
{
    ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    const std::string folder = dir.filePath("folder.ini");
    ASSERT_TRUE(std::filesystem::create_directories(folder));
    for (const std::string& p : {path, folder}) {
        auto core = coreAt(p);
        EXPECT_EQ(core->getConfigInt(opt::count_time), 5) << p;
        core->saveConfigInt(opt::count_time, 9);
        EXPECT_FALSE(core->store().sync()) << p;
    }
    struct stat st = {};
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    EXPECT_TRUE(std::filesystem::is_directory(folder));
}

TEST_F(OptionStore, WritesReplaceTheFileWholeLeavingNoTemporaries)
{
    for (int round = 0; round < 3; ++round) {
        auto core = coreAt(path);
        core->saveConfigStr(opt::insertStr, std::string(5000, char('a' + round)));
        ASSERT_TRUE(core->store().sync());
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1) << "no temporaries";
    EXPECT_EQ(coreAt(path)->getConfigStr(opt::insertStr), std::string(5000, 'c'));
}
