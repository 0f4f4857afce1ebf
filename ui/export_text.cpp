#include "ui/export_text.h"

#include "core/gbk.h"
#include "core/texts.h"
#include "platform/cdialog.h"
#include "platform/save_file.h"

std::string withCrLf(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r') {
            out += "\r\n";
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else if (c == '\n') {
            out += "\r\n";
        } else {
            out += c;
        }
    }
    return out;
}

bool exportText(CDialog& page, const std::string& suggestedName, const std::string& text)
{
    const auto target = SaveFileService::current().ask(page.GetSafeHwnd(), utf8(Text::ExportCaption), suggestedName);
    if (!target)
        return false;
    std::string bytes = withCrLf(text);
    if (target->encoding == TextEncoding::Gbk) {
        auto encoded = gbk::fromUtf8(bytes);
        if (!encoded) {
            page.MessageBox(::text(Text::ExportNeedsUtf8));
            return false;
        }
        bytes = std::move(*encoded);
    }
    const FileResult result = files::writeWhole(target->path, bytes);
    if (!result.ok()) {
        page.MessageBoxUtf8(result.message());
        return false;
    }
    return true;
}
