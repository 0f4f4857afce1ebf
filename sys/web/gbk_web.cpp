// GBK conversion in the browser, through the table the page builds from the
// browser's GBK decoder (gbk_table.h). A character converts only when it
// converts back unchanged, as with the converters of the other systems.
#include "sys/gbk.h"
#include "sys/web/gbk_table.h"

#include <algorithm>
#include <vector>

namespace gbkweb {
namespace {
struct Tables {
    std::vector<std::uint16_t> toUnicode = std::vector<std::uint16_t>(65536);
    std::vector<std::uint16_t> fromUnicode = std::vector<std::uint16_t>(65536); // 0: none
    bool set = false;
};

Tables& tables()
{
    static Tables t;
    return t;
}

// Codes a browser's decoder reads as characters added to Unicode after GBK
// was made, where the converters of the desktop programs keep the private-use
// characters GBK has always had there: runs of `count` codes from `code`,
// mapped to consecutive characters from `pua`. Taking the desktop's keeps the
// same text GBK and refused by both.
struct PrivateRun {
    std::uint16_t code, count, pua;
};
constexpr PrivateRun kPrivateRuns[] = {
    {0xA2E3, 1, 0xE76C}, {0xA3A0, 1, 0xE5E5}, {0xA6D9, 7, 0xE78D}, {0xA6EC, 2, 0xE794}, {0xA6F3, 1, 0xE796},
    {0xA8BC, 1, 0xE7C7}, {0xA8BF, 1, 0xE7C8}, {0xA989, 13, 0xE7E7}, {0xFE50, 1, 0xE815}, {0xFE54, 24, 0xE819},
    {0xFE6D, 9, 0xE832}, {0xFE77, 8, 0xE83C}, {0xFE80, 17, 0xE844}, {0xFE92, 15, 0xE856},
};
} // namespace

void setTable(std::span<const std::uint16_t, 65536> table)
{
    Tables& t = tables();
    for (unsigned c = 0; c < 65536; ++c) {
        // Only the codes the GBK walker reads as one character can be a character.
        const bool single = c < 0x100;
        const unsigned lead = c >> 8, trail = c & 0xFF;
        const bool pair = lead >= 0x81 && lead <= 0xFE && trail >= 0x40 && trail <= 0xFE && trail != 0x7F;
        std::uint16_t u = single && c < 0x80 ? std::uint16_t(c) : (single || pair) ? table[c] : 0;
        if (u == 0xFFFD || (u >= 0xD800 && u <= 0xDFFF))
            u = 0;
        t.toUnicode[c] = u;
    }
    for (const PrivateRun& r : kPrivateRuns)
        for (unsigned i = 0; i < r.count; ++i)
            t.toUnicode[r.code + i] = std::uint16_t(r.pua + i);
    std::fill(t.fromUnicode.begin(), t.fromUnicode.end(), 0);
    // The lowest code of each character wins, so every conversion round-trips.
    for (unsigned c = 65536; c-- > 0x80;)
        if (const std::uint16_t u = t.toUnicode[c]; u >= 0x80)
            t.fromUnicode[u] = std::uint16_t(c);
    t.set = true;
}

bool hasTable()
{
    return tables().set;
}

} // namespace gbkweb

namespace gbk {
namespace {
void putUtf8(std::string& out, unsigned cp)
{
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | cp >> 6);
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xE0 | cp >> 12);
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}

// The next code point of strict UTF-8 at s[i], advancing i; -1 when the
// bytes there are not UTF-8 (overlong, a surrogate, cut off, past U+10FFFF).
long nextCodePoint(std::string_view s, std::size_t& i)
{
    const auto b = static_cast<unsigned char>(s[i]);
    if (b < 0x80) {
        ++i;
        return b;
    }
    std::size_t n;
    unsigned long cp, min;
    if (b >= 0xC2 && b <= 0xDF)
        n = 2, cp = b & 0x1F, min = 0x80;
    else if (b >= 0xE0 && b <= 0xEF)
        n = 3, cp = b & 0x0F, min = 0x800;
    else if (b >= 0xF0 && b <= 0xF4)
        n = 4, cp = b & 0x07, min = 0x10000;
    else
        return -1;
    if (i + n > s.size())
        return -1;
    for (std::size_t k = 1; k < n; ++k) {
        const auto c = static_cast<unsigned char>(s[i + k]);
        if ((c & 0xC0) != 0x80)
            return -1;
        cp = cp << 6 | (c & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return -1;
    i += n;
    return long(cp);
}
} // namespace

std::optional<std::string> fromUtf8(std::string_view utf8)
{
    const auto& t = gbkweb::tables();
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const long cp = nextCodePoint(utf8, i);
        if (cp < 0)
            return std::nullopt;
        if (cp < 0x80) {
            out += char(cp);
            continue;
        }
        const std::uint16_t code = cp <= 0xFFFF ? t.fromUnicode[std::size_t(cp)] : 0;
        if (code == 0)
            return std::nullopt;
        if (code > 0xFF)
            out += char(code >> 8);
        out += char(code & 0xFF);
    }
    return out;
}

std::string toUtf8(std::string_view bytes, bool* ok)
{
    const auto& t = gbkweb::tables();
    bool valid = true;
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 2);
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t n = charLen(bytes, i);
        const auto b = static_cast<unsigned char>(bytes[i]);
        const std::uint16_t c = n == 1 ? b : std::uint16_t((b << 8) | static_cast<unsigned char>(bytes[i + 1]));
        i += n;
        const std::uint16_t u = c < 0x80 ? c : t.toUnicode[c];
        if (u == 0 && c != 0) {
            valid = false;
            putUtf8(out, 0xFFFD);
        } else {
            putUtf8(out, u);
        }
    }
    if (ok)
        *ok = valid;
    return out;
}

} // namespace gbk
