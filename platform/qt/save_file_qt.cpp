// The save-file dialog on Qt: QFileDialog.
#include "platform/save_file.h"

#include "core/texts.h"

#include <QDir>
#include <QFileDialog>

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
} // namespace

SaveFileService& systemSaveDialog()
{
    static QtSaveDialog dialog;
    return dialog;
}
