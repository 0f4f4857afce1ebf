#include "sys/number_text.h"

#include <clocale>
#include <cstdlib>

namespace sys {

double parseDoubleC(const char* text)
{
    static const _locale_t cLocale = _create_locale(LC_ALL, "C");
    return cLocale ? _strtod_l(text, nullptr, cLocale) : std::strtod(text, nullptr);
}

} // namespace sys
