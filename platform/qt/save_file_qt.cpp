// The save-file dialog and the file services on Qt: QFileDialog, the
// checked whole-or-nothing writes of platform/files (a device or a FIFO is
// written straight through, never replaced), QFile for the output file.
#include "platform/save_file.h"

#include "core/qt/qgbk.h"
#include "core/texts.h"
#include "platform/files/file_writer.h"
#include "platform/files/whole_file.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QStringDecoder>

namespace {
const QString kGbkFilter = QString::fromUtf8(utf8(Text::GbkTextFilter));
const QString kUtf8Filter = QString::fromUtf8(utf8(Text::Utf8TextFilter));

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

// A UTF-8 path as the file system takes it.
std::string fileSystemPath(const std::string& path)
{
    return QFile::encodeName(qpath(path)).toStdString();
}

// The result of a whole-file write to target (copied from source): the
// failed step, the file it is about and the system's reason.
FileResult result(const FileFailure& failure, const std::string& target, const std::string& source)
{
    using Step = FileFailure::Step;
    const QString reason = QString::fromLocal8Bit(systemErrorText(failure.error));
    switch (failure.step) {
    case Step::None:
        return {};
    case Step::Create:
        return failed(FileStep::Create, qpath(target), reason);
    case Step::Write:
        return failed(FileStep::Write, qpath(target), reason);
    case Step::Save:
        return failed(FileStep::Commit, qpath(target), reason);
    case Step::OpenSource:
        return failed(FileStep::OpenSource, qpath(source), reason);
    case Step::ReadSource:
        return failed(FileStep::ReadSource, qpath(source), reason);
    case Step::Convert:
        return failed(FileStep::SourceNotGbk, qpath(source), QString());
    }
    return {};
}

// Reads and writes of an export go in pieces of this size.
constexpr std::size_t kCopyChunk = std::size_t(1) << 20;
} // namespace

SaveFileService& systemSaveDialog()
{
    static QtSaveDialog dialog;
    return dialog;
}

namespace files {

FileResult writeWhole(const std::string& path, std::string_view bytes)
{
    return result(writeWholeFile(fileSystemPath(path), bytes), path, path);
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
    return result(copyWholeFile(fileSystemPath(source), fileSystemPath(target.path), toUtf8, kCopyChunk), target.path,
                  source);
}

} // namespace files
