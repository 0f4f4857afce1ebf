// The window's options file as kelvane-cli meets it: a damaged file is set
// aside with one line on stderr, a byte-order mark is no damage.
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

TEST(SettingsCli, OptionsFileWithAByteOrderMarkIsUsed)
{
    QTemporaryDir dir;
    const QProcessEnvironment env =
        envWithStore(dir.path(), "\xEF\xBB\xBF[General]\nisUCase=0\nisLCase=0\nisNum=1\nlen_min_str=3\nlen_max_str=3\n"
                                 "count_str=4\n");
    const CliResult r = runCli({"strings", "--from-settings"}, env);
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
    const QStringList rows = lines(r.out);
    ASSERT_EQ(rows.size(), 4);
    for (const QString& row : rows)
        EXPECT_TRUE(QRegularExpression("^[0-9]{3}$").match(row).hasMatch()) << row.toStdString();
}
