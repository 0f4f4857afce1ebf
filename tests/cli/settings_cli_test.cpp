// The window's options file as kelvane-cli meets it: --from-settings reads
// it and the command line wins; a damaged file is set aside with one line on
// stderr; without --from-settings the window's first-run options apply.
#include "cli_run.h"

#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(SettingsCli, DamagedOptionsFileIsSetAsideWithOneNoticeOnce)
{
    QTemporaryDir dir;
    const QByteArray damaged("[General\ncount_int=3\n");
    const QProcessEnvironment env = envWithStore(dir.path(), damaged);
    const QString ini = dir.path() + "/Kelvane/Kelvane.ini";
    CliResult r = runCli({"numbers", "--count", "2"}, env);
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(lines(r.out).size(), 2);
    const QStringList err = lines(r.err);
    ASSERT_EQ(err.size(), 1) << r.err.toStdString();
    EXPECT_TRUE(err[0].startsWith("kelvane-cli: ") && err[0].contains("“" + ini + ".corrupt”")) << err[0].toStdString();
    QFile kept(ini + ".corrupt");
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), damaged);

    r = runCli({"numbers", "--count", "2"}, env);
    EXPECT_EQ(std::pair(r.status, r.err), std::pair(0, QByteArray())) << "told once";
}

// A command without --from-settings starts from the window's first-run
// options: on a store that holds nothing the two give the same bytes, 10 rows
// of integers 80..100 or of 8 to 16 letters and digits of every kind.
TEST(SettingsCli, DefaultsAreTheWindowsFirstRunOptions)
{
    QTemporaryDir dir;
    const QProcessEnvironment env = envWithStore(dir.path(), "");
    const struct {
        const char* command;
        const char* row;
    } cases[] = {{"numbers", "^(8\\d|9\\d|100)$"}, {"strings", "^[A-Za-z0-9]{8,16}$"}};
    for (const auto& c : cases) {
        const CliResult plain = runCli({c.command, "--seed", "drift"}, env);
        const CliResult stored = runCli({c.command, "--seed", "drift", "--from-settings"}, env);
        ASSERT_EQ(plain.status, 0) << plain.err.toStdString();
        EXPECT_EQ(plain.out, stored.out) << c.command;
        const QStringList rows = lines(plain.out);
        EXPECT_EQ(rows.size(), 10) << c.command;
        for (const QString& row : rows)
            EXPECT_TRUE(QRegularExpression(c.row).match(row).hasMatch()) << row.toStdString();
    }
    const QString all = lines(runCli({"strings", "--seed", "drift"}, env).out).join(QString());
    for (const char* kind : {"[A-Z]", "[a-z]", "[0-9]"})
        EXPECT_TRUE(all.contains(QRegularExpression(kind))) << kind << " missing from " << all.toStdString();
}

// The store as an editor may save it, with a byte-order mark.
TEST(SettingsCli, FromSettingsReadsTheWindowsStoreAndTheCommandLineWins)
{
    QTemporaryDir dir;
    const QProcessEnvironment env = envWithStore(
        dir.path(), "\xEF\xBB\xBF[General]\nisInt=0\nisFloat=1\ncount_int=4\nxsw=3\nisUCase=0\nisLCase=0\nisNum=1\n"
                    "head=www.\ntail=.com\nlen_min_str=3\nlen_max_str=3\ncount_str=4\n");
    const struct {
        QStringList args;
        const char* row;
        int rows;
    } cases[] = {
        {{"numbers"}, "^\\d+\\.\\d{3}$", 4},
        {{"numbers", "--count", "2", "--int"}, "^\\d+$", 2},
        {{"strings"}, "^www\\.\\d{3}\\.com$", 4},
        {{"strings", "--tail", ".cn", "--count", "1"}, "^www\\.\\d{3}\\.cn$", 1},
    };
    for (const auto& c : cases) {
        const CliResult r = runCli(c.args + QStringList{"--from-settings"}, env);
        const std::string what = c.args.join(' ').toStdString();
        ASSERT_EQ(r.status, 0) << what << ": " << r.err.toStdString();
        EXPECT_TRUE(r.err.isEmpty()) << what << ": " << r.err.toStdString();
        const QStringList rows = lines(r.out);
        EXPECT_EQ(rows.size(), c.rows) << what;
        for (const QString& row : rows)
            EXPECT_TRUE(QRegularExpression(c.row).match(row).hasMatch()) << what << ": " << row.toStdString();
    }
}
