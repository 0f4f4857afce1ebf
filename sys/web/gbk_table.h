#pragma once
// The GBK table of the browser build. The C library of WebAssembly has no
// GBK converter; the page builds the table from the browser's own GBK
// decoder when it loads and hands it over before any text is converted.
#include <cstdint>
#include <span>

namespace gbkweb {

// table[code] is the Unicode character (BMP) of GBK code `code`: a single
// byte b is b, a two-byte character is (lead << 8) | trail; 0 where the code
// is no character. Bytes below 0x80 are ASCII whatever the table says.
void setTable(std::span<const std::uint16_t, 65536> table);

// Whether a table has been set.
bool hasTable();

} // namespace gbkweb
