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

namespace sid = idc::string;
constexpr OptionControl kStringControls[] = {
    {&opt::isUCase, sid::upper},        {&opt::isLCase, sid::lower},          {&opt::isNum, sid::digits},
    {&opt::isHz, sid::hanzi},           {&opt::isCharSpec, sid::useCharSpec}, {&opt::isCharEx, sid::useCharEx},
    {&opt::charSpec, sid::charSpec},    {&opt::charExclude, sid::charExclude}, {&opt::head, sid::head},
    {&opt::tail, sid::tail},            {&opt::insertStr, sid::insert},       {&opt::len_min_str, sid::lenMin},
    {&opt::len_max_str, sid::lenMax},   {&opt::count_str, sid::count},
};
static_assert(pairsEachOption<StringSettings>(kStringOptions, kStringControls));
constexpr PageOptions<StringSettings> kStringPage(kStringOptions, kStringControls);

namespace nid = idc::number;
// The value range is not stored: it starts at the same bounds each time.
constexpr OptionControl kNumberControls[] = {
    {&opt::isInt, nid::isInt},
    {&opt::isFloat, nid::isFloat},
    {&opt::count_int, nid::count},
    {&opt::xsw, nid::decimals},
};
static_assert(pairsEachOption<NumberSettings>(kNumberOptions, kNumberControls));
constexpr PageOptions<NumberSettings> kNumberPage(kNumberOptions, kNumberControls);

namespace tid = idc::time;
constexpr OptionControl kTimeControls[] = {
    {&opt::isProgram, tid::isProgram},
    {&opt::fileProgram, tid::program},
    {&opt::min_delay, tid::minDelay},
    {&opt::max_delay, tid::maxDelay},
    {&opt::count_time, tid::count},
};
static_assert(pairsEachOption<TimeSettings>(kTimeOptions, kTimeControls));
constexpr PageOptions<TimeSettings> kTimePage(kTimeOptions, kTimeControls);

// How the text boxes are named in messages.
Text labelOf(const OptionDef& option)
{
    if (&option == &opt::head)
        return Text::LabelHead;
    if (&option == &opt::tail)
        return Text::LabelTail;
    if (&option == &opt::insertStr)
        return Text::LabelInsert;
    return &option == &opt::charSpec ? Text::LabelCharSpec : Text::LabelCharExclude;
}

std::string unencodableMessage(Text label, const std::string& text)
{
    const std::string ch = gbk::firstUnencodable(text);
    return fill(utf8(Text::FieldNotGbk), {utf8(label), ch, gbk::codePointName(ch)});
}

} // namespace

Controls loadStringPage(StringSettings& loaded)
{
    return kStringPage.load(loaded);
}

std::optional<PageMessage> readStringPage(const Controls& c, StringSettings& last, bool validate)
{
    StringSettings s = last;
    const OptionDef* unreadable = kStringPage.read(c, s);
    if (unreadable && validate)
        return PageMessage{false, unencodableMessage(labelOf(*unreadable), controlText(c, kStringPage.controlOf(*unreadable)))};
    s.insertStr = textutil::trimmed(s.insertStr);
    last = std::move(s);
    if (!validate)
        return std::nullopt;
    if (const auto invalid = last.validate())
        return PageMessage{false, gbk::toUtf8(invalid->message)};
    last = last.forRun();
    return std::nullopt;
}

void storeStringPage(const Controls& c, StringSettings& last)
{
    readStringPage(c, last, false);
    kStringPage.store(last);
}

Controls loadNumberPage()
{
    NumberSettings loaded;
    Controls c = kNumberPage.load(loaded);
    c[nid::rangeMin] = std::to_string(opt::kRangeMin);
    c[nid::rangeMax] = std::to_string(opt::kRangeMax);
    return c;
}

std::optional<PageMessage> readNumberPage(const Controls& c, NumberSettings& out, bool validate)
{
    // Text GBK cannot hold is read as typed: the number rules read only its
    // leading ASCII number, the same in either form.
    const auto field = [&c](int id) {
        const std::string shown = controlText(c, id);
        return gbk::fromUtf8(shown).value_or(shown);
    };
    NumberSettings s;
    kNumberPage.read(c, s); // no texts: every field is read
    s.rangeMin = numberFieldBound(field(nid::rangeMin));
    s.rangeMax = numberFieldBound(field(nid::rangeMax));
    out = s;
    if (!validate)
        return std::nullopt;
    if (const auto invalid = out.validate())
        return PageMessage{true, gbk::toUtf8(invalid->message)};
    return std::nullopt;
}

void storeNumberPage(const Controls& c)
{
    NumberSettings s;
    readNumberPage(c, s, false);
    kNumberPage.store(s);
}

Controls loadTimePage(TimeSettings& loaded)
{
    return kTimePage.load(loaded);
}

TimeSettings readTimePage(const Controls& c, const TimeSettings& loaded)
{
    TimeSettings s = loaded;
    kTimePage.read(c, s);
    s.isProgram = 0; // a page cannot open programs
    s.fileProgram = loaded.fileProgram;
    return s;
}

void storeTimePage(const Controls& c, const TimeSettings& loaded)
{
    // The program controls are disabled in the page: they keep what was loaded.
    TimeSettings s = readTimePage(c, loaded);
    s.isProgram = loaded.isProgram;
    kTimePage.store(s);
}

} // namespace web
