// How the command line reads its values: "--opt=" is an empty value, counts
// and lengths are whole integers or an error naming the option, settings the
// window refuses are refused with its messages, and --unique is bound by the
// rows there are.
#include "cli_run.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QThread>

TEST(OptionsCli, EmptyValueAfterEqualsNeverTakesTheNextArgument)
{
    QTemporaryDir dir;
    // The file name is empty, not "--float".
    CliResult r = runCli({"numbers", "--out=", "--float"}, QProcessEnvironment::systemEnvironment(), 60000, dir.path());
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(QString::fromUtf8(r.err).contains("--out")) << r.err.toStdString();
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());

    // The decimals are empty, not "--count=31".
    r = runCli({"numbers", "--decimals=", "--count=31"});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(QString::fromUtf8(r.err).contains("--decimals")) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());

    // An empty head, and --unique still applies.
    r = runCli({"strings", "--head=", "--unique", "--digits", "--length", "1", "--count", "10"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QStringList rows = lines(r.out);
    ASSERT_EQ(rows.size(), 10);
    EXPECT_EQ(QSet<QString>(rows.begin(), rows.end()).size(), 10);
    for (const QString& row : rows)
        EXPECT_TRUE(QRegularExpression("^\\d$").match(row).hasMatch()) << row.toStdString();

    // Texts where empty means something keep their empty value; "=" inside
    // a value and flags are left alone.
    r = runCli({"strings", "--digits", "--length=2", "--tail=", "--head==", "--exclude=", "--count=3"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    for (const QString& row : lines(r.out))
        EXPECT_TRUE(QRegularExpression("^=\\d\\d$").match(row).hasMatch()) << row.toStdString();
    EXPECT_EQ(lines(r.out).size(), 3);
}

TEST(OptionsCli, CountsAndLengthsAreWholeIntegersOrAnErrorNamingTheOption)
{
    struct Case {
        QStringList args;
        const char* option;
    } cases[] = {
        {{"numbers", "--count", "1e6"}, "--count"},
        {{"numbers", "--count", "10abc"}, "--count"},
        {{"numbers", "--count", ""}, "--count"},
        {{"numbers", "--count", " 5"}, "--count"},
        {{"numbers", "--count=-"}, "--count"},
        {{"numbers", "--float", "--decimals", "2.5"}, "--decimals"},
        {{"numbers", "--range", "", "5"}, "--range"},
        {{"numbers", "--max="}, "--max"},
        {{"strings", "--count", "0x10"}, "--count"},
        {{"strings", "--count", "-99999999999"}, "--count"},
        {{"strings", "--length", "8-"}, "--length"},
        {{"strings", "--length", "+-8"}, "--length"},
        {{"strings", "--length", "4-99999999999"}, "--length"},
        {{"times", "--count="}, "--count"},
        {{"times", "--interval", "10-2e3"}, "--interval"},
        {{"times", "--min-delay", "1.5"}, "--min-delay"},
        {{"times", "--max-delay", "9999999999"}, "--max-delay"},
    };
    for (const Case& c : cases) {
        const CliResult r = runCli(c.args);
        const std::string what = c.args.join(' ').toStdString();
        EXPECT_EQ(r.status, 2) << what;
        EXPECT_TRUE(r.out.isEmpty()) << what;
        EXPECT_TRUE(QString::fromUtf8(r.err).startsWith(QStringLiteral("kelvane-cli: ") + c.option))
            << what << ": " << r.err.toStdString();
    }
    // Signed whole numbers are still numbers.
    EXPECT_EQ(lines(runCli({"numbers", "--count", "+3"}).out).size(), 3);
}

TEST(OptionsCli, SettingsTheWindowRefusesGiveItsMessagesAndStatus2)
{
    const struct {
        QStringList args;
        QString message; // the first rule that fails (the order is the generators' own)
    } cases[] = {
        {{"numbers", "--range", "9", "1"}, QStringLiteral("数值范围设定无效！")},
        {{"numbers", "--count", "-5"}, QStringLiteral("生成个数设定无效！")},
        {{"strings", "--count", "0"}, QStringLiteral("生成个数设定无效！")},
        {{"strings", "--digits", "--exclude", "0123456789"}, QStringLiteral("排除字符设定无效")},
        {{"strings", "--head", QStringLiteral("😀")}, QStringLiteral("--head")},
        {{"times", "--exec", "", "--interval", "9-1"}, QStringLiteral("外部程序命令行无效！")},
        {{"times", "--count", "0"}, QStringLiteral("生成个数设定无效！")},
    };
    for (const auto& c : cases) {
        const CliResult r = runCli(c.args);
        const std::string what = c.args.join(' ').toStdString();
        EXPECT_EQ(r.status, 2) << what;
        EXPECT_TRUE(QString::fromUtf8(r.err).contains(c.message)) << what << ": " << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty()) << what;
    }
}

TEST(OptionsCli, UniqueIsBoundByTheRowsThereAre)
{
    // Strings of lengths lo..hi from an alphabet of n characters: n^lo + ... + n^hi.
    const struct {
        QStringList args;
        int most; // the rows there are
    } cases[] = {
        {{"strings", "--digits", "--exclude", "012345678", "--length", "0-3"}, 4}, // "", 9, 99, 999
        {{"strings", "--digits", "--exclude", "012345678", "--length", "5-100000"}, 99996},
        {{"strings", "--digits", "--length", "0-2"}, 111},
        {{"strings", "--digits", "--exclude", "01234567", "--length", "2-4"}, 28}, // 4 + 8 + 16
        {{"numbers", "--range", "1", "50"}, 50},
    };
    for (const auto& c : cases) {
        const std::string what = c.args.join(' ').toStdString();
        const QStringList base = c.args + QStringList{"--unique", "--seed", "bound", "--count"};
        CliResult r = runCli(base + QStringList{QString::number(c.most + 1)});
        EXPECT_EQ(r.status, 2) << what;
        EXPECT_TRUE(r.out.isEmpty()) << what;
        EXPECT_TRUE(QString::fromUtf8(r.err).contains(QStringLiteral("最多只能生成 %1 个").arg(c.most)))
            << what << ": " << r.err.toStdString();
        if (c.most <= 111) { // all of them, each once
            r = runCli(base + QStringList{QString::number(c.most)});
            EXPECT_EQ(r.status, 0) << what << ": " << r.err.toStdString();
            QStringList rows = QString::fromUtf8(r.out).split('\n');
            rows.removeLast();
            EXPECT_EQ(QSet<QString>(rows.begin(), rows.end()).size(), c.most) << what;
        }
    }
    // One-character rows never get a special character, which the bound cannot
    // see: a bounded search, then a clear error after the ten rows there are.
    const CliResult r = runCli({"strings", "--digits", "--length", "1", "--special", "#", "--count", "11", "--unique"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(lines(r.out).size(), 10);
    EXPECT_FALSE(r.err.isEmpty());
}

// The switches that turn a stored or given choice off, the bounds, --exec and
// --version, as a script meets them. Each row runs once: every row printed
// matches everyRow, at least one matches someRow, and --exec's program (a
// script that appends a line to a log) has run launches times.
TEST(OptionsCli, SwitchesBoundsExecAndVersionDoWhatTheySay)
{
    QTemporaryDir dir;
    const QString log = dir.filePath("launched.log"), script = dir.filePath("launch.sh");
    {
        QFile f(script);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("#!/bin/sh\necho event >>'" + log.toUtf8() + "'\n");
        f.close();
        ASSERT_TRUE(f.setPermissions(f.permissions() | QFileDevice::ExeOwner));
    }
    const QByteArray special = "[General]\nisCharSpec=1\n";
    const QByteArray exclude = "[General]\nisCharEx=1\ncharExclude=012345678\n";
    const QByteArray program = "[General]\nisProgram=1\nfileProgram=" + script.toUtf8() + "\n";
    const QStringList stored{"--from-settings", "--count", "40", "--seed", "switches"};
    const struct {
        QStringList args;
        QByteArray ini; // the window's stored options
        QString everyRow, someRow;
        int launches;
    } cases[] = {
        {QStringList{"strings", "--digits", "--length", "6"} + stored, special, "^.{6}$", "[!@#$%^&*]", 0},
        {QStringList{"strings", "--digits", "--length", "6", "--no-special"} + stored, special, "^\\d{6}$", "", 0},
        {QStringList{"strings", "--digits", "--length", "3"} + stored, exclude, "^999$", "", 0},
        {QStringList{"strings", "--digits", "--length", "3", "--no-exclude"} + stored, exclude, "^\\d{3}$", "[0-8]", 0},
        {{"numbers", "--min", "5", "--max", "7", "--count", "60"}, "", "^[567]$", "^5$", 0},
        {{"numbers", "--min", "99", "--count", "40"}, "", "^(99|100)$", "^99$", 0},
        {{"numbers", "--max", "-3", "--min", "-4", "--count", "40"}, "", "^-[34]$", "^-3$", 0},
        {{"times", "--interval", "0", "--count", "3", "--exec", script}, "", "^\\d{4}-", "", 3},
        {{"times", "--interval", "0", "--count", "2", "--from-settings"}, program, "^\\d{4}-", "", 2},
        {{"times", "--interval", "0", "--count", "2", "--from-settings", "--no-exec"}, program, "^\\d{4}-", "", 0},
        {{"--version"}, "", "^kelvane-cli " + QRegularExpression::escape(KELVANE_VERSION) + "$", "", 0},
    };
    for (const auto& c : cases) {
        const std::string what = c.args.join(' ').toStdString();
        QFile::remove(log);
        const CliResult r = runCli(c.args, envWithStore(dir.filePath("config"), c.ini));
        const QStringList rows = lines(r.out);
        EXPECT_EQ(r.status, 0) << what << ": " << r.err.toStdString();
        EXPECT_FALSE(rows.isEmpty()) << what;
        bool some = c.someRow.isEmpty();
        for (const QString& row : rows) {
            EXPECT_TRUE(QRegularExpression(c.everyRow).match(row).hasMatch()) << what << ": " << row.toStdString();
            some = some || QRegularExpression(c.someRow).match(row).hasMatch();
        }
        EXPECT_TRUE(some) << what << ": no row matches " << c.someRow.toStdString();
        // The program is started and not waited for: give it a moment.
        QByteArray launched;
        for (int i = 0; i < 50 && lines(launched).size() < std::max(c.launches, 1); ++i) {
            QThread::msleep(c.launches ? 100 : 6);
            QFile f(log);
            launched = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        }
        EXPECT_EQ(lines(launched).size(), c.launches) << what;
    }
}
