#pragma once
// Numbers read from text the same way whatever the user's locale says.

namespace sys {

// strtod in the "C" locale: the decimal point is '.', leading blanks are
// skipped, reading stops at the first character that does not fit; 0 when
// nothing fits.
double parseDoubleC(const char* text);

} // namespace sys
