#include "cli_run.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QRegularExpression>

#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

// Runs kelvane-cli with standard output to /dev/null; its peak resident
// memory in KiB, or -1 when it did not run to a clean end. Freed memory is
// returned at once under AddressSanitizer, so only what is kept counts.
long peakKiB(const QStringList& args)
{
    std::vector<std::string> argStore{KELVANE_CLI_PATH};
    for (const QString& a : args)
        argStore.push_back(a.toStdString());
    std::vector<char*> argv;
    for (std::string& a : argStore)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    const char* asan = std::getenv("ASAN_OPTIONS");
    std::string asanOptions = std::string("ASAN_OPTIONS=") + (asan ? asan : "") + ":quarantine_size_mb=0";
    std::vector<char*> envp;
    for (char** e = environ; *e; ++e)
        if (std::string(*e).rfind("ASAN_OPTIONS=", 0) != 0)
            envp.push_back(*e);
    envp.push_back(asanOptions.data());
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0)
        return -1;
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    return usage.ru_maxrss;
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
