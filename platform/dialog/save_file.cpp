#include "platform/dialog/save_file.h"

#include "platform/dialog/service_slot.h"

#include "core/gbk.h"

#include "platform/files/file_writer.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>

namespace {
const QString kGbkFilter = QStringLiteral("GBK 文本 (*.txt)");
const QString kUtf8Filter = QStringLiteral("UTF-8 文本 (*.txt)");

class RealSaveFile : public SaveFileService {
public:
    std::optional<SaveTarget> ask(QWidget* owner, const QString& caption, const QString& suggestedName) override
    {
        QFileDialog dlg(owner, caption);
        dlg.setAcceptMode(QFileDialog::AcceptSave);
        dlg.setFileMode(QFileDialog::AnyFile);
        dlg.setNameFilters({kGbkFilter, kUtf8Filter});
        dlg.selectNameFilter(kGbkFilter);
        dlg.setDefaultSuffix(QStringLiteral("txt"));
        dlg.setDirectory(QDir::homePath());
        dlg.selectFile(suggestedName);
        if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
            return std::nullopt;
        const TextEncoding enc = dlg.selectedNameFilter() == kUtf8Filter ? TextEncoding::Utf8 : TextEncoding::Gbk;
        return SaveTarget{dlg.selectedFiles().first(), enc};
    }
};

ServiceSlot<SaveFileService, RealSaveFile> g_saveFile;
} // namespace

SaveFileService& SaveFileService::current()
{
    return g_saveFile.current();
}

SaveFileService* SaveFileService::install(SaveFileService* service)
{
    return g_saveFile.install(service);
}

std::optional<QByteArray> encodeText(const QString& text, TextEncoding encoding)
{
    if (encoding == TextEncoding::Utf8)
        return text.toUtf8();
    auto bytes = gbk::encode(text);
    if (!bytes)
        return std::nullopt;
    return QByteArray(bytes->data(), qsizetype(bytes->size()));
}

std::string fileSystemPath(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

QString fileFailureText(const FileFailure& failure, const QString& target, const QString& source)
{
    using Step = FileFailure::Step;
    const QString reason = QString::fromLocal8Bit(systemErrorText(failure.error));
    const QString to = QDir::toNativeSeparators(target), from = QDir::toNativeSeparators(source);
    switch (failure.step) {
    case Step::None:
        return {};
    case Step::Create:
        return QStringLiteral("无法创建文件“%1”：%2").arg(to, reason);
    case Step::Write:
        return QStringLiteral("写入文件“%1”失败：%2").arg(to, reason);
    case Step::Save:
        return QStringLiteral("保存文件“%1”失败：%2").arg(to, reason);
    case Step::OpenSource:
        return QStringLiteral("无法读取输出文件“%1”：%2").arg(from, reason);
    case Step::ReadSource:
        return QStringLiteral("读取输出文件“%1”失败：%2").arg(from, reason);
    case Step::Convert:
        return QStringLiteral("输出文件“%1”不是有效的 GBK 文本，未导出。").arg(from);
    }
    return {};
}

QString writeFileWhole(const QString& path, const QByteArray& bytes)
{
    return fileFailureText(writeWholeFile(fileSystemPath(path), std::string_view(bytes.data(), std::size_t(bytes.size()))), path);
}
