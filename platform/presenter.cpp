#include "platform/presenter.h"

#include "core/gbk.h"
#include "core/texts.h"
#include "platform/boxes.h"

#include <cstring>
#include <string>

namespace {
// A tagSoft field may be full to its last byte; never read past it.
std::string field(const char* text, std::size_t size)
{
    return gbk::toUtf8(std::string(text, strnlen(text, size)));
}
} // namespace

void DialogPresenter::warning(HWND owner, const CString& text)
{
    showBox(owner, BoxKind::Warning, utf8(Text::WarningCaption), gbk::toUtf8(text));
}

void DialogPresenter::about(HWND owner, const tagSoft* soft)
{
    tagSoft empty{};
    showBox(owner, BoxKind::About, utf8(Text::AboutCaption), aboutText(soft ? *soft : empty));
}

std::string DialogPresenter::aboutText(const tagSoft& soft)
{
    std::string text = utf8(Text::AboutVersion, {KELVANE_VERSION});
    for (const std::string& f : {field(soft.name, sizeof soft.name), field(soft.description, sizeof soft.description),
                                 field(soft.maker, sizeof soft.maker), field(soft.copyright, sizeof soft.copyright)})
        if (!f.empty())
            text += "\n" + f;
    return text;
}

DialogPresenter& DialogPresenter::instance()
{
    static DialogPresenter presenter;
    return presenter;
}
