#pragma once
// Code page 936 (GBK) <-> UTF-16 through the Windows converter, named
// explicitly so that the program's texts do not depend on the system's ANSI
// code page. Strict both ways: bytes that are not GBK and characters GBK
// cannot hold are reported, never replaced.
#include <optional>
#include <string>
#include <string_view>

namespace cp936 {

inline constexpr unsigned kCodePage = 936;

// The UTF-16 text of GBK bytes, or nothing when the bytes are not valid GBK.
std::optional<std::wstring> toWide(std::string_view gbk);

// The GBK bytes of text, or nothing when it holds a character GBK cannot hold.
std::optional<std::string> fromWide(std::wstring_view text);

// decoded, the converter's text for gbk, when it encodes back to gbk
// unchanged; nothing otherwise. Some converters map a well-formed code that
// GBK leaves unassigned to U+30FB, a private-use or a default character
// without failing; toWide refuses those through this check.
std::optional<std::wstring> keepIfRoundTrips(std::string_view gbk, std::optional<std::wstring> decoded);

// Lenient decoding for display: invalid bytes become U+FFFD.
std::wstring toWideLossy(std::string_view gbk);

// UTF-8 <-> UTF-16 for the tables and file names the program keeps as UTF-8.
std::wstring utf8ToWide(std::string_view utf8);
// Nothing when utf8 is not valid UTF-8.
std::optional<std::wstring> utf8ToWideStrict(std::string_view utf8);
std::string wideToUtf8(std::wstring_view text);

} // namespace cp936
