// Where the output file goes on Windows: beside the program in a folder with
// a name outside the ANSI code page, else under %LOCALAPPDATA%\Kelvane.
#include "core/output_location.h"
#include "core/win32/cp936.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

std::string tempFolder(const std::wstring& leaf)
{
    wchar_t base[MAX_PATH + 1];
    const DWORD n = GetTempPathW(MAX_PATH + 1, base);
    std::wstring path = std::wstring(base, n) + leaf + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(path.c_str(), nullptr);
    return cp936::wideToUtf8(path);
}

bool isFolder(const std::string& utf8)
{
    const DWORD a = GetFileAttributesW(cp936::utf8ToWide(utf8).c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

TEST(OutputLocation, BesideTheProgramInAFolderNamedInAnyScript)
{
    // Chinese, Greek and Cyrillic: no single ANSI code page holds them all.
    const std::string folder = tempFolder(L"kv-\u6d4b\u8bd5-\u03b1\u0436-");
    ASSERT_TRUE(isFolder(folder));
    EXPECT_TRUE(outloc::programFolderWritable(folder));
    EXPECT_EQ(outloc::locateOutputFile(folder), folder + "\\_out.txt");
    // The probe leaves nothing behind.
    WIN32_FIND_DATAW found;
    HANDLE h = FindFirstFileW(cp936::utf8ToWide(folder + "\\*").c_str(), &found);
    int entries = 0;
    if (h != INVALID_HANDLE_VALUE) {
        do
            ++entries;
        while (FindNextFileW(h, &found));
        FindClose(h);
    }
    EXPECT_EQ(entries, 2); // "." and ".."
    RemoveDirectoryW(cp936::utf8ToWide(folder).c_str());
}

TEST(OutputLocation, UnwritableFolderFallsBackToLocalAppDataKelvane)
{
    const std::string local = tempFolder(L"kv-\u672c\u5730-");
    ASSERT_TRUE(SetEnvironmentVariableW(L"LOCALAPPDATA", cp936::utf8ToWide(local).c_str()));
    _wputenv_s(L"LOCALAPPDATA", cp936::utf8ToWide(local).c_str());
    const std::string missing = local + "\\no-such-folder";
    EXPECT_FALSE(outloc::programFolderWritable(missing));
    EXPECT_EQ(outloc::locateOutputFile(missing), local + "\\Kelvane\\_out.txt");
    EXPECT_TRUE(isFolder(local + "\\Kelvane"));
    RemoveDirectoryW(cp936::utf8ToWide(local + "\\Kelvane").c_str());
    RemoveDirectoryW(cp936::utf8ToWide(local).c_str());
}

} // namespace
