// The file services on Windows: a file is replaced whole with the W calls
// (names in any script), a device name is written straight through and never
// replaced, and a failure names the step and the system's reason.
#include "core/file_message.h"
#include "sys/files.h"
#include "win32/test_paths.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace {
std::string bytesOf(const std::string& path)
{
    std::ifstream in(std::filesystem::u8path(path), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::size_t entries(const TempDir& tmp)
{
    const auto it = std::filesystem::directory_iterator(std::filesystem::u8path(tmp.path()));
    return std::size_t(std::distance(begin(it), end(it)));
}

TEST(Win32Files, ReplacedWholeOrKeptWithTheSystemsReason)
{
    TempDir tmp;
    const std::string keep = inside(tmp, "保存-αж.txt");
    ASSERT_TRUE(sys::writeWhole(keep, "old\r\n").ok());
    EXPECT_TRUE(sys::writeWhole(keep, "new\r\n").ok());
    EXPECT_EQ(bytesOf(keep), "new\r\n");
    EXPECT_EQ(entries(tmp), 1u) << "no temporary left behind";

    const sys::FileResult missing = sys::writeWhole(inside(tmp, "no-folder\\x.txt"), "rows");
    EXPECT_EQ(missing.step, sys::FileStep::Create);
    EXPECT_FALSE(missing.reason.empty());
    EXPECT_NE(fileMessage(missing).find(missing.reason), std::string::npos);
    EXPECT_EQ(entries(tmp), 1u);
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
    EXPECT_EQ(entries(tmp), 0u) << "nothing made in the folder";
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
    EXPECT_EQ(bytesOf(copy), "汉字\r\n");
    EXPECT_TRUE(sys::removeOutput(out).ok());
    EXPECT_FALSE(sys::fileExists(out));

    // A lead byte with nothing after it is no GBK text: the copy is kept.
    ASSERT_TRUE(sys::writeOutput(out, [](const sys::ChunkWriter& write) { return write("ab\xBA"); }).ok());
    EXPECT_EQ(sys::copyConverted(out, copy, sys::TextEncoding::Utf8).step, sys::FileStep::SourceNotGbk);
    EXPECT_EQ(bytesOf(copy), "汉字\r\n");
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
