#include "cli_run.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>
#include <QSet>
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

TEST(StringsCli, ValidationMessagesAndStatus)
{
    CliResult r = runCli({"strings", "--length", "9-1", "--count", "0"});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(QString::fromUtf8(r.err).contains(QStringLiteral("生成长度设定无效！")));
    r = runCli({"strings", "--count", "0"});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(QString::fromUtf8(r.err).contains(QStringLiteral("生成个数设定无效！")));
    r = runCli({"strings", "--digits", "--exclude", "0123456789"});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.out.isEmpty());
    r = runCli({"strings", "--head", QStringLiteral("😀")});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(QString::fromUtf8(r.err).contains(QStringLiteral("--head")));
    EXPECT_EQ(runCli({"strings", "--length", "x"}).status, 2);
}

TEST(StringsCli, UniqueRows)
{
    CliResult r = runCli({"strings", "--digits", "--length", "2", "--count", "100", "--unique"});
    ASSERT_EQ(r.status, 0);
    const QStringList rows = lines(r.out);
    EXPECT_EQ(QSet<QString>(rows.begin(), rows.end()).size(), 100);
    r = runCli({"strings", "--digits", "--length", "2", "--count", "101", "--unique"});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.out.isEmpty());
    r = runCli({"strings", "--digits", "--length", "1", "--exclude", "012345678", "--count", "2", "--unique"});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.out.isEmpty());
    // One-character rows never get a special character, which the advance bound cannot see:
    // a bounded search, then a clear error after the ten rows there are.
    r = runCli({"strings", "--digits", "--length", "1", "--special", "#", "--count", "11", "--unique"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(lines(r.out).size(), 10);
    EXPECT_FALSE(r.err.isEmpty());
}

TEST(StringsCli, FromSettingsWithOverrides)
{
    QTemporaryDir config;
    const QProcessEnvironment env = envWithStore(
        config.path(), "[General]\nisUCase=0\nisLCase=0\nisNum=1\nhead=www.\ntail=.com\nlen_min_str=3\n"
                       "len_max_str=3\ncount_str=4\n");
    CliResult r = runCli({"strings", "--from-settings"}, env);
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
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
