// Whole-file writes: every failing step leaves the old file and no
// temporary behind, on a real full disk too; what is not a regular file is
// written straight through and never replaced.
#include "sys/file_writer.h"
#include "sys/files.h"
#include "support/failing_file_calls.h"
#include "support/file_bytes.h"
#include "support/small_tmpfs.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {
using At = FailingFileCalls::At;
using Step = sys::FileStep;

std::string fsPath(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

TEST(WholeFile, EveryFailingStepKeepsTheOldFileAndLeavesNoTemporary)
{
    struct Case {
        At at;
        int error;
        bool copy;
        Step step;
    } cases[] = {
        {At::Open, EACCES, false, Step::Create}, {At::Write, ENOSPC, false, Step::Write},
        {At::LaterWrite, ENOSPC, false, Step::Write}, {At::Fsync, EIO, false, Step::Commit},
        {At::Close, EDQUOT, false, Step::Commit}, {At::Rename, EXDEV, false, Step::Commit},
        {At::Open, ENOENT, true, Step::OpenSource}, {At::Read, EIO, true, Step::ReadSource},
        {At::LaterWrite, ENOSPC, true, Step::Write}, {At::Fsync, EIO, true, Step::Commit},
        {At::Close, EIO, true, Step::Commit}, {At::Rename, EBUSY, true, Step::Commit},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "step " << int(c.at) << (c.copy ? " copy" : " write"));
        QTemporaryDir dir;
        const QString keep = dir.filePath("keep.txt"), source = dir.filePath("source.txt");
        ASSERT_TRUE(writeAll(keep, "old contents\n"));
        ASSERT_TRUE(writeAll(source, QByteArray(100, 's')));
        ASSERT_TRUE(QFile::setPermissions(keep, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
        sys::FileResult f;
        {
            FailingFileCalls failing(c.at, c.error);
            f = c.copy ? sys::copyWhole(fsPath(source), fsPath(keep), nullptr, 7)
                       : sys::writeWhole(fsPath(keep), std::string(100, 'n'));
        }
        EXPECT_EQ(f.step, c.step);
        EXPECT_EQ(f.error, c.error);
        EXPECT_EQ(readAll(keep), "old contents\n");
        EXPECT_EQ(modeOf(keep) & 0777, 0640u);
        EXPECT_EQ(entryNames(dir.path()), QStringList({"keep.txt", "source.txt"}));
    }
}

TEST(WholeFile, ReplacesKeepingPermissionsFollowsLinksAndConvertsPieceByPiece)
{
    QTemporaryDir dir;
    const QString keep = dir.filePath("keep.txt"), link = dir.filePath("link.txt");
    ASSERT_TRUE(writeAll(keep, QByteArray(5000, 'o')));
    ASSERT_TRUE(QFile::setPermissions(keep, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther));
    ASSERT_TRUE(QFile::link(keep, link));
    EXPECT_TRUE(sys::writeWhole(fsPath(link), "new\n").ok());
    EXPECT_EQ(readAll(keep), "new\n");
    EXPECT_EQ(modeOf(keep) & 0777, 0604u);
    EXPECT_TRUE(QFileInfo(link).isSymLink()) << "the file behind the link is replaced, not the link";

    // Pieces of 3 bytes, upper-cased; the end is announced with an empty piece.
    const QString source = dir.filePath("source.txt"), copy = dir.filePath("copy.txt");
    ASSERT_TRUE(writeAll(source, "abcdefghij"));
    QByteArray seen;
    const auto upper = [&](std::string_view piece, std::string& out) {
        seen += QByteArray(piece.data(), qsizetype(piece.size())) + '|';
        for (char ch : piece)
            out += char(ch - 'a' + 'A');
        return true;
    };
    EXPECT_TRUE(sys::copyWhole(fsPath(source), fsPath(copy), upper, 3).ok());
    EXPECT_EQ(readAll(copy), "ABCDEFGHIJ");
    EXPECT_EQ(seen, "abc|def|ghi|j||");

    const auto refuse = [](std::string_view piece, std::string& out) {
        out.assign(piece);
        return !piece.empty();
    };
    EXPECT_EQ(sys::copyWhole(fsPath(source), fsPath(copy), refuse, 4).step, Step::SourceNotGbk);
    EXPECT_EQ(readAll(copy), "ABCDEFGHIJ") << "a refused source leaves the old copy";
    EXPECT_EQ(entryNames(dir.path()), QStringList({"copy.txt", "keep.txt", "link.txt", "source.txt"}));
}

TEST(WholeFile, WhatIsNotARegularFileIsWrittenThroughNeverReplaced)
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath("fifo");
    ASSERT_EQ(::mkfifo(fsPath(fifo).c_str(), 0600), 0);
    // No reader: refused at once instead of waiting for ever.
    const sys::FileResult noReader = sys::writeWhole(fsPath(fifo), "rows\n");
    EXPECT_EQ(noReader.step, Step::Create);
    EXPECT_EQ(noReader.error, ENXIO);

    // A reader (held open both ways, so the test never waits).
    const int reader = ::open(fsPath(fifo).c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(reader, 0);
    sys::FileWriter writer;
    ASSERT_TRUE(writer.open(fsPath(fifo), true));
    EXPECT_FALSE(writer.whole());
    EXPECT_TRUE(writer.write("rows\n") && writer.commit());
    char got[16] = {};
    EXPECT_EQ(::read(reader, got, sizeof got), 5);
    EXPECT_STREQ(got, "rows\n");
    // The reader goes away: a failed write (EPIPE), not a signal that ends
    // the program.
    sys::FileWriter orphan;
    ASSERT_TRUE(orphan.open(fsPath(fifo), false));
    ::close(reader);
    EXPECT_FALSE(orphan.write("rows\n"));
    EXPECT_EQ(orphan.error(), EPIPE);
    EXPECT_TRUE(S_ISFIFO(modeOf(fifo)));

    // The program's own descriptor, opened for appending: the rows go after
    // what it holds, whichever name leads to it.
    const QString log = dir.filePath("log.txt");
    ASSERT_TRUE(writeAll(log, "log\n"));
    const int fd = ::open(fsPath(log).c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    const QString alias = dir.filePath("alias");
    ASSERT_TRUE(QFile::link(QStringLiteral("/proc/self/fd/%1").arg(fd), alias));
    for (const QString& name : {QStringLiteral("/dev/fd/%1").arg(fd), QStringLiteral("/proc/self/fd/%1").arg(fd), alias}) {
        sys::FileWriter w;
        ASSERT_TRUE(w.open(fsPath(name), true)) << name.toStdString();
        EXPECT_FALSE(w.whole());
        EXPECT_TRUE(w.write("row\n") && w.commit());
    }
    ::close(fd);
    EXPECT_EQ(readAll(log), "log\nrow\nrow\nrow\n");
    EXPECT_EQ(entryNames(dir.path()), QStringList({"alias", "fifo", "log.txt"}));

    // A character device node (the null device), made here when allowed.
    const QString null = dir.filePath("null");
    if (::mknod(fsPath(null).c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0)
        GTEST_SKIP() << "cannot make a device node here (needs root): " << std::strerror(errno);
    EXPECT_TRUE(sys::writeWhole(fsPath(null), "rows\n").ok());
    EXPECT_TRUE(S_ISCHR(modeOf(null))) << "the device is still a device";
}

TEST(WholeFile, ANewFileNotKeptLeavesNothingWhenItsProgramEnds)
{
    // Closing without keep() is what the system does when Ctrl+C ends the
    // program in the middle of a write.
    QTemporaryDir dir;
    const std::string temp = fsPath(dir.filePath("rows.txt.tmp"));
    sys::FileCalls calls;
    const sys::FileHandle file = calls.createNew(temp, temp);
    ASSERT_NE(file, sys::kNoFile);
    EXPECT_EQ(calls.write(file, "rows", 4), 4);
    EXPECT_TRUE(calls.close(file));
    EXPECT_EQ(entryNames(dir.path()), QStringList());
}

TEST(WholeFile, AFullDiskIsReportedAndTheOldFileKept)
{
    SmallTmpfs fs;
    if (!fs.mounted())
        GTEST_SKIP() << fs.skipReason();
    const QString keep = fs.path("keep.txt");
    ASSERT_TRUE(writeAll(keep, "old contents\n"));
    // Larger than the whole disk: fails part way through.
    const sys::FileResult partial = sys::writeWhole(fsPath(keep), std::string(72000, 'x'));
    EXPECT_EQ(partial.step, Step::Write);
    EXPECT_EQ(partial.error, ENOSPC);
    EXPECT_EQ(readAll(keep), "old contents\n");
    EXPECT_EQ(fs.names(), QStringList({"keep.txt"}));

    fs.fill();
    const sys::FileResult full = sys::writeWhole(fsPath(keep), "80\n81\n");
    EXPECT_EQ(full.step, Step::Write);
    EXPECT_EQ(full.error, ENOSPC);
    EXPECT_EQ(readAll(keep), "old contents\n");
    EXPECT_EQ(fs.names(), QStringList({"filler", "keep.txt"}));
}
} // namespace
