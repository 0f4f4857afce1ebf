#include "core/output_location.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdlib>
#include <string>

namespace {
struct Case {
    const char* name;
    const char* programFolder;
    bool writable;
    const char* dataHome;
    const char* expected;
};

// Restores one environment variable when the test ends.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name)
    {
        if (const char* old = std::getenv(name))
            old_ = old, had_ = true;
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~ScopedEnv()
    {
        if (had_)
            setenv(name_, old_.c_str(), 1);
        else
            unsetenv(name_);
    }

private:
    const char* name_;
    std::string old_;
    bool had_ = false;
};
} // namespace

TEST(OutputLocation, DecisionTable)
{
    const Case cases[] = {
        {"writable folder keeps the file beside the program", "/opt/k/bin", true, "/home/u/.local/share",
         "/opt/k/bin/_out.txt"},
        {"trailing separator is not doubled", "/opt/k/bin/", true, "/home/u/.local/share", "/opt/k/bin/_out.txt"},
        {"unwritable folder moves the file to the data folder", "/usr/bin", false, "/home/u/.local/share",
         "/home/u/.local/share/Kelvane/_out.txt"},
        {"data folder with a trailing separator", "/usr/bin/", false, "/data/", "/data/Kelvane/_out.txt"},
        {"no data folder known: beside the program, where the write reports", "/usr/bin", false, "",
         "/usr/bin/_out.txt"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(outloc::outputFilePath(c.programFolder, c.writable, c.dataHome), c.expected) << c.name;
}

TEST(OutputLocation, DataHomeFromEnvironment)
{
    struct Env {
        const char* xdg;
        const char* home;
        const char* expected;
    };
    const Env cases[] = {
        {"/x/data", "/home/u", "/x/data"},
        {nullptr, "/home/u", "/home/u/.local/share"},     // unset
        {"", "/home/u", "/home/u/.local/share"},          // empty
        {"rel/data", "/home/u/", "/home/u/.local/share"}, // relative values are ignored
        {nullptr, nullptr, ""},
        {"", "", ""},
    };
    for (const Env& e : cases)
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

TEST(OutputLocation, LocateCreatesTheDataFolderOnlyWhenUsed)
{
    QTemporaryDir program, data;
    const std::string dataHome = data.filePath(QStringLiteral("deep/share")).toStdString();
    ScopedEnv xdg("XDG_DATA_HOME", dataHome.c_str());

    EXPECT_EQ(outloc::locateOutputFile(program.path().toStdString()), program.path().toStdString() + "/_out.txt");
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(dataHome)));

    const std::string path = outloc::locateOutputFile("/usr/bin");
    EXPECT_EQ(path, dataHome + "/Kelvane/_out.txt");
    EXPECT_TRUE(QFileInfo(QString::fromStdString(dataHome + "/Kelvane")).isDir());
}

TEST(OutputLocation, LocateFallsBackToHomeWhenXdgUnset)
{
    QTemporaryDir home;
    ScopedEnv xdg("XDG_DATA_HOME", nullptr);
    ScopedEnv h("HOME", home.path().toLocal8Bit().constData());
    EXPECT_EQ(outloc::locateOutputFile("/usr/bin"), home.path().toStdString() + "/.local/share/Kelvane/_out.txt");
    EXPECT_TRUE(QDir(home.filePath(QStringLiteral(".local/share/Kelvane"))).exists());
}
