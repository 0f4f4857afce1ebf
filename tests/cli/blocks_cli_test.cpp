// Rows made in blocks on several threads: the same bytes for a seed whatever
// the thread count, every row once, and a failed or closed output stops all
// of them.
#include "cli_run.h"

#include <gtest/gtest.h>

#include <QProcess>

namespace {
CliResult runWithThreads(const QStringList& args, int threads)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("KELVANE_CLI_THREADS", QString::number(threads));
    return runCli(args, env);
}
} // namespace

TEST(BlocksCli, SeededBytesDoNotDependOnTheThreadCount)
{
    // 3-byte rows make blocks of 65536 rows, so these counts end one row
    // short of, on, and one row past a block boundary. The strings run mixes
    // one- and two-byte characters and lengths, so its blocks differ in size.
    const struct {
        QStringList args;
        int rows;
    } cases[] = {
        {{"numbers", "--int", "--range", "100", "999", "--count", "131071", "--seed", "b"}, 131071},
        {{"numbers", "--int", "--range", "100", "999", "--count", "131072", "--seed", "b"}, 131072},
        {{"numbers", "--int", "--range", "100", "999", "--count", "131073", "--seed", "b"}, 131073},
        {{"numbers", "--int", "--float", "--decimals", "3", "--range", "-5", "5", "--count", "100000", "--eol",
          "crlf", "--seed", "c"},
         100000},
        {{"strings", "--upper", "--hz", "--length", "1-12", "--special", "#", "--count", "60000", "--encoding",
          "gbk", "--seed", "d"},
         60000},
    };
    for (const auto& c : cases) {
        const CliResult one = runWithThreads(c.args, 1);
        ASSERT_EQ(one.status, 0) << one.err.toStdString();
        EXPECT_EQ(one.out.count('\n'), c.rows) << c.args.join(' ').toStdString();
        for (int threads : {2, 3, 8}) {
            const CliResult many = runWithThreads(c.args, threads);
            EXPECT_EQ(many.status, 0);
            EXPECT_TRUE(many.out == one.out) << c.args.join(' ').toStdString() << " on " << threads << " threads";
        }
    }
    // Blocks are not copies of one another.
    const CliResult r = runWithThreads({"numbers", "--range", "0", "1000000", "--count", "200000", "--seed", "e"}, 2);
    const QList<QByteArray> rows = r.out.split('\n');
    ASSERT_GT(rows.size(), 150000);
    EXPECT_NE(rows.mid(0, 100), rows.mid(65536, 100));
    EXPECT_NE(rows.mid(0, 100), rows.mid(131072, 100));
}

TEST(BlocksCli, AFailedWriteStopsEveryThreadWithStatus1)
{
    QProcess p;
    p.setStandardOutputFile("/dev/full");
    p.start(QStringLiteral(KELVANE_CLI_PATH), {"numbers", "--count", "2000000000"});
    ASSERT_TRUE(p.waitForFinished(20000));
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p.exitCode(), 1);
    EXPECT_FALSE(p.readAllStandardError().isEmpty());
}
