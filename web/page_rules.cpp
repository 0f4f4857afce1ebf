#include "web/page_rules.h"

#include "core/ccore.h"
#include "core/gbk.h"
#include "core/options.h"
#include "core/texts.h"
#include "core/textutil.h"
#include "res/resource.h"

#include <string>

namespace web {
namespace {

int flagOf(const Controls& c, int id)
{
    const auto it = c.find(id);
    return it != c.end() && it->second == "1" ? 1 : 0;
}

std::string textOf(const Controls& c, int id)
{
    const auto it = c.find(id);
    return it == c.end() ? std::string() : it->second;
}

// An edit's number as the window reads it (atoi of its text).
int numberOf(const Controls& c, int id)
{
    return textutil::toInt(textOf(c, id));
}

std::string gbkToShown(const CString& text)
{
    return gbk::toUtf8(text);
}

namespace sid = idc::string;
struct FlagControl {
    int id;
    int StringSettings::*field;
    const OptionDef& option;
};
// In the order the window loads them; stored with the two lists' flags swapped.
const FlagControl kFlags[] = {
    {sid::upper, &StringSettings::isUCase, opt::isUCase},
    {sid::lower, &StringSettings::isLCase, opt::isLCase},
    {sid::digits, &StringSettings::isNum, opt::isNum},
    {sid::hanzi, &StringSettings::isHz, opt::isHz},
    {sid::useCharSpec, &StringSettings::isCharSpec, opt::isCharSpec},
    {sid::useCharEx, &StringSettings::isCharEx, opt::isCharEx},
};
const int kFlagStoreOrder[] = {0, 1, 2, 3, 5, 4};

struct TextControl {
    int id;
    CString StringSettings::*field;
    const OptionDef& option;
    Text label;
};
const TextControl kTexts[] = {
    {sid::head, &StringSettings::head, opt::head, Text::LabelHead},
    {sid::tail, &StringSettings::tail, opt::tail, Text::LabelTail},
    {sid::insert, &StringSettings::insertStr, opt::insertStr, Text::LabelInsert},
    {sid::charSpec, &StringSettings::charSpec, opt::charSpec, Text::LabelCharSpec},
    {sid::charExclude, &StringSettings::charExclude, opt::charExclude, Text::LabelCharExclude},
};
// The lists are read first, as in the window, so their message comes first.
const int kTextReadOrder[] = {3, 4, 0, 1, 2};

struct NumberControl {
    int id;
    int StringSettings::*field;
    const OptionDef& option;
};
const NumberControl kNumbers[] = {
    {sid::lenMin, &StringSettings::lenMin, opt::len_min_str},
    {sid::lenMax, &StringSettings::lenMax, opt::len_max_str},
    {sid::count, &StringSettings::count, opt::count_str},
};

std::string unencodableMessage(Text label, const std::string& text)
{
    const std::string ch = gbk::firstUnencodable(text);
    return fill(utf8(Text::FieldNotGbk), {utf8(label), ch, gbk::codePointName(ch)});
}

} // namespace

Controls loadStringPage()
{
    Controls c;
    for (const FlagControl& f : kFlags)
        c[f.id] = std::to_string(g_core->getConfigB(f.option.key));
    for (const TextControl& t : kTexts)
        c[t.id] = gbkToShown(g_core->getConfigStr(t.option.key));
    for (const NumberControl& n : kNumbers)
        c[n.id] = gbkToShown(g_core->getConfigStr(n.option.key));
    return c;
}

std::optional<PageMessage> readStringPage(const Controls& c, StringSettings& last, bool validate)
{
    StringSettings s = last;
    for (const FlagControl& f : kFlags)
        s.*f.field = flagOf(c, f.id);
    for (const int i : kTextReadOrder) {
        const TextControl& t = kTexts[i];
        const std::string shown = textOf(c, t.id);
        if (auto bytes = gbk::fromUtf8(shown))
            s.*t.field = *bytes;
        else if (validate)
            return PageMessage{false, unencodableMessage(t.label, shown)};
    }
    s.insertStr = textutil::trimmed(s.insertStr);
    for (const NumberControl& n : kNumbers)
        s.*n.field = numberOf(c, n.id);
    last = std::move(s);
    if (!validate)
        return std::nullopt;
    CString message;
    if (!last.validate(&message))
        return PageMessage{false, gbk::toUtf8(message)};
    return std::nullopt;
}

void storeStringPage(const Controls& c, StringSettings& last)
{
    readStringPage(c, last, false);
    for (const int i : kFlagStoreOrder)
        g_core->saveConfigB(kFlags[i].option.key, last.*kFlags[i].field);
    for (const TextControl& t : kTexts)
        g_core->saveConfigStr(t.option.key, last.*t.field);
    for (const NumberControl& n : kNumbers)
        g_core->saveConfigInt(n.option.key, last.*n.field);
}

namespace nid = idc::number;

Controls loadNumberPage()
{
    // The value range is never stored: it starts at the same bounds each time.
    return {
        {nid::isInt, std::to_string(g_core->getConfigB(opt::isInt.key))},
        {nid::isFloat, std::to_string(g_core->getConfigB(opt::isFloat.key))},
        {nid::rangeMin, std::to_string(opt::kRangeMin)},
        {nid::rangeMax, std::to_string(opt::kRangeMax)},
        {nid::count, std::to_string(g_core->getConfigInt(opt::count_int.key))},
        {nid::decimals, std::to_string(g_core->getConfigInt(opt::xsw.key))},
    };
}

std::optional<PageMessage> readNumberPage(const Controls& c, NumberSettings& out, bool validate)
{
    // Text GBK cannot hold is read as typed: the number rules read only its
    // leading ASCII number, the same in either form.
    const auto field = [&c](int id) {
        const std::string shown = textOf(c, id);
        return gbk::fromUtf8(shown).value_or(shown);
    };
    out = NumberSettings::fromFields(flagOf(c, nid::isInt), flagOf(c, nid::isFloat), field(nid::rangeMin),
                                     field(nid::rangeMax), field(nid::count), field(nid::decimals));
    if (!validate)
        return std::nullopt;
    if (const CString message = out.validate(); !message.empty())
        return PageMessage{true, gbk::toUtf8(message)};
    return std::nullopt;
}

void storeNumberPage(const Controls& c)
{
    NumberSettings s;
    readNumberPage(c, s, false);
    g_core->saveConfigInt(opt::count_int.key, s.count);
    g_core->saveConfigInt(opt::xsw.key, s.decimals);
    g_core->saveConfigB(opt::isInt.key, s.isInt);
    g_core->saveConfigB(opt::isFloat.key, s.isFloat);
}

namespace tid = idc::time;

Controls loadTimePage(TimeSettings& loaded)
{
    loaded.isProgram = g_core->getConfigB(opt::isProgram.key);
    loaded.fileProgram = g_core->getConfigStr(opt::fileProgram.key);
    return {
        {tid::isProgram, std::to_string(loaded.isProgram)},
        {tid::program, gbkToShown(loaded.fileProgram)},
        {tid::minDelay, gbkToShown(g_core->getConfigStr(opt::min_delay.key))},
        {tid::maxDelay, gbkToShown(g_core->getConfigStr(opt::max_delay.key))},
        {tid::count, gbkToShown(g_core->getConfigStr(opt::count_time.key))},
    };
}

TimeSettings readTimePage(const Controls& c)
{
    TimeSettings s;
    s.isProgram = 0; // a page cannot open programs
    s.min_delay = numberOf(c, tid::minDelay);
    s.max_delay = numberOf(c, tid::maxDelay);
    s.count_time = numberOf(c, tid::count);
    return s;
}

void storeTimePage(const Controls& c, const TimeSettings& loaded)
{
    const TimeSettings s = readTimePage(c);
    g_core->saveConfigB(opt::isProgram.key, loaded.isProgram);
    g_core->saveConfigStr(opt::fileProgram.key, loaded.fileProgram);
    g_core->saveConfigInt(opt::min_delay.key, s.min_delay);
    g_core->saveConfigInt(opt::max_delay.key, s.max_delay);
    g_core->saveConfigInt(opt::count_time.key, s.count_time);
}

} // namespace web
