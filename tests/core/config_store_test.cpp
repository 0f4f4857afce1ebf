#include "core/ccore.h"
#include "core/config_store.h"
#include "core/core_options.h"
#include "core/gbk.h"
#include "support/scoped_core.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>

#include <sys/stat.h>

namespace {
void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

std::unique_ptr<CCore> coreAt(const QString& configPath)
{
    CoreOptions o;
    o.configPath = configPath;
    o.appPath = QStringLiteral("/tmp");
    return std::make_unique<CCore>(std::move(o));
}
} // namespace

TEST(ConfigStore, FirstRunDefaultsLetEveryTabGenerate)
{
    ScopedCore c;
    EXPECT_EQ(c->getConfigB("isUCase"), 1);
    EXPECT_EQ(c->getConfigB("isHz"), 0);
    EXPECT_EQ(c->getConfigStr("charSpec"), "!@#$%^&*");
    EXPECT_EQ(c->getConfigStr("charExclude"), "0O1lI");
    EXPECT_EQ(c->getConfigStr("len_min_str"), "8"); // numbers load as text
    EXPECT_EQ(c->getConfigStr("count_str"), "10");
    EXPECT_EQ(c->getConfigInt("xsw"), 2);
    EXPECT_EQ(c->getConfigInt("min_delay"), 1000);
    EXPECT_EQ(c->getConfigStr("fileProgram"), "");
    EXPECT_EQ(c->getConfigInt("neverHeardOf"), 0);
    EXPECT_EQ(c->getConfigStr("neverHeardOf"), "");
    EXPECT_EQ(c->getConfigB("neverHeardOf"), 0);
}

TEST(ConfigStore, RoundTripsAcrossRestartsIntegersReadBackAsDecimalText)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Kelvane.ini");
    const CString hz = gbk::lit("测试,头部 = [x]; #y \"q\"");
    {
        auto core = coreAt(path);
        core->saveConfigInt("count_str", -42);
        core->saveConfigInt("len_max_str", 0);
        core->saveConfigStr("head", hz);
        core->saveConfigStr("tail", "");
        core->saveConfigB("isHz", 1);
        core->saveConfigStr("charSpec", " ! @ ");
    }
    auto core = coreAt(path);
    EXPECT_EQ(core->getConfigStr("count_str"), "-42");
    EXPECT_EQ(core->getConfigInt("count_str"), -42);
    EXPECT_EQ(core->getConfigStr("len_max_str"), "0");
    EXPECT_EQ(core->getConfigStr("head"), hz);
    EXPECT_EQ(core->getConfigStr("tail"), ""); // stored empty, not the default
    EXPECT_EQ(core->getConfigB("isHz"), 1);
    EXPECT_EQ(core->getConfigStr("charSpec"), " ! @ ");
    // The file itself is UTF-8, readable by a person.
    EXPECT_TRUE(QString::fromUtf8(readFile(path)).contains(QStringLiteral("测试")));
}

TEST(ConfigStore, UnusableValuesFallBackToDefaults)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Kelvane.ini");
    writeFile(path, "[General]\nisUCase=2\nisLCase=-1\nisNum=abc\nisHz=1\nisCharEx=0\n"
                    "count_int=12abc\nxsw=99999999999\nlen_min_str=3\nhead=a, b\n");
    auto core = coreAt(path);
    // A flag is only ever 0 or 1, so a check box never sees an indeterminate state.
    EXPECT_EQ(core->getConfigB("isUCase"), 1);
    EXPECT_EQ(core->getConfigB("isLCase"), 1);
    EXPECT_EQ(core->getConfigB("isNum"), 1);
    EXPECT_EQ(core->getConfigB("isHz"), 1);
    EXPECT_EQ(core->getConfigB("isCharEx"), 0);
    EXPECT_EQ(core->getConfigInt("count_int"), 10);
    EXPECT_EQ(core->getConfigInt("xsw"), 2);
    EXPECT_EQ(core->getConfigStr("len_min_str"), "3");
}

TEST(ConfigStore, GarbageFileStartsWithDefaultsAndIsKeptAside)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Kelvane.ini");
    QByteArray junk;
    for (int i = 0; i < 4096; ++i)
        junk.append(char((i * 37 + 11) & 0xff));
    writeFile(path, junk);
    {
        auto core = coreAt(path);
        EXPECT_EQ(core->getConfigB("isUCase"), 1);
        EXPECT_EQ(core->getConfigInt("count_int"), 10);
        core->saveConfigInt("count_int", 7);
        EXPECT_TRUE(core->store().wasCorrupt());
        EXPECT_EQ(readFile(path + ".corrupt"), junk);
        // What the user is told names the file and its kept copy.
        const QString notice = gbk::decode(core->store().setAsideNotice());
        EXPECT_TRUE(notice.contains("“" + path + "”") && notice.contains("“" + path + ".corrupt”"))
            << notice.toStdString();
    }
    auto again = coreAt(path);
    EXPECT_EQ(again->getConfigInt("count_int"), 7);
    EXPECT_FALSE(again->store().wasCorrupt()) << "told once: the next start finds a sound file";
    EXPECT_EQ(again->store().setAsideNotice(), "");
}

