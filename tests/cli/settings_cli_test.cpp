// The window's options file as kelvane-cli meets it: a damaged file is set
// aside with one line on stderr; without --from-settings the window's
// first-run options apply.
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
