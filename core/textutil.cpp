#include "core/textutil.h"

#include <climits>
#include <cstdint>

namespace textutil {

// Offset of the first sep at or after `from` that begins a character: the
// second byte of a two-byte GBK character (0x40..0xFE after a lead byte
// 0x81..0xFE) may equal sep and belongs to that character. s.size() if none.
static std::size_t findSep(std::string_view s, char sep, std::size_t from)
{
    for (std::size_t i = from; i < s.size(); ++i) {
        if (s[i] == sep)
            return i;
        const auto b = static_cast<unsigned char>(s[i]);
        if (b >= 0x81 && b != 0xFF && i + 1 < s.size()) {
            const auto t = static_cast<unsigned char>(s[i + 1]);
            i += t >= 0x40 && t <= 0xFE && t != 0x7F;
        }
    }
    return s.size();
}

std::string field(std::string_view s, char sep, int index)
{
    if (index < 0)
        return {};
    std::size_t start = 0;
    for (int i = 0; i < index; ++i) {
        const std::size_t p = findSep(s, sep, start);
        if (p == s.size())
            return {};
        start = p + 1;
    }
    return std::string(s.substr(start, findSep(s, sep, start) - start));
}

static bool isCSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

int toInt(std::string_view s)
{
    std::size_t i = 0;
    while (i < s.size() && isCSpace(s[i]))
        ++i;
    bool neg = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        neg = s[i++] == '-';
    int64_t v = 0;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
        v = v * 10 + (s[i] - '0');
        if (v > int64_t(INT_MAX) + 1)
            v = int64_t(INT_MAX) + 1; // saturate; keep scanning the digits
    }
    if (neg)
        return v > INT_MAX ? INT_MIN : int(-v);
    return v > INT_MAX ? INT_MAX : int(v);
}

std::string trimmed(std::string_view s)
{
    std::size_t b = 0, e = s.size();
    while (b < e && isCSpace(s[b]))
        ++b;
    while (e > b && isCSpace(s[e - 1]))
        --e;
    return std::string(s.substr(b, e - b));
}

} // namespace textutil
