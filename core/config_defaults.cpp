// First-run values of every stored option: a newcomer's first Generate works
// on every tab.
#include "core/config_store.h"

#include <string_view>

namespace {
struct Default {
    std::string_view key;
    QVariant value;
};


const Default kDefaults[] = {
    // string page
    {"isUCase", 1}, {"isLCase", 1}, {"isNum", 1}, {"isHz", 0}, {"isCharSpec", 0}, {"isCharEx", 0},
    {"head", QString()}, {"tail", QString()}, {"insertStr", QString()},
    {"charSpec", QStringLiteral("!@#$%^&*")}, {"charExclude", QStringLiteral("0O1lI")},
    {"len_min_str", 8}, {"len_max_str", 16}, {"count_str", 10},
    // number page
    {"isInt", 1}, {"isFloat", 0}, {"count_int", 10}, {"xsw", 2},
    // time page
    {"isProgram", 0}, {"fileProgram", QString()}, {"min_delay", 1000}, {"max_delay", 3000}, {"count_time", 5},
};
} // namespace

QVariant configDefault(const std::string& key)
{
    for (const Default& d : kDefaults)
        if (d.key == key)
            return d.value;
    return {};
}
