// Whole-file reads and writes for tests that check what a file holds.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

namespace {

// The file's bytes, or "<missing>" when it cannot be opened.
inline QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

inline bool writeAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

} // namespace
