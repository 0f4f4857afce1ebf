#include "sys/linux/launcher.h"

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>

namespace {

using Call = std::pair<QString, QStringList>;

// A temporary working folder holding a script that writes its argument
// count into "ran", a document whose name starts with '-', and a folder.
struct Sandbox {
    QTemporaryDir dir;
    QString previous = QDir::currentPath();
    Sandbox()
    {
        QDir::setCurrent(dir.path());
        const QByteArray ran = dir.filePath(QStringLiteral("ran")).toUtf8();
        write(QStringLiteral("tool"), "#!/bin/sh\necho \"$#\" > '" + ran + "'\n");
        write(QStringLiteral("-notes.txt"), "x");
        QDir(dir.path()).mkdir(QStringLiteral("folder one"));
    }
    ~Sandbox() { QDir::setCurrent(previous); }
    void write(const QString& name, const QByteArray& data)
    {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(data);
        if (data.startsWith("#!"))
            f.setPermissions(f.permissions() | QFileDevice::ExeOwner);
    }
    QString path(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }
    // The script's record, once it has run (or "none" after 10 s).
    QByteArray ran() const
    {
        QFile f(path("ran"));
        for (QDeadlineTimer t(10000); !t.hasExpired() && f.size() == 0; QThread::msleep(10)) {
        }
        return f.open(QIODevice::ReadOnly) ? f.readAll().trimmed() : QByteArray("none");
    }
};

} // namespace

TEST(Launcher, StartsARealExecutableWholeWithNoArguments)
{
    Sandbox box;
    // The name holds a blank and shell syntax; a shell would run `touch pwned`.
    QFile::rename(box.path("tool"), box.path("run me; touch pwned"));
    EXPECT_TRUE(Launcher().open(QStringLiteral("run me; touch pwned")));
    EXPECT_EQ(box.ran(), "0");
    EXPECT_FALSE(QFileInfo::exists(box.path("pwned")));
}

TEST(Launcher, ShellSyntaxAndBlankTextsAreNeverInterpreted)
{
    Sandbox box;
    const QString pwned = box.path("pwned");
    const QStringList texts{"touch " + pwned + "; echo", "./tool | touch " + pwned,
                            "$(touch " + pwned + ")",    "`touch " + pwned + "`",
                            "\"" + box.path("tool") + "\"", "'./tool'",
                            "./tool --flag",             "",
                            "   ",                       "https://example.com/a b"};
    std::vector<Call> calls;
    Launcher recorded([&](const QString& p, const QStringList& a) {
        calls.emplace_back(p, a);
        return true;
    });
    for (const QString& t : texts) {
        testing::internal::CaptureStderr();
        EXPECT_FALSE(recorded.open(t)) << t.toStdString();
        EXPECT_FALSE(Launcher().open(t));
        EXPECT_NE(testing::internal::GetCapturedStderr().find("cannot open"), std::string::npos);
    }
    EXPECT_TRUE(calls.empty());
    QThread::msleep(200);
    EXPECT_FALSE(QFileInfo::exists(pwned));
    EXPECT_FALSE(QFileInfo::exists(box.path("ran")));
}

TEST(Launcher, DocumentsFoldersAndAddressesGoToTheDesktopHandler)
{
    Sandbox box;
    std::vector<Call> calls;
    bool succeed = true;
    Launcher recorded([&](const QString& p, const QStringList& a) {
        calls.emplace_back(p, a);
        return succeed;
    });
    for (const char* t : {"-notes.txt", "folder one", "https://example.com/?q=1", "./tool", "sh"})
        EXPECT_TRUE(recorded.open(QString::fromUtf8(t))) << t;
    const QString opener = Launcher::desktopOpener();
    ASSERT_EQ(calls.size(), 5u);
    // Files are made absolute, so "-notes.txt" is never read as an option.
    EXPECT_EQ(calls[0], Call(opener, {box.path("-notes.txt")}));
    EXPECT_EQ(calls[1], Call(opener, {box.path("folder one")}));
    EXPECT_EQ(calls[2], Call(opener, {"https://example.com/?q=1"}));
    EXPECT_EQ(calls[3], Call(box.path("tool"), {}));
    EXPECT_TRUE(QFileInfo(calls[4].first).isAbsolute()); // a bare name found on PATH
    EXPECT_TRUE(calls[4].second.isEmpty());

    succeed = false; // a start that fails is reported, not hidden
    testing::internal::CaptureStderr();
    EXPECT_FALSE(recorded.open(QStringLiteral("folder one")));
    EXPECT_NE(testing::internal::GetCapturedStderr().find("could not start xdg-open"),
              std::string::npos);
}
