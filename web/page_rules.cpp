#include "web/page_rules.h"

#include "core/ccore.h"
#include "core/gbk.h"
#include "core/options.h"
#include "core/texts.h"
#include "core/textutil.h"
#include "res/resource.h"
#include "ui/page_controls.h"

#include <string>

namespace web {
namespace {

namespace nid = idc::number;
constexpr PageOptions<StringSettings> kStringPage(kStringOptions, kStringControls);
constexpr PageOptions<NumberSettings> kNumberPage(kNumberOptions, kNumberControls);
constexpr PageOptions<TimeSettings> kTimePage(kTimeOptions, kTimeControls);

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
        return PageMessage{false, textNotGbkMessage(*unreadable, controlText(c, kStringPage.controlOf(*unreadable)))};
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
