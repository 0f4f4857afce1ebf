#include "platform/dialog/save_file.h"

#include "platform/dialog/service_slot.h"

#include "core/gbk.h"
#include "core/qt/qgbk.h"

#include <QDir>
#include <QFileDialog>
#include <QSaveFile>

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

QString writeFileWhole(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QStringLiteral("无法创建文件“%1”：%2").arg(QDir::toNativeSeparators(path), file.errorString());
    if (file.write(bytes) != bytes.size()) {
        const QString why = file.errorString();
        file.cancelWriting();
        return QStringLiteral("写入文件“%1”失败：%2").arg(QDir::toNativeSeparators(path), why);
    }
    if (!file.commit())
        return QStringLiteral("保存文件“%1”失败：%2").arg(QDir::toNativeSeparators(path), file.errorString());
    return {};
}
