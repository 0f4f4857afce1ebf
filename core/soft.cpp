#include "core/soft.h"

#include "core/texts.h"
#include "core/gbk_chars.h"

#include <cstring>
#include <string>

namespace {
// Copies a GBK text into a fixed field, cutting only between whole characters.
void put(char* field, std::size_t size, const std::string& text)
{
    std::size_t n = 0;
    while (n < text.size()) {
        const std::size_t len = gbk::charLen(text, n);
        if (n + len > size - 1)
            break;
        n += len;
    }
    std::memcpy(field, text.data(), n);
    field[n] = '\0';
}
} // namespace

void fillSoft(tagSoft* soft)
{
    std::memset(soft, 0, sizeof *soft);
    put(soft->name, sizeof soft->name, text(Text::SoftName));
    put(soft->maker, sizeof soft->maker, text(Text::SoftMaker));
    put(soft->copyright, sizeof soft->copyright, text(Text::SoftCopyright));
    put(soft->description, sizeof soft->description, text(Text::SoftDescription));
}
