#pragma once
// Which control of a page shows which stored option. The fields the options
// fill are the generators' tables (kStringOptions, kNumberOptions,
// kTimeOptions); a page pairs each of their rows with its control id once,
// in an OptionControls, and loads, reads and stores through it.
#include "core/ccore.h"
#include "gen/option_fields.h"
#include "platform/cdialog.h"

#include <span>
#include <utility>

// field = text, out of line: inlined into read() for a record with no text
// options, GCC's bounds check takes the unused null member for a real one.
void assignText(CString& field, CString&& text);

struct OptionControl {
    const OptionDef* option;
    int id;
};

// Whether every row of fields has exactly one control, and nothing else does.
template <class Settings>
consteval bool pairsEachOption(std::span<const OptionField<Settings>> fields, std::span<const OptionControl> controls)
{
    if (fields.size() != controls.size())
        return false;
    for (const OptionField<Settings>& f : fields) {
        int n = 0;
        for (const OptionControl& c : controls)
            n += sameOption(*c.option, *f.option) ? 1 : 0;
        if (n != 1)
            return false;
    }
    return true;
}

// The control paired with option; 0 for none (never, where pairsEachOption
// holds).
constexpr int controlFor(std::span<const OptionControl> controls, const OptionDef& option)
{
    for (const OptionControl& c : controls)
        if (c.option == &option)
            return c.id;
    return 0;
}

// Reads every field of s from its control, in the order of the fields:
// number(id, isFlag) gives a flag's or a number's value, text(id) a text as
// GBK, or nothing when GBK cannot hold it. Such a text leaves its field as it
// was; the first such option is returned, null when every text was read.
template <class Settings, class Number, class Text>
const OptionDef* readFields(Settings& s, std::span<const OptionField<Settings>> fields,
                            std::span<const OptionControl> controls, Number number, Text text)
{
    const OptionDef* unreadable = nullptr;
    for (const OptionField<Settings>& f : fields) {
        const int id = controlFor(controls, *f.option);
        if (!f.text)
            s.*f.number = number(id, f.option->kind == OptionKind::Flag);
        else if (auto t = text(id))
            assignText(s.*f.text, std::move(*t));
        else if (!unreadable)
            unreadable = f.option;
    }
    return unreadable;
}

// Stores every field of s under its option, through g_core.
template <class Settings>
void storeFields(const Settings& s, std::span<const OptionField<Settings>> fields)
{
    for (const OptionField<Settings>& f : fields) {
        const OptionDef& o = *f.option;
        if (f.text)
            g_core->saveConfigStr(o, s.*f.text);
        else if (o.kind == OptionKind::Flag)
            g_core->saveConfigB(o, s.*f.number);
        else
            g_core->saveConfigInt(o, s.*f.number);
    }
}

template <class Settings>
class OptionControls {
public:
    constexpr OptionControls(std::span<const OptionField<Settings>> fields, std::span<const OptionControl> controls)
        : fields_(fields), controls_(controls)
    {
    }

    // Sets every control from the store (the page's OnInitDialog): a flag as
    // the check state, a text or a number as the box's text. Returns the
    // values shown.
    Settings load(CDialog& page) const
    {
        Settings s;
        startFields(s, fields_, &g_core->store());
        for (const OptionField<Settings>& f : fields_) {
            const int id = controlOf(*f.option);
            if (f.text)
                page.SetDlgItemText(id, s.*f.text);
            else if (f.option->kind == OptionKind::Flag)
                page.CheckDlgButton(id, s.*f.number);
            else
                page.SetDlgItemInt(id, s.*f.number);
        }
        return s;
    }

    // Reads every control into s, in the order of the fields: a flag's check
    // state, a number's text as atoi reads it (empty: 0), a text as typed,
    // whether its box is enabled or not. A text GBK cannot hold leaves its
    // field as it was; the first such option is returned, null when every
    // text was read.
    const OptionDef* read(const CDialog& page, Settings& s) const
    {
        return readFields(
            s, fields_, controls_,
            [&page](int id, bool flag) { return flag ? page.IsDlgButtonChecked(id) : page.GetDlgItemAtoi(id); },
            [&page](int id) { return page.GetDlgItemText(id); });
    }

    // Stores every field of s under its option (the page's OnDestroy).
    void store(const Settings& s) const { storeFields(s, fields_); }

    constexpr int controlOf(const OptionDef& option) const { return controlFor(controls_, option); }

private:
    std::span<const OptionField<Settings>> fields_;
    std::span<const OptionControl> controls_;
};
