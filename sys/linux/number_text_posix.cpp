#include "sys/number_text.h"

#include <cstdlib>
#include <locale.h>

namespace sys {

double parseDoubleC(const char* text)
{
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t(0));
    return cLocale ? strtod_l(text, nullptr, cLocale) : std::strtod(text, nullptr);
}

} // namespace sys
