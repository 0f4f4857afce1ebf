// The save-file dialog and the file services on Qt: QFileDialog, QSaveFile
// for whole-or-nothing writes, QFile for the output file.
#include "platform/save_file.h"

#include "core/qt/qgbk.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

namespace {
const QString kGbkFilter = QStringLiteral("GBK 文本 (*.txt)");
const QString kUtf8Filter = QStringLiteral("UTF-8 文本 (*.txt)");

class QtSaveDialog : public SaveFileService {
public:
    std::optional<SaveTarget> ask(HWND owner, const std::string& caption, const std::string& suggestedName) override
    {
        QFileDialog dlg(reinterpret_cast<QWidget*>(owner), QString::fromStdString(caption));
        dlg.setAcceptMode(QFileDialog::AcceptSave);
        dlg.setFileMode(QFileDialog::AnyFile);
        dlg.setNameFilters({kGbkFilter, kUtf8Filter});
        dlg.selectNameFilter(kGbkFilter);
        dlg.setDefaultSuffix(QStringLiteral("txt"));
        dlg.setDirectory(QDir::homePath());
        dlg.selectFile(QString::fromStdString(suggestedName));
        if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
            return std::nullopt;
        const TextEncoding enc = dlg.selectedNameFilter() == kUtf8Filter ? TextEncoding::Utf8 : TextEncoding::Gbk;
        return SaveTarget{dlg.selectedFiles().first().toStdString(), enc};
    }
};

QString qpath(const std::string& path)
{
    return QString::fromStdString(path);
}

FileResult failed(FileStep step, const QString& path, const QString& reason)
{
    return FileResult{step, QDir::toNativeSeparators(path).toStdString(), reason.toStdString()};
}

// Reads and writes of an export go in pieces of this size.
constexpr qint64 kCopyChunk = 1 << 20;
} // namespace

SaveFileService& systemSaveDialog()
{
    static QtSaveDialog dialog;
    return dialog;
}

namespace files {

FileResult writeWhole(const std::string& path, std::string_view bytes)
{
    QSaveFile file(qpath(path));
    if (!file.open(QIODevice::WriteOnly))
        return failed(FileStep::Create, file.fileName(), file.errorString());
    if (file.write(bytes.data(), qint64(bytes.size())) != qint64(bytes.size())) {
        const QString why = file.errorString();
        file.cancelWriting();
        return failed(FileStep::Write, file.fileName(), why);
    }
    if (!file.commit())
        return failed(FileStep::Commit, file.fileName(), file.errorString());
    return {};
}

FileResult removeOutput(const std::string& path)
{
    const QString name = qpath(path);
    const QFileInfo info(name);
    if (!info.exists() && !info.isSymLink())
        return {};
    QFile file(name);
    if (file.remove())
        return {};
    return failed(FileStep::RemoveOutput, name, file.errorString());
}

FileResult writeOutput(const std::string& path, const std::function<bool(const ChunkWriter&)>& produce)
{
    const QString name = qpath(path);
    QFile file(name);
    // Truncating: an old file that could not be removed must not leave rows
    // of its own after the new ones. The rows come in large chunks, so the
    // file needs no buffer of its own, and a failed write is seen at once.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
        return failed(FileStep::OpenOutput, name, file.errorString());
    const bool written = produce([&file](std::string_view chunk) {
        return file.write(chunk.data(), qint64(chunk.size())) == qint64(chunk.size());
    });
    FileResult result;
    if (!written) {
        result = failed(FileStep::WriteOutput, name, file.errorString());
        file.close();
    } else {
        file.close();
        if (file.error() != QFileDevice::NoError)
            result = failed(FileStep::CloseOutput, name, file.errorString());
    }
    if (!result.ok())
        QFile::remove(name);
    return result;
}

FileResult copyConverted(const std::string& source, const SaveTarget& target)
{
    QFile in(qpath(source));
    if (!in.open(QIODevice::ReadOnly))
        return failed(FileStep::OpenSource, in.fileName(), in.errorString());
    QSaveFile out(qpath(target.path));
    if (!out.open(QIODevice::WriteOnly))
        return failed(FileStep::Create, out.fileName(), out.errorString());

    // Stateful: a Chinese character cut at the end of one piece is completed
    // by the next.
    QStringDecoder decoder("GBK");
    QByteArray piece;
    for (;;) {
        piece.resize(kCopyChunk);
        const qint64 got = in.read(piece.data(), kCopyChunk);
        if (got < 0) {
            out.cancelWriting();
            return failed(FileStep::ReadSource, in.fileName(), in.errorString());
        }
        if (got == 0)
            break;
        piece.resize(got);
        const QByteArray bytes = target.encoding == TextEncoding::Utf8 ? QString(decoder.decode(piece)).toUtf8() : piece;
        if (out.write(bytes) != bytes.size()) {
            const QString why = out.errorString();
            out.cancelWriting();
            return failed(FileStep::Write, out.fileName(), why);
        }
    }
    if (target.encoding == TextEncoding::Utf8) {
        // A lead byte left at the very end is only seen when one more byte
        // comes: a line end then decodes to more than itself.
        const QString rest = decoder.decode(QByteArrayView("\n", 1));
        if (decoder.hasError() || rest != QLatin1String("\n")) {
            out.cancelWriting();
            return failed(FileStep::SourceNotGbk, in.fileName(), QString());
        }
    }
    if (!out.commit())
        return failed(FileStep::Commit, out.fileName(), out.errorString());
    return {};
}

} // namespace files
