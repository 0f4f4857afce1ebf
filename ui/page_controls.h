#pragma once
// Each stored option's control on the three tabs: the generators' option
// rows paired with the tabs' control ids, once for the window's pages and
// the browser's page alike.
#include "core/gbk.h"
#include "core/options.h"
#include "core/texts.h"
#include "gen/number_gen.h"
#include "gen/string_gen.h"
#include "gen/timed_run.h"
#include "res/resource.h"
#include "ui/option_controls.h"

#include <string>

inline constexpr OptionControl kStringControls[] = {
    {&opt::isUCase, idc::string::upper},
    {&opt::isLCase, idc::string::lower},
    {&opt::isNum, idc::string::digits},
    {&opt::isHz, idc::string::hanzi},
    {&opt::isCharSpec, idc::string::useCharSpec},
    {&opt::isCharEx, idc::string::useCharEx},
    {&opt::charSpec, idc::string::charSpec},
    {&opt::charExclude, idc::string::charExclude},
    {&opt::head, idc::string::head},
    {&opt::tail, idc::string::tail},
    {&opt::insertStr, idc::string::insert},
    {&opt::len_min_str, idc::string::lenMin},
    {&opt::len_max_str, idc::string::lenMax},
    {&opt::count_str, idc::string::count},
};
static_assert(pairsEachOption<StringSettings>(kStringOptions, kStringControls));

// The value range fields are not stored.
inline constexpr OptionControl kNumberControls[] = {
    {&opt::isInt, idc::number::isInt},
    {&opt::isFloat, idc::number::isFloat},
    {&opt::count_int, idc::number::count},
    {&opt::xsw, idc::number::decimals},
};
static_assert(pairsEachOption<NumberSettings>(kNumberOptions, kNumberControls));

inline constexpr OptionControl kTimeControls[] = {
    {&opt::isProgram, idc::time::isProgram},
    {&opt::fileProgram, idc::time::program},
    {&opt::min_delay, idc::time::minDelay},
    {&opt::max_delay, idc::time::maxDelay},
    {&opt::count_time, idc::time::count},
};
static_assert(pairsEachOption<TimeSettings>(kTimeOptions, kTimeControls));

// The message for a string tab text box (option) whose text, shown (UTF-8),
// GBK cannot hold: the box's label and the first such character.
inline std::string textNotGbkMessage(const OptionDef& option, const std::string& shown)
{
    const Text label = &option == &opt::head        ? Text::LabelHead
                       : &option == &opt::tail      ? Text::LabelTail
                       : &option == &opt::insertStr ? Text::LabelInsert
                       : &option == &opt::charSpec  ? Text::LabelCharSpec
                                                    : Text::LabelCharExclude;
    const std::string ch = gbk::firstUnencodable(shown);
    return fill(utf8(Text::FieldNotGbk), {utf8(label), ch, gbk::codePointName(ch)});
}
