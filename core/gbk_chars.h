#pragma once
// Walking GBK text character by character, and the level-1 GB2312 Chinese
// characters the string generator draws. The one definition of both.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "sys/gbk.h"

namespace gbk {

// A character as a number: a single byte b is b, a two-byte character is
// (lead << 8) | trail, so every two-byte code is above 0xFF.
using Code = std::uint16_t;

inline Code codeAt(std::string_view s, std::size_t i, std::size_t len)
{
    const auto b = static_cast<unsigned char>(s[i]);
    return len == 1 ? Code(b) : Code((b << 8) | static_cast<unsigned char>(s[i + 1]));
}

// Calls f(code, offset, length) for each character of s, in order.
template <class F>
void forEachChar(std::string_view s, F&& f)
{
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t n = charLen(s, i);
        f(codeAt(s, i, n), i, n);
        i += n;
    }
}

// Level-1 GB2312: rows 16 to 55 of the 94 x 94 table (lead bytes 0xB0 to
// 0xD7), row 55 holding only 89 characters (0xD7A1 to 0xD7F9).
inline constexpr int kLevel1RowFirst = 16;
inline constexpr int kLevel1RowLast = 55;
inline constexpr int kLevel1LastRowCols = 89;
inline constexpr int kLevel1Count = (kLevel1RowLast - kLevel1RowFirst) * 94 + kLevel1LastRowCols; // 3755

inline bool isLevel1(Code c)
{
    const int lead = c >> 8, trail = c & 0xFF;
    if (lead < 0xA0 + kLevel1RowFirst || lead > 0xA0 + kLevel1RowLast || trail < 0xA1)
        return false;
    return trail <= (lead == 0xA0 + kLevel1RowLast ? 0xA0 + kLevel1LastRowCols : 0xFE);
}

} // namespace gbk
