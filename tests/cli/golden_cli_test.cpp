// A fixed seed must give the same bytes on every machine and in every build:
// these files change only when the generators are meant to change.
#include "cli_run.h"

#include <gtest/gtest.h>

#include <QFile>

namespace {
QByteArray golden(const char* name)
{
    QFile f(QStringLiteral(KELVANE_TEST_DATA "/") + QLatin1String(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
} // namespace

TEST(GoldenCli, SeededStringsAreStable)
{
    const CliResult r = runCli({"strings", "--upper", "--lower", "--digits", "--hz", "--length", "4-12", "--head",
                                "www.", "--tail", ".com", "--insert", "6|-|2|_", "--special", "!@#", "--exclude",
                                "0O1lI", "--count", "40", "--seed", "golden"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, golden("golden-strings.txt"));
}

TEST(GoldenCli, SeededNumbersAreStable)
{
    const CliResult r = runCli({"numbers", "--int", "--float", "--decimals", "3", "--range", "-50", "50", "--count",
                                "40", "--seed", "golden"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, golden("golden-numbers.txt"));
}
