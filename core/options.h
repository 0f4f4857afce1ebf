#pragma once
// Every stored option: its key, its kind, its first-run value and the values
// the store hands out. The one table used by the store, the pages and the
// command line.
#include <climits>
#include <string_view>

enum class OptionKind {
    Flag, // a check box: 0 or 1
    Int,  // a number typed into an edit
    Text, // a text typed into an edit (GBK; the defaults are ASCII)
};

struct OptionDef {
    const char* key;
    OptionKind kind;
    int firstInt = 0;             // first-run value of a flag or number
    const char* firstText = "";   // first-run value of a text
    int min = INT_MIN, max = INT_MAX; // a stored number outside is unusable
};

// Whether a and b are the same option, by their stored key: usable in
// compile-time checks, where comparing the addresses of two different
// options is not a constant expression in every build (sanitizers).
constexpr bool sameOption(const OptionDef& a, const OptionDef& b)
{
    return std::string_view(a.key) == std::string_view(b.key);
}

namespace opt {
inline constexpr int kFlagMin = 0, kFlagMax = 1;
constexpr OptionDef flag(const char* key, int first) { return {key, OptionKind::Flag, first, "", kFlagMin, kFlagMax}; }
constexpr OptionDef number(const char* key, int first) { return {key, OptionKind::Int, first}; }
constexpr OptionDef text(const char* key, const char* first = "") { return {key, OptionKind::Text, 0, first}; }

// The string page. A newcomer's first Generate works on every tab.
inline constexpr OptionDef isUCase = flag("isUCase", 1);
inline constexpr OptionDef isLCase = flag("isLCase", 1);
inline constexpr OptionDef isNum = flag("isNum", 1);
inline constexpr OptionDef isHz = flag("isHz", 0);
inline constexpr OptionDef isCharSpec = flag("isCharSpec", 0);
inline constexpr OptionDef isCharEx = flag("isCharEx", 0);
inline constexpr OptionDef head = text("head");
inline constexpr OptionDef tail = text("tail");
inline constexpr OptionDef insertStr = text("insertStr");
inline constexpr OptionDef charSpec = text("charSpec", "!@#$%^&*");
inline constexpr OptionDef charExclude = text("charExclude", "0O1lI");
inline constexpr OptionDef len_min_str = number("len_min_str", 8);
inline constexpr OptionDef len_max_str = number("len_max_str", 16);
inline constexpr OptionDef count_str = number("count_str", 10);
// The number page; its value range is never stored and starts at 80 to 100.
inline constexpr OptionDef isInt = flag("isInt", 1);
inline constexpr OptionDef isFloat = flag("isFloat", 0);
inline constexpr OptionDef count_int = number("count_int", 10);
inline constexpr OptionDef xsw = number("xsw", 2);
inline constexpr int kRangeMin = 80, kRangeMax = 100;
// The time page.
inline constexpr OptionDef isProgram = flag("isProgram", 0);
inline constexpr OptionDef fileProgram = text("fileProgram");
inline constexpr OptionDef min_delay = number("min_delay", 1000);
inline constexpr OptionDef max_delay = number("max_delay", 3000);
inline constexpr OptionDef count_time = number("count_time", 5);

inline constexpr OptionDef kAll[] = {
    isUCase, isLCase, isNum, isHz, isCharSpec, isCharEx, head, tail, insertStr, charSpec, charExclude,
    len_min_str, len_max_str, count_str, isInt, isFloat, count_int, xsw, isProgram, fileProgram,
    min_delay, max_delay, count_time,
};

} // namespace opt
