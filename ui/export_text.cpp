#include "ui/export_text.h"

#include "core/gbk.h"
#include "platform/dialog/cdialog.h"
#include "platform/dialog/save_file.h"

QString withCrLf(const QString& text)
{
    QString out;
    out.reserve(text.size() + text.size() / 16);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\r')) {
            out += QStringLiteral("\r\n");
            if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
        } else if (c == QLatin1Char('\n')) {
            out += QStringLiteral("\r\n");
        } else {
            out += c;
        }
    }
    return out;
}

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
