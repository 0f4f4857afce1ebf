#include "cli_run.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QRegularExpression>

#include <sys/resource.h>

namespace {
// Runs kelvane-cli with standard output to the null device; the largest peak
// resident memory (KiB) of the programs this test has run so far, or -1 when
// this one did not run to a clean end. Freed memory is returned at once under
// AddressSanitizer, so only what is kept counts.
long peakKiB(const QStringList& args)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("ASAN_OPTIONS", env.value("ASAN_OPTIONS") + ":quarantine_size_mb=0");
    QProcess p;
    p.setProcessEnvironment(env);
    p.setStandardOutputFile(QProcess::nullDevice());
    p.start(QStringLiteral(KELVANE_CLI_PATH), args);
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return -1;
    rusage usage{};
    return getrusage(RUSAGE_CHILDREN, &usage) == 0 ? usage.ru_maxrss : -1;
}
} // namespace

TEST(TimesCli, PrintsExactlyOneLinePerEventAndNothingElse)
{
    struct Case {
        QStringList args;
        QString output; // the whole output, as a pattern
    } cases[] = {
        {{"times", "--interval", "0-5", "--count", "3"}, "(\\d{4}-\\d{2}-\\d{2}   \\d{2}:\\d{2}:\\d{2}\\n){3}"},
        {{"times", "--interval", "0", "--count", "1", "--eol", "crlf", "--encoding", "gbk"},
         "\\d{4}-\\d{2}-\\d{2}   \\d{2}:\\d{2}:\\d{2}\\r\\n"},
    };
    for (const Case& c : cases) {
        const CliResult r = runCli(c.args);
        const std::string what = c.args.join(' ').toStdString();
        ASSERT_EQ(r.status, 0) << what << ": " << r.err.toStdString();
        const QRegularExpression whole(QRegularExpression::anchoredPattern(c.output));
        EXPECT_TRUE(whole.match(QString::fromLatin1(r.out)).hasMatch()) << what << ": [" << r.out.toStdString() << "]";
        EXPECT_TRUE(r.err.isEmpty()) << what;
    }
}

TEST(TimesCli, WaitsEveryIntervalIncludingTheFirst)
{
    QElapsedTimer clock;
    clock.start();
    const CliResult r = runCli({"times", "--interval", "300", "--count", "3"});
    const qint64 elapsed = clock.elapsed();
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(lines(r.out).size(), 3);
    EXPECT_GE(elapsed, 880); // three intervals of 300 ms, give or take the clock's grain
}

TEST(TimesCli, KeepsNoLogOfPastEvents)
{
    // 200,000 lines are about 4.6 MB of text: a kept log would show in the peak.
    const long few = peakKiB({"times", "--interval", "0", "--count", "10"});
    const long many = peakKiB({"times", "--interval", "0", "--count", "200000"});
    ASSERT_GT(few, 0);
    ASSERT_GT(many, 0);
    EXPECT_LT(many - few, 2048) << few << " KiB for 10 events, " << many << " KiB for 200000";
}
