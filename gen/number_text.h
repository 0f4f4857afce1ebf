#pragma once
// Number to text for generated rows: the same text as printf's "%d" and
// "%.<n>f", written straight into a buffer, without depending on the locale.
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <system_error>

namespace numtext {

// Room for any int: "-2147483648".
constexpr std::size_t kIntChars = 11;

// Writes v as "%d" would. [first, first + kIntChars) must be writable.
inline char* putInt(char* first, int v)
{
    return std::to_chars(first, first + kIntChars, v).ptr;
}

// Writes v as "%.<decimals>f" would (decimals >= 0). Returns nullptr when
// [first, last) is too small for the text.
//
// printf writes the exact binary value rounded to the given decimals, ties
// to even. For a value held in single precision (24 significant bits) below
// 2^31 with at most 5 decimals, v * 10^decimals (at most 41 significant
// bits) is exact in double, so rounding it to an integer gives printf's
// digits directly; the rows of the number generator are all such values.
// Anything else goes through std::to_chars with a precision, which rounds
// the same way but costs several times more.
inline char* putFixed(char* first, char* last, double v, int decimals)
{
    if (decimals >= 0 && decimals <= 5 && std::fabs(v) < 2147483648.0 && double(float(v)) == v) {
        static constexpr double kScale[] = {1, 10, 100, 1000, 10000, 100000};
        const long long scaled = std::llrint(v * kScale[decimals]); // ties to even
        char digits[24];
        const auto len = std::size_t(
            std::to_chars(digits, digits + sizeof digits, static_cast<uint64_t>(scaled < 0 ? -scaled : scaled)).ptr
            - digits);
        const auto dec = std::size_t(decimals);
        const std::size_t whole = len > dec ? len - dec : 1; // digits before the point
        const std::size_t need = std::size_t(std::signbit(v)) + whole + (dec ? dec + 1 : 0);
        if (std::size_t(last - first) < need)
            return nullptr;
        char* p = first;
        if (std::signbit(v))
            *p++ = '-'; // also for a negative value that rounds to zero, as printf does
        if (len > dec) {
            std::memcpy(p, digits, whole);
            p += whole;
        } else {
            *p++ = '0';
        }
        if (dec) {
            *p++ = '.';
            const std::size_t frac = len > dec ? dec : len; // significant fraction digits
            std::memset(p, '0', dec - frac);
            p += dec - frac;
            std::memcpy(p, digits + (len - frac), frac);
            p += frac;
        }
        return p;
    }
#if defined(__cpp_lib_to_chars)
    const auto r = std::to_chars(first, last, v, std::chars_format::fixed, decimals);
    return r.ec == std::errc() ? r.ptr : nullptr;
#else
    // A C++ library without floating-point to_chars (the browser build's):
    // printf's own digits, which to_chars with a precision is defined to give.
    const std::size_t room = std::size_t(last - first);
    char text[400]; // any double with up to 60 decimals, and its NUL
    const int n = decimals <= 60 ? std::snprintf(text, sizeof text, "%.*f", decimals, v) : -1;
    if (n < 0 || std::size_t(n) >= sizeof text || std::size_t(n) > room)
        return nullptr;
    std::memcpy(first, text, std::size_t(n));
    return first + n;
#endif
}

} // namespace numtext
