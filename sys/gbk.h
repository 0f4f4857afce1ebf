#pragma once
// The system's two GBK converters (code page 936 <-> UTF-8), one
// implementation per system, and the length of a GBK character they walk
// by. The rest of the GBK helpers build on these (core/gbk.h).
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace gbk {

// The GBK bytes of UTF-8 text, or nothing when text holds a character that
// GBK cannot represent (or is not valid UTF-8): such text is never silently
// altered.
std::optional<std::string> fromUtf8(std::string_view utf8);

// The UTF-8 text of GBK bytes. Invalid sequences become U+FFFD; `ok`, when
// given, tells whether the bytes were valid GBK.
std::string toUtf8(std::string_view bytes, bool* ok = nullptr);

// The length in bytes (1 or 2) of the character that starts at byte i of s:
// a lead byte 0x81..0xFE followed by a trail byte 0x40..0xFE (not 0x7F) is
// one two-byte character; every other byte is a character by itself.
inline std::size_t charLen(std::string_view s, std::size_t i)
{
    const auto b = static_cast<unsigned char>(s[i]);
    if (b < 0x81 || b == 0xFF || i + 1 >= s.size())
        return 1;
    const auto t = static_cast<unsigned char>(s[i + 1]);
    return (t >= 0x40 && t <= 0xFE && t != 0x7F) ? 2 : 1;
}

} // namespace gbk
