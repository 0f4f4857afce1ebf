#include "ui/export_text.h"

#include "core/gbk.h"
#include "core/qt/qgbk.h"
#include "platform/dialog/cdialog.h"
#include "platform/dialog/line_ends.h"
#include "platform/dialog/save_file.h"

bool exportText(CDialog& page, const QString& suggestedName, const QString& text)
{
    const auto target = SaveFileService::current().ask(&page, QStringLiteral("导出"), suggestedName);
    if (!target)
        return false;
    const auto bytes = encodeText(withCrLf(text), target->encoding);
    if (!bytes) {
        page.MessageBox(gbk::lit("结果中含有 GBK 无法表示的字符，请选择 UTF-8 文本格式导出。"));
        return false;
    }
    const QString error = writeFileWhole(target->path, *bytes);
    if (!error.isEmpty()) {
        page.MessageBox(gbk::encode(error).value_or(gbk::lit("导出失败。")));
        return false;
    }
    return true;
}
