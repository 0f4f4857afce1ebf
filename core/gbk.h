#pragma once
// GBK (code page 936) <-> UTF-8, where the program's GBK text meets the
// system (file names, the options file, the console, the toolkit). The
// conversion itself is the system layer's (sys/gbk.h).
#include "sys/gbk.h"

#include <optional>
#include <string>
#include <string_view>

namespace gbk {

// The GBK bytes of UTF-8 text with each character GBK cannot hold (or each
// invalid byte) shown as '?': for messages that quote names from outside.
std::string fromUtf8Lossy(std::string_view utf8);

// GBK bytes of a UTF-8 literal known to be representable (interface texts).
// Aborts with a message when it is not: a fault of the program's own texts.
std::string lit(const char* utf8);

// The first character of UTF-8 text that GBK cannot hold (as UTF-8), or the
// empty text when there is none.
std::string firstUnencodable(std::string_view utf8);

// "U+1F600": the code point of the first character of UTF-8 text, for
// messages that must name a character the message itself cannot hold.
std::string codePointName(std::string_view utf8);

} // namespace gbk
