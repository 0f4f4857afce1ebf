#include "cli_run.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QTemporaryDir>

TEST(StringsCli, EveryOptionReachesTheRows)
{
    const CliResult r = runCli({"strings", "--digits", "--length", "8", "--head", "138", "--tail", "@x.cn",
                                "--insert", "3|-", "--count", "50"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QRegularExpression phone(QStringLiteral("^138-\\d{8}@x\\.cn$"));
    const QStringList rows = lines(r.out);
    ASSERT_EQ(rows.size(), 50);
    for (const QString& row : rows)
        EXPECT_TRUE(phone.match(row).hasMatch()) << row.toStdString();
}

TEST(StringsCli, ChineseRowsInBothEncodings)
{
    const QStringList args = {"strings", "--hz", "--length", "4", "--count", "20", "--seed", "hz"};
    const CliResult utf8 = runCli(args);
    const CliResult gbk = runCli(args + QStringList{"--encoding", "gbk", "--eol", "crlf"});
    ASSERT_EQ(utf8.status, 0);
    ASSERT_EQ(gbk.status, 0);
    EXPECT_EQ(gbk.out.size(), 20 * (8 + 2));
    QStringDecoder dec("GBK");
    const QString decoded = dec(gbk.out);
    EXPECT_FALSE(dec.hasError());
    EXPECT_EQ(QString(decoded).replace("\r\n", "\n"), QString::fromUtf8(utf8.out));
    for (const QString& row : lines(utf8.out))
        EXPECT_EQ(row.size(), 4);
}

// The window's store, as an editor may save it (with a byte-order mark);
// options on the command line win.
TEST(StringsCli, FromSettingsWithOverrides)
{
    QTemporaryDir config;
    const QProcessEnvironment env = envWithStore(
        config.path(), "\xEF\xBB\xBF[General]\nisUCase=0\nisLCase=0\nisNum=1\nhead=www.\ntail=.com\nlen_min_str=3\n"
                       "len_max_str=3\ncount_str=4\n");
    CliResult r = runCli({"strings", "--from-settings"}, env);
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
    const QRegularExpression domain(QStringLiteral("^www\\.\\d{3}\\.com$"));
    QStringList rows = lines(r.out);
    ASSERT_EQ(rows.size(), 4);
    for (const QString& row : rows)
        EXPECT_TRUE(domain.match(row).hasMatch()) << row.toStdString();
    r = runCli({"strings", "--from-settings", "--tail", ".cn", "--count", "1"}, env);
    rows = lines(r.out);
    ASSERT_EQ(rows.size(), 1);
    EXPECT_TRUE(rows[0].endsWith(".cn"));
}
