// The file services on Windows: a file is replaced whole with the W calls
// (names in any script), a device name is written straight through and never
// replaced, and a failure names the step and the system's reason.
#include "core/file_message.h"
#include "sys/file_calls.h"
#include "sys/files.h"
#include "win32/test_paths.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

namespace {
std::size_t entries(const std::string& folder)
{
    const auto it = std::filesystem::directory_iterator(std::filesystem::u8path(folder));
    return std::size_t(std::distance(begin(it), end(it)));
}

TEST(Win32Files, ReplacedWholeOrKeptWithTheSystemsReason)
{
    TempDir tmp;
    const std::string keep = inside(tmp, "保存-αж.txt");
    ASSERT_TRUE(sys::writeWhole(keep, "old\r\n").ok());
    EXPECT_TRUE(sys::writeWhole(keep, "new\r\n").ok());
    EXPECT_EQ(readFile(keep), "new\r\n");
    EXPECT_EQ(entries(tmp.path()), 1u) << "no temporary left behind";
}

TEST(Win32Files, DeviceNamesAreWrittenThroughNeverReplaced)
{
    TempDir tmp;
    for (const char* device : {"NUL", "nul", "nul.txt", "NUL "})
        EXPECT_FALSE(sys::writeTarget(inside(tmp, device)).whole) << device;
    for (const char* device : {"NUL", "\\\\.\\NUL"})
        EXPECT_TRUE(sys::writeWhole(device, "rows\r\n").ok()) << device;
    for (const char* file : {"null.txt", "COM10", "nul-rows.txt"})
        EXPECT_TRUE(sys::writeTarget(inside(tmp, file)).whole) << file;
    EXPECT_TRUE(sys::writeWhole(inside(tmp, "NUL"), "rows\r\n").ok());
    EXPECT_EQ(entries(tmp.path()), 0u) << "nothing made in the folder";
}

TEST(Win32Files, TheOutputFileAndItsExportInUtf8)
{
    TempDir tmp;
    const std::string out = inside(tmp, "_out.txt"), copy = inside(tmp, "copy.txt");
    EXPECT_TRUE(sys::removeOutput(out).ok()) << "a missing file is no error";
    // "汉字" in GBK, cut across the pieces the copy reads.
    const sys::FileResult written = sys::writeOutput(out, [](const sys::ChunkWriter& write) {
        return write("\xBA\xBA") && write("\xD7\xD6\r\n");
    });
    ASSERT_TRUE(written.ok()) << written.reason;
    EXPECT_TRUE(sys::copyConverted(out, copy, sys::TextEncoding::Utf8).ok());
    EXPECT_EQ(readFile(copy), "汉字\r\n");
    EXPECT_TRUE(sys::removeOutput(out).ok());
    EXPECT_FALSE(sys::fileExists(out));

    // A lead byte with nothing after it is no GBK text: the copy is kept.
    ASSERT_TRUE(sys::writeOutput(out, [](const sys::ChunkWriter& write) { return write("ab\xBA"); }).ok());
    EXPECT_EQ(sys::copyConverted(out, copy, sys::TextEncoding::Utf8).step, sys::FileStep::SourceNotGbk);
    EXPECT_EQ(readFile(copy), "汉字\r\n");
}
} // namespace

namespace {
TEST(Win32Files, ANewFileNotKeptIsGoneWhenItsProgramEnds)
{
    // Closing the handle without keep() is what the system does when Ctrl+C
    // (or a kill) ends the program in the middle of a write.
    TempDir tmp;
    const std::string temp = inside(tmp, "rows.txt.tmp");
    sys::FileCalls calls;
    const sys::FileHandle file = calls.createNew(temp, temp);
    ASSERT_NE(file, sys::kNoFile);
    EXPECT_EQ(calls.write(file, "rows", 4), 4);
    EXPECT_TRUE(calls.close(file));
    EXPECT_FALSE(sys::fileExists(temp));
}
} // namespace

