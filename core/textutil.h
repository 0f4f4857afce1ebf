#pragma once
// Small text helpers on GBK byte strings.
#include <string>
#include <string_view>

namespace textutil {

// Field `index` (from 0) of s split at sep; empty fields count, and an index
// past the last field gives the empty text. s is GBK: a byte equal to sep
// inside a two-byte character does not split.
std::string field(std::string_view s, char sep, int index);

// The C runtime's atoi for an edit's text, with the empty text giving 0.
// Values beyond the int range saturate instead of being undefined.
int toInt(std::string_view s);

// s without leading and trailing space, tab, CR, LF, VT and FF.
std::string trimmed(std::string_view s);

} // namespace textutil
