#pragma once
// Small text helpers every layer and back end shares: one definition each.
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace sys {

// Whether every byte of s is ASCII (then GBK, UTF-8 and Latin-1 agree on it).
// Eight bytes at a time: kelvane-cli asks it of every block it converts.
inline bool isAscii(std::string_view s)
{
    std::size_t i = 0;
    for (; i + 8 <= s.size(); i += 8) {
        std::uint64_t w;
        std::memcpy(&w, s.data() + i, 8);
        if (w & 0x8080808080808080u)
            return false;
    }
    for (; i < s.size(); ++i)
        if (static_cast<unsigned char>(s[i]) >= 0x80)
            return false;
    return true;
}

// text with every line end (LF, CR or CR LF) as CR LF, in one pass: the line
// ends of a saved text, and of a multi-line box on Windows. Any character
// type (UTF-8 or GBK bytes, UTF-16 of the toolkit or the system).
template <class Char>
std::basic_string<Char> withCrLf(std::basic_string_view<Char> text)
{
    std::basic_string<Char> out;
    out.reserve(text.size() + text.size() / 8);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const Char c = text[i];
        if (c == Char('\r') || c == Char('\n')) {
            out += Char('\r');
            out += Char('\n');
            if (c == Char('\r') && i + 1 < text.size() && text[i + 1] == Char('\n'))
                ++i;
        } else {
            out += c;
        }
    }
    return out;
}

inline std::string withCrLf(std::string_view text)
{
    return withCrLf<char>(text);
}

} // namespace sys
