#include "cli_run.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryDir>

TEST(NumbersCli, RowsStayInRangeAndASeedRepeatsTheBytes)
{
    const QStringList args = {"numbers", "--int", "--float", "--decimals", "2", "--range", "80", "100",
                              "--count", "2000", "--seed", "fixture"};
    const CliResult a = runCli(args), b = runCli(args);
    ASSERT_EQ(a.status, 0) << a.err.toStdString();
    EXPECT_EQ(a.out, b.out);
    EXPECT_NE(a.out, runCli({"numbers", "--count", "2000", "--seed", "other"}).out);
    const QStringList rows = lines(a.out);
    ASSERT_EQ(rows.size(), 2000);
    int floats = 0;
    for (const QString& r : rows) {
        bool ok = false;
        const double v = r.toDouble(&ok);
        ASSERT_TRUE(ok) << r.toStdString();
        EXPECT_GE(v, 80.0);
        EXPECT_LE(v, 100.0);
        floats += r.contains('.');
    }
    EXPECT_GT(floats, 800);
    EXPECT_LT(floats, 1200);
    // Line ends: LF by default, CR LF on request, nothing else.
    const CliResult crlf = runCli(args + QStringList{"--eol", "crlf"});
    EXPECT_EQ(QByteArray(a.out).replace("\n", "\r\n"), crlf.out);
    EXPECT_EQ(runCli({"numbers", "--eol", "cr"}).status, 2);
    EXPECT_EQ(runCli({"numbers", "--encoding", "latin1"}).status, 2);
}

TEST(NumbersCli, ValidationMessagesInOrderWithStatus2)
{
    struct Case {
        QStringList args;
        QString message;
    } cases[] = {
        {{"numbers", "--count", "0", "--range", "9", "1", "--decimals", "9", "--float", "--int"},
         QStringLiteral("保留小数位数必须是0到5之间的整数！")},
        {{"numbers", "--range", "9", "1"}, QStringLiteral("数值范围设定无效！")},
        {{"numbers", "--count", "0"}, QStringLiteral("生成个数设定无效！")},
        {{"numbers", "--count", "-5"}, QStringLiteral("生成个数设定无效！")},
    };
    for (const Case& c : cases) {
        const CliResult r = runCli(c.args);
        EXPECT_EQ(r.status, 2) << c.args.join(' ').toStdString();
        EXPECT_TRUE(QString::fromUtf8(r.err).contains(c.message)) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
}

TEST(NumbersCli, UniqueRowsOrAClearErrorBeforeAnyOutput)
{
    CliResult r = runCli({"numbers", "--range", "1", "50", "--count", "50", "--unique"});
    ASSERT_EQ(r.status, 0);
    const QStringList rows = lines(r.out);
    EXPECT_EQ(QSet<QString>(rows.begin(), rows.end()).size(), 50);
    r = runCli({"numbers", "--range", "1", "50", "--count", "51", "--unique"});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_FALSE(r.err.isEmpty());
}

TEST(NumbersCli, OutFileIsWholeOrAbsent)
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

TEST(NumbersCli, FromSettingsReadsTheWindowsStore)
{
    QTemporaryDir config;
    const QProcessEnvironment env =
        envWithStore(config.path(), "[General]\nisInt=0\nisFloat=1\ncount_int=4\nxsw=3\n");
    CliResult r = runCli({"numbers", "--from-settings"}, env);
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    QStringList rows = lines(r.out);
    ASSERT_EQ(rows.size(), 4);
    for (const QString& row : rows)
        EXPECT_EQ(row.size() - row.indexOf('.') - 1, 3) << row.toStdString();
    // Options on the command line override the stored ones.
    r = runCli({"numbers", "--from-settings", "--count", "2", "--int"}, env);
    rows = lines(r.out);
    ASSERT_EQ(rows.size(), 2);
    EXPECT_FALSE(rows[0].contains('.'));
}

TEST(NumbersCli, ClosedPipeEndsAtOnceAndQuietly)
{
    QProcess producer, consumer;
    producer.setStandardOutputProcess(&consumer);
    producer.start(QStringLiteral(KELVANE_CLI_PATH), {"numbers", "--count", "2000000000"});
    consumer.start("head", {"-n", "1"});
    ASSERT_TRUE(consumer.waitForFinished(10000));
    ASSERT_TRUE(producer.waitForFinished(10000)); // not the whole 2e9 rows
    EXPECT_EQ(producer.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(producer.exitCode(), 0);
    EXPECT_TRUE(producer.readAllStandardError().isEmpty());
    EXPECT_EQ(consumer.readAllStandardOutput().count('\n'), 1);
}
