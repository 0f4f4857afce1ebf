#pragma once
// GBK (code page 936) <-> Unicode, where the program's GBK text meets Qt.
#include <optional>
#include <string>
#include <string_view>

#include <QString>

namespace gbk {

// The GBK bytes of text, or nothing when text holds a character that GBK
// cannot represent: such text is never silently altered.
std::optional<std::string> encode(const QString& text);

// The Unicode text of GBK bytes. Invalid sequences become U+FFFD; `ok`, when
// given, tells whether the bytes were valid GBK.
QString decode(std::string_view bytes, bool* ok = nullptr);

// GBK bytes of a UTF-8 literal known to be representable (interface texts).
std::string lit(const char* utf8);

// The first character of text that GBK cannot hold, for messages.
QString firstUnencodable(const QString& text);

} // namespace gbk
