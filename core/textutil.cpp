#include "core/textutil.h"

#include <climits>
#include <cstdint>

namespace textutil {

std::string field(std::string_view s, char sep, int index)
{
    if (index < 0)
        return {};
    std::size_t start = 0;
    for (int i = 0; i < index; ++i) {
        const std::size_t p = s.find(sep, start);
        if (p == std::string_view::npos)
            return {};
        start = p + 1;
    }
    const std::size_t end = s.find(sep, start);
    return std::string(s.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
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
