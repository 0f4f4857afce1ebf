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
    // Chinese text drawn, or only in the fixed parts around ASCII draws.
    const QStringList cases[] = {
        {"strings", "--hz", "--length", "4", "--count", "20", "--seed", "hz"},
        {"strings", "--digits", "--length", "4", "--head", "中", "--count", "20", "--seed", "hz"},
        {"strings", "--upper", "--length", "6", "--tail", "文", "--count", "20", "--seed", "hz"},
        {"strings", "--lower", "--length", "6", "--special", "字", "--count", "20", "--seed", "hz"},
        {"strings", "--lower", "--length", "6", "--insert", "1|字", "--count", "20", "--seed", "hz"},
    };
    for (const QStringList& args : cases) {
        const std::string what = args.join(' ').toStdString();
        const CliResult utf8 = runCli(args);
        const CliResult gbk = runCli(args + QStringList{"--encoding", "gbk", "--eol", "crlf"});
        ASSERT_EQ(utf8.status, 0) << what;
        ASSERT_EQ(gbk.status, 0) << what;
        QStringDecoder fromGbk("GBK"), fromUtf8(QStringConverter::Utf8);
        const QString decoded = fromGbk(gbk.out), text = fromUtf8(utf8.out);
        EXPECT_FALSE(fromGbk.hasError() || fromUtf8.hasError()) << what;
        EXPECT_EQ(QString(decoded).replace("\r\n", "\n"), text) << what;
        EXPECT_EQ(lines(utf8.out).size(), 20) << what;
    }
    const CliResult hz = runCli(cases[0] + QStringList{"--encoding", "gbk", "--eol", "crlf"});
    EXPECT_EQ(hz.out.size(), 20 * (8 + 2));
    for (const QString& row : lines(runCli(cases[0]).out))
        EXPECT_EQ(row.size(), 4);
}
