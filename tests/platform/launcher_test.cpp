#include "platform/launch/launcher.h"

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>

namespace {

struct Call {
    QString program;
    QStringList arguments;
    bool operator==(const Call&) const = default;
};

// A launcher whose starts are recorded instead of made.
struct Recorder {
    std::vector<Call> calls;
    bool succeed = true;
    Launcher launcher{[this](const QString& p, const QStringList& a) {
        calls.push_back({p, a});
        return succeed;
    }};
};

void writeFile(const QString& path, const QByteArray& data, bool executable)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(data);
    f.close();
    if (executable)
        f.setPermissions(f.permissions() | QFileDevice::ExeOwner);
}

// A shell script that writes its argument count into <dir>/ran.
void writeRecorderScript(const QString& path, const QString& dir)
{
    writeFile(path, "#!/bin/sh\necho \"$#\" > '" + dir.toUtf8() + "/ran'\n", true);
}

QByteArray waitForFile(const QString& path)
{
    QDeadlineTimer deadline(10000);
    while (!QFileInfo::exists(path) && !deadline.hasExpired())
        QThread::msleep(10);
    QThread::msleep(50); // let the script finish writing
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll().trimmed() : QByteArray("missing");
}

// Runs the test body inside dir as the working folder.
struct InFolder {
    QString previous = QDir::currentPath();
    explicit InFolder(const QString& dir) { QDir::setCurrent(dir); }
    ~InFolder() { QDir::setCurrent(previous); }
};

} // namespace

TEST(Launcher, StartsARealExecutableWholeWithNoArguments)
{
    QTemporaryDir dir;
    InFolder in(dir.path());
    // The name holds a blank and shell syntax; a shell would run `touch pwned`.
    const QString name = QStringLiteral("run me; touch pwned");
    writeRecorderScript(dir.filePath(name), dir.path());
    EXPECT_TRUE(Launcher().open(name));
    EXPECT_EQ(waitForFile(dir.filePath("ran")), "0");
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("pwned")));

    QFile::remove(dir.filePath("ran"));
    EXPECT_TRUE(Launcher().open(dir.filePath(name)));
    EXPECT_EQ(waitForFile(dir.filePath("ran")), "0");
}

TEST(Launcher, ShellSyntaxAndBlankTextsAreNeverInterpreted)
{
    QTemporaryDir dir;
    InFolder in(dir.path());
    writeRecorderScript(dir.filePath("tool"), dir.path());
    const QString pwned = dir.filePath("pwned");
    const QStringList texts{
        "touch " + pwned + "; echo",   "./tool | touch " + pwned,
        "$(touch " + pwned + ")",      "`touch " + pwned + "`",
        "\"" + dir.filePath("tool") + "\"", "'./tool'",
        "./tool --flag",               "",
        "   ",                         "no-such-program-here",
    };
    Recorder rec;
    for (const QString& t : texts) {
        testing::internal::CaptureStderr();
        EXPECT_FALSE(rec.launcher.open(t)) << t.toStdString();
        EXPECT_NE(testing::internal::GetCapturedStderr().find("cannot open"), std::string::npos);
        testing::internal::CaptureStderr();
        EXPECT_FALSE(Launcher().open(t)); // the real starter is not reached either
        testing::internal::GetCapturedStderr();
    }
    EXPECT_TRUE(rec.calls.empty());
    QThread::msleep(300);
    EXPECT_FALSE(QFileInfo::exists(pwned));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("ran")));
}

TEST(Launcher, DocumentsFoldersAndAddressesGoToTheDesktopHandler)
{
    QTemporaryDir dir;
    InFolder in(dir.path());
    writeFile(dir.filePath("-notes.txt"), "x", false);
    QDir(dir.path()).mkdir("folder one");
    writeRecorderScript(dir.filePath("tool"), dir.path());

    Recorder rec;
    const QString opener = Launcher::desktopOpener();
    EXPECT_TRUE(rec.launcher.open("-notes.txt")); // made absolute: never read as an option
    EXPECT_TRUE(rec.launcher.open("folder one"));
    EXPECT_FALSE(rec.launcher.open("https://example.com/a b")); // not an address
    EXPECT_TRUE(rec.launcher.open("https://example.com/?q=1"));
    EXPECT_TRUE(rec.launcher.open("./tool"));
    EXPECT_TRUE(rec.launcher.open("sh")); // a bare name is found on PATH
    ASSERT_EQ(rec.calls.size(), 5u);
    EXPECT_EQ(rec.calls[0], (Call{opener, {dir.filePath("-notes.txt")}}));
    EXPECT_EQ(rec.calls[1], (Call{opener, {dir.filePath("folder one")}}));
    EXPECT_EQ(rec.calls[2], (Call{opener, {"https://example.com/?q=1"}}));
    EXPECT_EQ(rec.calls[3], (Call{dir.filePath("tool"), {}}));
    EXPECT_TRUE(rec.calls[4].arguments.isEmpty());
    EXPECT_TRUE(QFileInfo(rec.calls[4].program).isAbsolute());

    // A start that fails is reported, not hidden.
    rec.succeed = false;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(rec.launcher.open("folder one"));
    EXPECT_NE(testing::internal::GetCapturedStderr().find("could not start xdg-open"),
              std::string::npos);
}
