#include "cli_run.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

TEST(TimesCli, PrintsOneLinePerEventAsItHappens)
{
    const CliResult r = runCli({"times", "--interval", "0-5", "--count", "3"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QStringList lines = QString::fromUtf8(r.out).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3);
    const QRegularExpression line(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}   \\d{2}:\\d{2}:\\d{2}$"));
    for (const QString& l : lines)
        EXPECT_TRUE(line.match(l).hasMatch()) << l.toStdString();
    EXPECT_TRUE(r.err.isEmpty());
}

TEST(TimesCli, InvalidOptionsGiveTheWindowsMessagesAndStatus2)
{
    CliResult r = runCli({"times", "--exec", "", "--interval", "9-1"});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(QString::fromUtf8(r.err).contains(QStringLiteral("外部程序命令行无效！")));
    EXPECT_TRUE(r.out.isEmpty());
    r = runCli({"times", "--interval", "9-1"});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(QString::fromUtf8(r.err).contains(QStringLiteral("发生间隔设定无效！")));
    r = runCli({"times", "--count", "0"});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(QString::fromUtf8(r.err).contains(QStringLiteral("生成个数设定无效！")));
    r = runCli({"times", "--interval", "abc"});
    EXPECT_EQ(r.status, 2);
    r = runCli({"times", "--count", "x"});
    EXPECT_EQ(r.status, 2);
}
