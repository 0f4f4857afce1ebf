#include "ui/export_text.h"

#include "core/file_message.h"
#include "core/gbk.h"
#include "core/texts.h"
#include "platform/cdialog.h"
#include "platform/save_file.h"

bool exportText(CDialog& page, const std::string& suggestedName, const std::string& text)
{
    const auto target = SaveFileService::current().ask(page.GetSafeHwnd(), utf8(Text::ExportCaption), suggestedName);
    if (!target)
        return false;
    // The box hands its text over with CR LF line ends on both back ends.
    std::string bytes = text;
    if (target->encoding == TextEncoding::Gbk) {
        auto encoded = gbk::fromUtf8(bytes);
        if (!encoded) {
            page.MessageBox(::text(Text::ExportNeedsUtf8));
            return false;
        }
        bytes = std::move(*encoded);
    }
    const sys::FileResult result = sys::writeWhole(target->path, bytes);
    if (!result.ok()) {
        page.MessageBoxUtf8(fileMessage(result));
        return false;
    }
    return true;
}
