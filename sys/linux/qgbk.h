#pragma once
// GBK <-> Qt's Unicode text, for the code that meets Qt (the Qt back end of
// the dialog layer, the command line's Qt parts).
#include <QString>

#include <optional>
#include <string>
#include <string_view>

namespace gbk {

// The GBK bytes of text, or nothing when text holds a character that GBK
// cannot represent.
std::optional<std::string> encode(const QString& text);

// The Unicode text of GBK bytes. Invalid sequences become U+FFFD; `ok`, when
// given, tells whether the bytes were valid GBK.
QString decode(std::string_view bytes, bool* ok = nullptr);

} // namespace gbk
