// --out: a regular file or a new path is written whole or not at all (a full
// disk is a failure with the system's reason, exit 1, the old file kept);
// anything else is written straight through and never replaced. On standard
// output a failed write is an error, a reader that has gone is not.
#include "cli/output_sink.h"
#include "cli_run.h"
#include "support/failing_file_calls.h"
#include "support/file_bytes.h"
#include "support/small_tmpfs.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {
// What a non-blocking descriptor holds now.
QByteArray readAvailable(int fd)
{
    QByteArray out;
    char buf[4096];
    for (ssize_t n; (n = ::read(fd, buf, sizeof buf)) > 0;)
        out.append(buf, n);
    return out;
}

// System messages in English, whatever the machine's language.
QProcessEnvironment cLocale()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("LC_ALL", "C");
    return env;
}

const QStringList kNumbers = {"numbers", "--count", "27", "--seed", "out"};

TEST(OutCli, ARegularFileIsWholeOrAbsent)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("n.txt");
    CliResult r = runCli({"numbers", "--count", "100", "--out", path, "--eol", "crlf"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll().count("\r\n"), 100);
    // A folder that does not exist: a clean failure and no file, not even a temporary one.
    const QString bad = dir.filePath("missing/n.txt");
    r = runCli({"numbers", "--count", "100", "--out", bad});
    EXPECT_EQ(r.status, 1);
    EXPECT_FALSE(QFileInfo::exists(bad));
    // --unique failing part-way leaves no file behind.
    const QString part = dir.filePath("u.txt");
    r = runCli({"numbers", "--range", "1", "3", "--count", "4", "--unique", "--out", part});
    EXPECT_EQ(r.status, 2);
    EXPECT_FALSE(QFileInfo::exists(part));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"n.txt"});
}

TEST(OutCli, AFullDiskFailsWithTheReasonAndKeepsTheOldFile)
{
    SmallTmpfs fs;
    if (!fs.mounted())
        GTEST_SKIP() << fs.skipReason();
    // More rows than the whole disk holds: nothing of them appears.
    const QString part = fs.path("part.txt");
    CliResult r = runCli({"strings", "--length", "9", "--count", "7200", "--seed", "a", "--out", part}, cLocale());
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains("No space left on device")) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(part.toUtf8())) << "names the file";
    EXPECT_TRUE(fs.names().isEmpty()) << fs.names().join(' ').toStdString();

    const QString keep = fs.path("keep.txt");
    ASSERT_TRUE(writeAll(keep, "old\n"));
    fs.fill();
    r = runCli(kNumbers + QStringList{"--out", keep}, cLocale());
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains("No space left on device")) << r.err.toStdString();
    EXPECT_EQ(readAll(keep), "old\n");
    EXPECT_EQ(fs.names(), QStringList({"filler", "keep.txt"}));
}

TEST(OutCli, WhatIsNotARegularFileGetsTheRowsAndStays)
{
    const CliResult plain = runCli(kNumbers);
    ASSERT_EQ(plain.status, 0);
    ASSERT_EQ(lines(plain.out).size(), 27);
    QTemporaryDir dir;

    const QString fifo = dir.filePath("fifo");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    // Held open both ways here, so that the command finds a reader and the
    // test never waits for a writer that does not come.
    const int reader = ::open(QFile::encodeName(fifo).constData(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(reader, 0);
    CliResult r = runCli(kNumbers + QStringList{"--out", fifo});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(readAvailable(reader), plain.out);
    ::close(reader);
    EXPECT_TRUE(S_ISFIFO(modeOf(fifo)));

    // /dev/stdout onto a pipe (the file tests append through such names).
    r = runCli(kNumbers + QStringList{"--out", "/dev/stdout"});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, plain.out);

    const QString null = dir.filePath("null");
    if (::mknod(QFile::encodeName(null).constData(), S_IFCHR | 0666, makedev(1, 3)) != 0)
        GTEST_SKIP() << "cannot make a device node here (needs root): " << std::strerror(errno);
    r = runCli(kNumbers + QStringList{"--out", null});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(S_ISCHR(modeOf(null))) << "the device is still a device";
}

// Numbers come from blocks on several threads, times from a loop of events:
// both stop on a failed write (exit 1, a message) and end quietly at once
// when the reader goes (not after 2e9 rows).
TEST(StandardOutput, AFailedWriteIsAnErrorAndAClosedReaderIsNot)
{
    const QStringList commands[] = {{"numbers", "--count", "2000000000"},
                                    {"times", "--interval", "0-20", "--count", "2000000000"}};
    for (const QStringList& args : commands) {
        SCOPED_TRACE(args.join(' ').toStdString());
        QProcess full;
        full.setStandardOutputFile("/dev/full");
        full.start(QStringLiteral(KELVANE_CLI_PATH), args);
        ASSERT_TRUE(full.waitForFinished(20000));
        EXPECT_EQ(std::pair(full.exitStatus(), full.exitCode()), std::pair(QProcess::NormalExit, 1));
        EXPECT_FALSE(full.readAllStandardError().isEmpty());

        QProcess producer, consumer;
        producer.setStandardOutputProcess(&consumer);
        producer.start(QStringLiteral(KELVANE_CLI_PATH), args);
        consumer.start("head", {"-n", "1"});
        ASSERT_TRUE(consumer.waitForFinished(10000));
        ASSERT_TRUE(producer.waitForFinished(10000));
        EXPECT_EQ(std::pair(producer.exitStatus(), producer.exitCode()), std::pair(QProcess::NormalExit, 0));
        EXPECT_TRUE(producer.readAllStandardError().isEmpty());
        EXPECT_EQ(consumer.readAllStandardOutput().count('\n'), 1);
    }
}

// The sink itself, with a write failing part way: the sys/ tests fail every
// other step of the whole write.
TEST(OutputSink, AFailingWriteKeepsTheOldFileAndSaysWhy)
{
    QTemporaryDir dir;
    const QString keep = dir.filePath("keep.txt");
    ASSERT_TRUE(writeAll(keep, "old\n"));
    FailingFileCalls failing(FailingFileCalls::At::LaterWrite, ENOSPC);
    OutputSink sink(keep.toStdString(), Encoding::Utf8, LineEnd::Lf);
    ASSERT_TRUE(sink.open());
    for (int i = 0; i < 100; ++i)
        sink.row("80");
    EXPECT_FALSE(sink.finish());
    EXPECT_EQ(sink.error(), std::strerror(ENOSPC));
    EXPECT_EQ(readAll(keep), "old\n");
    EXPECT_EQ(entryNames(dir.path()), QStringList{"keep.txt"});
}
} // namespace
