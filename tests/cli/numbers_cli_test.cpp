#include "cli_run.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
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
