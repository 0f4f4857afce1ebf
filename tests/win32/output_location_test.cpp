// Where the output file goes on Windows: beside the program in a folder with
// a name outside the ANSI code page, else under %LOCALAPPDATA%\Kelvane when
// the folder has gone or cannot be written.
#include "sys/output_location.h"
#include "sys/win32/cp936.h"
#include "win32/test_paths.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <string>

namespace {

TEST(OutputLocation, BesideTheProgramInAFolderNamedInAnyScript)
{
    // Chinese, Greek and Cyrillic: no single ANSI code page holds them all.
    TempDir tmp;
    const std::string folder = folderInside(tmp, "kv-测试-αж");
    ASSERT_FALSE(folder.empty());
    EXPECT_TRUE(outloc::programFolderWritable(folder));
    EXPECT_EQ(outloc::locateOutputFile(folder), folder + "\\_out.txt");
    EXPECT_TRUE(std::filesystem::is_empty(std::filesystem::u8path(folder))) << "the probe leaves nothing behind";
}

TEST(OutputLocation, UnwritableFolderFallsBackToLocalAppDataKelvane)
{
    TempDir tmp;
    const std::string local = folderInside(tmp, "kv-本地");
    ASSERT_FALSE(local.empty());
    ASSERT_TRUE(SetEnvironmentVariableW(L"LOCALAPPDATA", cp936::utf8ToWide(local).c_str()));
    _wputenv_s(L"LOCALAPPDATA", cp936::utf8ToWide(local).c_str());
    // A folder that has gone, and one that exists but takes no new files:
    // Wine's Z: drive is the Unix root, and /proc takes no new files, even
    // from root.
    for (const std::string& folder : {local + "\\no-such-folder", std::string("Z:\\proc")}) {
        EXPECT_FALSE(outloc::programFolderWritable(folder)) << folder;
        EXPECT_EQ(outloc::locateOutputFile(folder), local + "\\Kelvane\\_out.txt") << folder;
    }
    EXPECT_TRUE(std::filesystem::is_directory(std::filesystem::u8path(local + "\\Kelvane")));
}

} // namespace
