// Line ends and encodings of the rows kelvane-cli prints.
#include "cli_run.h"

#include <gtest/gtest.h>

#include <QStringDecoder>

TEST(EncodingCli, LineEndsAreLfOrCrLfOnRequestAndNothingElse)
{
    const QStringList args = {"numbers", "--int", "--float", "--count", "2000", "--seed", "fixture"};
    const CliResult lf = runCli(args);
    ASSERT_EQ(lf.status, 0) << lf.err.toStdString();
    EXPECT_EQ(lines(lf.out).size(), 2000);
    EXPECT_EQ(QByteArray(lf.out).replace("\n", "\r\n"), runCli(args + QStringList{"--eol", "crlf"}).out);
    EXPECT_EQ(runCli({"numbers", "--eol", "cr"}).status, 2);
    EXPECT_EQ(runCli({"numbers", "--encoding", "latin1"}).status, 2);
}

TEST(EncodingCli, ChineseRowsInBothEncodings)
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
