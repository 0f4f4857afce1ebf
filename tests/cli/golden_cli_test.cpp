// A fixed seed must give the same bytes on every machine and in every build:
// the runs of golden_cases.txt change only when the generators are meant to
// change. The Windows build checks the same runs under Wine.
#include "cli_run.h"

#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QFile>

TEST(GoldenCli, SeededRunsAreStable)
{
    QFile cases(QStringLiteral(KELVANE_TEST_DATA "/../golden_cases.txt"));
    ASSERT_TRUE(cases.open(QIODevice::ReadOnly));
    int runs = 0;
    for (const QString& line : QString::fromUtf8(cases.readAll()).split('\n')) {
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        QStringList args = line.split(' ', Qt::SkipEmptyParts);
        const QString expected = args.takeFirst();
        SCOPED_TRACE(line.toStdString());
        const CliResult r = runCli(args);
        ASSERT_EQ(r.status, 0) << r.err.toStdString();
        if (expected.endsWith(QLatin1String(".txt"))) {
            QFile f(QStringLiteral(KELVANE_TEST_DATA "/") + expected);
            ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << expected.toStdString();
            EXPECT_EQ(r.out, f.readAll());
        } else {
            EXPECT_EQ(QCryptographicHash::hash(r.out, QCryptographicHash::Sha256).toHex(), expected.toLatin1());
        }
        ++runs;
    }
    EXPECT_GE(runs, 9);
}
