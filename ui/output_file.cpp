#include "ui/output_file.h"

#include "core/ccore.h"
#include "core/core_options.h"
#include "core/qt/qgbk.h"
#include "gen/string_gen.h"
#include "platform/dialog/boxes.h"
#include "platform/dialog/cdialog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

namespace {
QString shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// Reads and writes of an export go in pieces of this size.
constexpr qint64 kCopyChunk = 1 << 20;
} // namespace

QString removeOutputFile(const CString& path)
{
    const QString name = gbk::decode(path);
    const QFileInfo info(name);
    if (!info.exists() && !info.isSymLink())
        return {};
    QFile file(name);
    if (file.remove())
        return {};
    return QStringLiteral("无法删除输出文件“%1”：%2").arg(shown(name), file.errorString());
}

QString writeOutputFile(const CString& path, const StringSettings& s, std::size_t chunkBytes)
{
    const QString name = gbk::decode(path);
    QFile file(name);
    if (!g_core->isFileExist(path) && !g_core->createFile(path, 1)) {
        // The core gives no reason; asking the file system again does.
        file.open(QIODevice::WriteOnly);
        return QStringLiteral("无法创建输出文件“%1”：%2").arg(shown(name), file.errorString());
    }
    // Truncating: an old file that could not be removed must not leave rows
    // of its own after the new ones. The rows come in large chunks, so the
    // file needs no buffer of its own, and a failed write is seen at once.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
        return QStringLiteral("无法打开输出文件“%1”：%2").arg(shown(name), file.errorString());

    const bool written = streamRows(
        s, [&file](std::string_view chunk) { return file.write(chunk.data(), qint64(chunk.size())) == qint64(chunk.size()); },
        chunkBytes);
    QString failure;
    if (!written) {
        failure = QStringLiteral("写入输出文件“%1”失败：%2").arg(shown(name), file.errorString());
        file.close();
    } else {
        file.close();
        if (file.error() != QFileDevice::NoError)
            failure = QStringLiteral("关闭输出文件“%1”失败：%2").arg(shown(name), file.errorString());
    }
    if (!failure.isEmpty())
        QFile::remove(name);
    return failure;
}

QString copyOutputFile(const QString& source, const SaveTarget& target)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return QStringLiteral("无法读取输出文件“%1”：%2").arg(shown(source), in.errorString());
    QSaveFile out(target.path);
    if (!out.open(QIODevice::WriteOnly))
        return QStringLiteral("无法创建文件“%1”：%2").arg(shown(target.path), out.errorString());

    // Stateful: a Chinese character cut at the end of one piece is completed
    // by the next.
    QStringDecoder decoder("GBK");
    QByteArray piece;
    for (;;) {
        piece.resize(kCopyChunk);
        const qint64 got = in.read(piece.data(), kCopyChunk);
        if (got < 0) {
            out.cancelWriting();
            return QStringLiteral("读取输出文件“%1”失败：%2").arg(shown(source), in.errorString());
        }
        if (got == 0)
            break;
        piece.resize(got);
        const QByteArray bytes = target.encoding == TextEncoding::Utf8 ? QString(decoder.decode(piece)).toUtf8() : piece;
        if (out.write(bytes) != bytes.size()) {
            const QString why = out.errorString();
            out.cancelWriting();
            return QStringLiteral("写入文件“%1”失败：%2").arg(shown(target.path), why);
        }
    }
    if (target.encoding == TextEncoding::Utf8) {
        // A lead byte left at the very end is only seen when one more byte
        // comes: a line end then decodes to more than itself.
        const QString rest = decoder.decode(QByteArrayView("\n", 1));
        if (decoder.hasError() || rest != QLatin1String("\n")) {
            out.cancelWriting();
            return QStringLiteral("输出文件“%1”不是有效的 GBK 文本，未导出。").arg(shown(source));
        }
    }
    if (!out.commit())
        return QStringLiteral("保存文件“%1”失败：%2").arg(shown(target.path), out.errorString());
    return {};
}

bool exportOutputFile(CDialog& page, const CString& path, const QString& suggestedName)
{
    const auto target = SaveFileService::current().ask(&page, QStringLiteral("导出"), suggestedName);
    if (!target)
        return false;
    const QString error = copyOutputFile(gbk::decode(path), *target);
    if (!error.isEmpty()) {
        showBox(&page, BoxKind::Plain, QString(), error);
        return false;
    }
    return true;
}