TEST(ConfigStore, DamagedFileWithoutRoomForItsCopyIsLeftUntouched)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Kelvane.ini");
    writeFile(path, "[General\nisHz=1\n");
    ASSERT_TRUE(QDir().mkpath(path + ".corrupt")); // the copy cannot be made
    {
        auto core = coreAt(path);
        EXPECT_TRUE(core->store().wasCorrupt());
        EXPECT_EQ(core->store().keptCopy(), "");
        EXPECT_TRUE(gbk::decode(core->store().setAsideNotice()).contains(QStringLiteral("不会改写该文件")));
        core->saveConfigInt("count_int", 7);
        EXPECT_EQ(core->getConfigInt("count_int"), 7) << "the run goes on with its own changes";
        EXPECT_FALSE(core->store().sync()) << "the file is not written";
    }
    EXPECT_EQ(readFile(path), "[General\nisHz=1\n");
}

// Editors may start a UTF-8 file with a byte-order mark: every setting and
// the user's own keys are kept, whatever the first line is.
TEST(ConfigStore, ByteOrderMarkIsAccepted)
{
    const QByteArray bom("\xEF\xBB\xBF");
    const struct {
        const char* name;
        QByteArray body;
    } cases[] = {
        {"section first", "[General]\nisHz=1\nhead=\xE5\xA4\xB4\ncount_str=33\n[mine]\nnote=keep me\n"},
        {"key first", "isHz=1\nhead=\xE5\xA4\xB4\ncount_str=33\n[mine]\nnote=keep me\n"},
        {"comment first", "; by hand\n[General]\nisHz=1\nhead=\xE5\xA4\xB4\ncount_str=33\n[mine]\nnote=keep me\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        const QString path = dir.filePath("Kelvane.ini");
        writeFile(path, bom + c.body);
        {
            auto core = coreAt(path);
            EXPECT_FALSE(core->store().wasCorrupt());
            EXPECT_EQ(core->getConfigB("isHz"), 1);
            EXPECT_EQ(core->getConfigStr("head"), gbk::lit("头"));
            EXPECT_EQ(core->getConfigInt("count_str"), 33);
            core->saveConfigInt("count_int", 4);
        }
        EXPECT_FALSE(QFile::exists(path + ".corrupt"));
        auto core = coreAt(path);
        EXPECT_EQ(std::pair(core->getConfigInt("count_int"), core->getConfigB("isHz")), std::pair(4, 1));
        EXPECT_EQ(QSettings(path, QSettings::IniFormat).value("mine/note").toString(), "keep me");
    }
}

// A NUL in a stored text (put there by hand) ends the text: nothing after it
// reaches a control or a row.
TEST(ConfigStore, StoredTextsEndAtANul)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Kelvane.ini");
    writeFile(path, "[General]\nhead=ab\\0cd\ntail=\"\\x0z\"\ninsertStr=3|x\\0|1|y\ncharSpec=\\0\n");
    {
        auto core = coreAt(path);
        for (const auto& [key, want] : {std::pair<const char*, const char*>{"head", "ab"}, {"tail", ""},
                                        {"insertStr", "3|x"}, {"charSpec", ""}})
            EXPECT_EQ(core->getConfigStr(key), std::string(want)) << key;
        // Stored through the core as well (a text read from a box).
        core->saveConfigStr("fileProgram", std::string("run\0.sh", 7));
    }
    EXPECT_EQ(coreAt(path)->getConfigStr("fileProgram"), "run");
}

TEST(ConfigStore, PipeInPlaceOfTheFileIsNeitherReadNorReplaced)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Kelvane.ini");
    ASSERT_EQ(mkfifo(path.toLocal8Bit().constData(), 0600), 0);
    {
        auto core = coreAt(path); // would wait for a writer forever if it read the pipe
        EXPECT_EQ(core->getConfigInt("count_time"), 5);
        core->saveConfigInt("count_time", 9);
        EXPECT_FALSE(core->store().sync());
    }
    struct stat st = {};
    ASSERT_EQ(stat(path.toLocal8Bit().constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
}

TEST(ConfigStore, UnwritableLocationNeverCrashes)
{
    QTemporaryDir dir;
    // A folder where the file should be: it can be neither read nor written.
    const QString path = dir.filePath("Kelvane.ini");
    ASSERT_TRUE(QDir().mkpath(path));
    auto core = coreAt(path);
    EXPECT_EQ(core->getConfigInt("count_time"), 5);
    core->saveConfigInt("count_time", 9);
    EXPECT_FALSE(core->store().sync());
    EXPECT_TRUE(QFileInfo(path).isDir());
}

TEST(ConfigStore, WritesReplaceTheFileWholeLeavingNoTemporaries)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Kelvane.ini");
    for (int round = 0; round < 3; ++round) {
        auto core = coreAt(path);
        core->saveConfigStr("insertStr", std::string(5000, char('a' + round)));
        ASSERT_TRUE(core->store().sync());
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"Kelvane.ini"});
    EXPECT_EQ(coreAt(path)->getConfigStr("insertStr"), std::string(5000, 'c'));
}
