#pragma once
// A small tmpfs mounted over a temporary folder for one test, so that a full
// disk is real. Mounting needs root; otherwise skipReason() says why and the
// test skips.
//
//   SmallTmpfs fs;
//   if (!fs.mounted()) GTEST_SKIP() << fs.skipReason();
//   fs.fill(); // nothing free any more
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cerrno>
#include <cstring>
#include <string>
#include <sys/mount.h>

class SmallTmpfs {
public:
    explicit SmallTmpfs(const char* size = "64k")
    {
        if (!dir_.isValid()) {
            reason_ = "no temporary folder to mount on";
            return;
        }
        const std::string options = std::string("size=") + size;
        if (::mount("tmpfs", QFile::encodeName(dir_.path()).constData(), "tmpfs", 0, options.c_str()) == 0)
            mounted_ = true;
        else
            reason_ = std::string("cannot mount a small tmpfs to fill up (needs root): ") + std::strerror(errno);
    }
    ~SmallTmpfs()
    {
        if (mounted_)
            ::umount2(QFile::encodeName(dir_.path()).constData(), MNT_DETACH);
    }
    SmallTmpfs(const SmallTmpfs&) = delete;
    SmallTmpfs& operator=(const SmallTmpfs&) = delete;

    bool mounted() const { return mounted_; }
    const std::string& skipReason() const { return reason_; }
    QString path(const QString& name) const { return dir_.filePath(name); }
    QStringList names() const { return QDir(dir_.path()).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot | QDir::Hidden); }

    // Writes a filler file until the file system is full.
    void fill() const
    {
        QFile filler(path(QStringLiteral("filler")));
        if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return;
        const QByteArray block(4096, 'f');
        while (filler.write(block) > 0) {
        }
        const QByteArray byte(1, 'f');
        while (filler.write(byte) > 0) {
        }
    }

private:
    QTemporaryDir dir_;
    bool mounted_ = false;
    std::string reason_;
};
