// --part K/N: the N parts of a seeded run, made one by one (or by GNU
// parallel), concatenate to the bytes of the whole run; --part is refused
// where that cannot hold.
#include "cli_run.h"

#include <gtest/gtest.h>

#include <QStandardPaths>

namespace {
QStringList withPart(QStringList args, int k, int n)
{
    return args << "--part" << QString("%1/%2").arg(k).arg(n);
}
} // namespace

TEST(PartsCli, PartsConcatenateToTheWholeRun)
{
    // 3-byte rows with LF make blocks of 65536 rows, so the thirds of 196608
    // rows end on block edges; every other count and N puts edges inside
    // blocks. 5 rows in 7 parts leave some parts empty.
    const QStringList cases[] = {
        {"numbers", "--int", "--range", "100", "999", "--count", "196608", "--seed", "p1"},
        {"numbers", "--int", "--float", "--decimals", "3", "--range", "-50", "50", "--count", "100000", "--eol",
         "crlf", "--encoding", "gbk", "--seed", "p2"},
        {"numbers", "--float", "--decimals", "2", "--range", "80", "100", "--count", "90001", "--eol", "crlf",
         "--seed", "p3"},
        {"strings", "--upper", "--lower", "--digits", "--hz", "--length", "4-12", "--head", "www.", "--tail", ".com",
         "--insert", "6|-|2|_", "--special", "!@#中", "--exclude", "0O1lI", "--count", "30000", "--seed", "p4"},
        {"strings", "--lower", "--hz", "--length", "0-6", "--special", "文字", "--count", "40000", "--encoding", "gbk",
         "--eol", "crlf", "--seed", "p5"},
        {"strings", "--digits", "--length", "8", "--head", "138", "--count", "5", "--seed", "p6"},
    };
    for (const QStringList& args : cases) {
        const std::string what = args.join(' ').toStdString();
        const CliResult whole = runCli(args);
        ASSERT_EQ(whole.status, 0) << what << ": " << whole.err.toStdString();
        for (int n : {1, 2, 3, 7}) {
            QByteArray joined;
            for (int k = 1; k <= n; ++k) {
                const CliResult part = runCli(withPart(args, k, n));
                ASSERT_EQ(part.status, 0) << what << " " << k << "/" << n << ": " << part.err.toStdString();
                joined += part.out;
            }
            EXPECT_TRUE(joined == whole.out) << what << " in " << n << " parts";
        }
    }
}

TEST(PartsCli, GnuParallelMakesOneDataSetInParts)
{
    const QString parallel = QStandardPaths::findExecutable("parallel");
    if (parallel.isEmpty())
        GTEST_SKIP() << "GNU parallel is not installed (Debian package parallel)";
    const QStringList args = {"strings", "--upper", "--lower", "--digits", "--length", "16",
                              "--count", "300000", "--seed", "map"};
    const CliResult whole = runCli(args);
    ASSERT_EQ(whole.status, 0);
    // Four parts at once, their outputs kept in the order of the parts.
    QProcess p;
    p.start(parallel, QStringList{"--will-cite", "-k", "-j", "4", KELVANE_CLI_PATH} + args
                          + QStringList{"--part", "{}/4", ":::", "1", "2", "3", "4"});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    EXPECT_TRUE(p.readAllStandardOutput() == whole.out);
}

TEST(PartsCli, RefusedWhereThePartsCannotMakeTheWhole)
{
    const struct {
        QStringList args;
        const char* says;
    } cases[] = {
        {{"numbers", "--count", "10", "--part", "1/2"}, "--seed"},
        {{"strings", "--count", "10", "--part", "2/2"}, "--seed"},
        {{"times", "--interval", "0", "--count", "2", "--part", "1/2"}, "--seed"},
        {{"numbers", "--count", "10", "--seed", "a", "--unique", "--part", "1/2"}, "--unique"},
        {{"strings", "--count", "10", "--seed", "a", "--unique", "--part", "1/2"}, "--unique"},
        {{"numbers", "--count", "10", "--seed", "a", "--part", "0/3"}, "K/N"},
        {{"numbers", "--count", "10", "--seed", "a", "--part", "4/3"}, "K/N"},
        {{"numbers", "--count", "10", "--seed", "a", "--part", "1/0"}, "K/N"},
        {{"strings", "--count", "10", "--seed", "a", "--part", "1/2/3"}, "K/N"},
        {{"strings", "--count", "10", "--seed", "a", "--part", "half"}, "K/N"},
        {{"strings", "--count", "10", "--seed", "a", "--part="}, "K/N"},
        {{"times", "--count", "2", "--seed", "a", "--part", "-1/2"}, "K/N"},
    };
    for (const auto& c : cases) {
        const CliResult r = runCli(c.args);
        const std::string what = c.args.join(' ').toStdString();
        EXPECT_EQ(r.status, 2) << what;
        EXPECT_TRUE(r.out.isEmpty()) << what;
        EXPECT_TRUE(r.err.contains("--part") && r.err.contains(c.says)) << what << ": " << r.err.toStdString();
    }
}

TEST(PartsCli, TimesPartsShareTheEvents)
{
    // 5 events in 3 parts: 1, 2 and 2 of them, each line as it happens.
    const QStringList args = {"times", "--interval", "0-3", "--count", "5", "--seed", "t"};
    int events = 0;
    for (int k = 1; k <= 3; ++k) {
        const CliResult r = runCli(withPart(args, k, 3));
        ASSERT_EQ(r.status, 0) << r.err.toStdString();
        EXPECT_EQ(lines(r.out).size(), k == 1 ? 1 : 2);
        events += int(lines(r.out).size());
    }
    EXPECT_EQ(events, 5);
}
