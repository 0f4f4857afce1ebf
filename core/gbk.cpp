// The parts of the GBK helpers that need no converter of their own.
#include "core/gbk.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace gbk {
namespace {
// Bytes of the UTF-8 sequence that starts with b (1 for a stray byte).
std::size_t utf8Len(unsigned char b)
{
    if (b >= 0xF0 && b <= 0xF4)
        return 4;
    if (b >= 0xE0)
        return b <= 0xEF ? 3 : 1;
    if (b >= 0xC2)
        return 2;
    return 1;
}
} // namespace

std::string lit(const char* utf8)
{
    auto bytes = fromUtf8(utf8);
    if (!bytes) {
        std::fprintf(stderr, "kelvane: interface text not representable in GBK: %s\n", utf8);
        std::abort();
    }
    return *bytes;
}

std::string firstUnencodable(std::string_view utf8)
{
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t n = std::min(utf8Len(static_cast<unsigned char>(utf8[i])), utf8.size() - i);
        const std::string_view ch = utf8.substr(i, n);
        if (!fromUtf8(ch))
            return std::string(ch);
        i += n;
    }
    return {};
}

std::string fromUtf8Lossy(std::string_view utf8)
{
    if (auto whole = fromUtf8(utf8))
        return *whole;
    std::string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t n = std::min(utf8Len(static_cast<unsigned char>(utf8[i])), utf8.size() - i);
        out += fromUtf8(utf8.substr(i, n)).value_or("?");
        i += n;
    }
    return out;
}

std::string codePointName(std::string_view utf8)
{
    unsigned cp = 0;
    if (!utf8.empty()) {
        const auto b = static_cast<unsigned char>(utf8[0]);
        const std::size_t n = std::min(utf8Len(b), utf8.size());
        cp = n == 1 ? b : b & (0xFF >> (n + 1));
        for (std::size_t i = 1; i < n; ++i)
            cp = (cp << 6) | (static_cast<unsigned char>(utf8[i]) & 0x3F);
    }
    char buf[16];
    std::snprintf(buf, sizeof buf, "U+%04X", cp);
    return buf;
}

} // namespace gbk
