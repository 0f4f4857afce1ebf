#pragma once
// Loading, reading and storing a tab of the browser's page through its
// generator's option table (kStringOptions, kNumberOptions, kTimeOptions)
// and the control each row is paired with (ui/page_controls.h): what
// OptionControls (ui/option_controls.h) does for the window's pages.
//
// Controls travel as plain maps from control id to value: 0 or 1 for a check
// box, UTF-8 text for an edit.
#include "core/ccore.h"
#include "core/gbk.h"
#include "core/textutil.h"
#include "gen/option_fields.h"
#include "ui/option_controls.h"

#include <map>
#include <span>
#include <string>

using Controls = std::map<int, std::string>;

namespace web {

inline std::string controlText(const Controls& c, int id)
{
    const auto it = c.find(id);
    return it == c.end() ? std::string() : it->second;
}

template <class Settings>
class PageOptions {
public:
    constexpr PageOptions(std::span<const OptionField<Settings>> fields, std::span<const OptionControl> controls)
        : fields_(fields), controls_(controls)
    {
    }

    // The controls as the tab shows them at start, from the store; loaded
    // gets the values shown.
    Controls load(Settings& loaded) const
    {
        startFields(loaded, fields_, &g_core->store());
        Controls c;
        for (const OptionField<Settings>& f : fields_)
            c[controlOf(*f.option)] = f.text ? gbk::toUtf8(loaded.*f.text) : std::to_string(loaded.*f.number);
        return c;
    }

    // Reads every control into s, in the order of the fields: a flag as
    // checked or not, a number's text as atoi reads it (empty: 0), a text as
    // typed. A text GBK cannot hold leaves its field as it was; the first such
    // option is returned, null when every text was read.
    const OptionDef* read(const Controls& c, Settings& s) const
    {
        return readFields(
            s, fields_, controls_,
            [&c](int id, bool flag) {
                const std::string shown = controlText(c, id);
                return flag ? (shown == "1" ? 1 : 0) : textutil::toInt(shown);
            },
            [&c](int id) { return gbk::fromUtf8(controlText(c, id)); });
    }

    // Stores every field of s under its option.
    void store(const Settings& s) const { storeFields(s, fields_); }

    constexpr int controlOf(const OptionDef& option) const { return controlFor(controls_, option); }

private:
    std::span<const OptionField<Settings>> fields_;
    std::span<const OptionControl> controls_;
};

} // namespace web
