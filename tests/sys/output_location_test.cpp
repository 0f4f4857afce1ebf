#include "sys/output_location.h"

#include "support/scoped_env.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <string>

TEST(OutputLocation, DecisionTable)
{
    const struct {
        const char *name, *programFolder;
        bool writable;
        const char *dataHome, *expected;
    } cases[] = {
        {"writable folder keeps the file beside the program", "/opt/k/bin", true, "/home/u/.local/share",
         "/opt/k/bin/_out.txt"},
        {"trailing separator is not doubled", "/opt/k/bin/", true, "/home/u/.local/share", "/opt/k/bin/_out.txt"},
        {"unwritable folder moves the file to the data folder", "/usr/bin", false, "/home/u/.local/share",
         "/home/u/.local/share/Kelvane/_out.txt"},
        {"data folder with a trailing separator", "/usr/bin/", false, "/data/", "/data/Kelvane/_out.txt"},
        {"no data folder known: beside the program, where the write reports", "/usr/bin", false, "",
         "/usr/bin/_out.txt"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(outloc::outputFilePath(c.programFolder, c.writable, c.dataHome), c.expected) << c.name;
}

TEST(OutputLocation, DataHomeFromEnvironment)
{
    const struct {
        const char *xdg, *home, *expected;
    } cases[] = {
        {"/x/data", "/home/u", "/x/data"},
        {nullptr, "/home/u", "/home/u/.local/share"},     // unset
        {"", "/home/u", "/home/u/.local/share"},          // empty
        {"rel/data", "/home/u/", "/home/u/.local/share"}, // relative values are ignored
        {nullptr, nullptr, ""},
        {"", "", ""},
    };
    for (const auto& e : cases)
        EXPECT_EQ(outloc::xdgDataHome(e.xdg, e.home), e.expected)
            << (e.xdg ? e.xdg : "(unset)") << " / " << (e.home ? e.home : "(unset)");
}

TEST(OutputLocation, InstalledFolderIsNeverWritten)
{
    QTemporaryDir dir;
    EXPECT_TRUE(outloc::programFolderWritable(dir.path().toStdString()));
    // Even for root, who can write there.
    EXPECT_FALSE(outloc::programFolderWritable("/usr/bin"));
    EXPECT_FALSE(outloc::programFolderWritable("/usr/local/bin/"));
    EXPECT_FALSE(outloc::programFolderWritable(dir.filePath(QStringLiteral("missing")).toStdString()));
    EXPECT_FALSE(outloc::programFolderWritable(""));
}

// The data folder is made only when the file goes there; with XDG_DATA_HOME
// unset it is the one under HOME.
TEST(OutputLocation, LocateCreatesTheDataFolderOnlyWhenUsed)
{
    QTemporaryDir program, data;
    const std::string dataHome = data.filePath(QStringLiteral("deep/share")).toStdString();
    {
        ScopedEnv xdg("XDG_DATA_HOME", dataHome.c_str());
        EXPECT_EQ(outloc::locateOutputFile(program.path().toStdString()), program.path().toStdString() + "/_out.txt");
        EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(dataHome)));
        EXPECT_EQ(outloc::locateOutputFile("/usr/bin"), dataHome + "/Kelvane/_out.txt");
        EXPECT_TRUE(QFileInfo(QString::fromStdString(dataHome + "/Kelvane")).isDir());
    }
    ScopedEnv xdg("XDG_DATA_HOME", nullptr);
    ScopedEnv home("HOME", program.path().toLocal8Bit().constData());
    EXPECT_EQ(outloc::locateOutputFile("/usr/bin"), program.path().toStdString() + "/.local/share/Kelvane/_out.txt");
    EXPECT_TRUE(QDir(program.filePath(QStringLiteral(".local/share/Kelvane"))).exists());
}
