#include "ui/output_file.h"

#include "core/ccore.h"
#include "core/core_options.h"
#include "gen/string_gen.h"
#include "platform/dialog/boxes.h"
#include "platform/dialog/cdialog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace {
QString shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// Reads and writes of an export go in pieces of this size.
constexpr std::size_t kCopyChunk = std::size_t(1) << 20;
} // namespace

QString removeOutputFile(const CString& path)
{
    const QString name = pathFromGbk(path);
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
    const QString name = pathFromGbk(path);
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
    PieceConverter toUtf8;
    // Stateful: a Chinese character cut at the end of one piece is completed
    // by the next.
    QStringDecoder decoder("GBK");
    if (target.encoding == TextEncoding::Utf8) {
        toUtf8 = [&decoder](std::string_view piece, std::string& out) {
            if (!piece.empty()) {
                out = QString(decoder.decode(QByteArrayView(piece.data(), qsizetype(piece.size())))).toStdString();
                return true;
            }
            // A lead byte left at the very end is only seen when one more
            // byte comes: a line end then decodes to more than itself.
            const QString rest = decoder.decode(QByteArrayView("\n", 1));
            return !decoder.hasError() && rest == QLatin1String("\n");
        };
    }
    return fileFailureText(copyWholeFile(fileSystemPath(source), fileSystemPath(target.path), toUtf8, kCopyChunk), target.path,
                           source);
}

bool exportOutputFile(CDialog& page, const CString& path, const QString& suggestedName)
{
    const auto target = SaveFileService::current().ask(&page, QStringLiteral("导出"), suggestedName);
    if (!target)
        return false;
    const QString error = copyOutputFile(pathFromGbk(path), *target);
    if (!error.isEmpty()) {
        showBox(&page, BoxKind::Plain, QString(), error);
        return false;
    }
    return true;
}