namespace {
// Run as a second process by the test below: holds the file named in
// KELVANE_HOLD open without sharing, as a spreadsheet program holds its file,
// until "<file>.release" appears.
TEST(Win32FileHolder, HoldsTheFileNamedInItsEnvironment)
{
    const char* path = std::getenv("KELVANE_HOLD");
    if (!path)
        GTEST_SKIP() << "run by ExportFaultsKeepTheOldFileAndNameFileAndReason";
    HANDLE h = CreateFileW(wide(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    std::ofstream(std::filesystem::u8path(std::string(path) + ".held")).put('1');
    waitUntil([&] { return sys::fileExists(std::string(path) + ".release"); }, 15000);
    CloseHandle(h);
}

// Export over a file another program holds open without sharing, over a
// read-only file, into a folder that has gone, and over a file on a drive
// with less room than the text (when tests/win32/mounted.sh gives one): the
// old file stays whole, no temporary is left, and the message names the file
// and Windows' reason.
TEST(Win32Files, ExportFaultsKeepTheOldFileAndNameFileAndReason)
{
    TempDir tmp;
    const std::string held = inside(tmp, "held.txt"), readOnly = inside(tmp, "read-only.txt");
    const std::string gone = folderInside(tmp, "gone");
    const char* drive = std::getenv("KELVANE_SMALL_DRIVE");
    const std::string onDrive = drive ? std::string(drive) + "\\rows.txt" : "";
    struct Fault {
        std::string target;
        DWORD error;
    };
    std::vector<Fault> faults = {
        {held, ERROR_ACCESS_DENIED}, {readOnly, ERROR_ACCESS_DENIED}, {gone + "\\rows.txt", ERROR_PATH_NOT_FOUND}};
    std::vector<std::string> kept = {held, readOnly};
    if (drive) {
        faults.push_back({onDrive, ERROR_DISK_FULL});
        kept.push_back(onDrive);
    }
    for (const std::string& f : kept)
        ASSERT_TRUE(sys::writeWhole(f, "old\r\n").ok()) << f;
    ASSERT_TRUE(SetFileAttributesW(wide(readOnly).c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(RemoveDirectoryW(wide(gone).c_str()));

    SetEnvironmentVariableW(L"KELVANE_HOLD", wide(held).c_str());
    std::wstring command = L"\"" + besideThisTest(L"win32_files_test.exe") +
                           L"\" --gtest_filter=Win32FileHolder.*";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION holder{};
    ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &holder));
    SetEnvironmentVariableW(L"KELVANE_HOLD", nullptr);
    ASSERT_TRUE(waitUntil([&] { return sys::fileExists(held + ".held"); }, 10000))
        << "the second process never held the file";
    // The holder may still be closing its mark: removed once it lets go.
    const std::string mark = held + ".held";
    EXPECT_TRUE(waitUntil([&] { return DeleteFileW(wide(mark).c_str()) || !sys::fileExists(mark); }, 5000));

    // Larger than the whole drive.
    const std::string text(100 * 1024, 'n');
    for (const Fault& f : faults) {
        SCOPED_TRACE(f.target);
        const sys::FileResult r = sys::writeWhole(f.target, text);
        EXPECT_FALSE(r.ok());
        EXPECT_EQ(r.error, f.error);
        EXPECT_EQ(r.reason, sys::errorText(r.error));
        EXPECT_FALSE(r.reason.empty());
        const std::string message = fileMessage(r);
        EXPECT_NE(message.find(f.target), std::string::npos) << message;
        EXPECT_NE(message.find(r.reason), std::string::npos) << message;
    }
    EXPECT_EQ(entries(tmp.path()), 2u) << "no temporary left behind";
    if (drive) {
        EXPECT_EQ(entries(std::string(drive) + "\\"), 1u) << "no temporary left on the drive";
    }
    std::ofstream(std::filesystem::u8path(held + ".release")).put('1');
    WaitForSingleObject(holder.hProcess, 10000);
    CloseHandle(holder.hThread);
    CloseHandle(holder.hProcess);
    DeleteFileW(wide(held + ".release").c_str());
    for (const std::string& f : kept) {
        const std::string now = readFile(f);
        EXPECT_TRUE(now == "old\r\n") << f << " now holds " << now.size() << " bytes";
    }
    SetFileAttributesW(wide(readOnly).c_str(), FILE_ATTRIBUTE_NORMAL);
}
} // namespace
