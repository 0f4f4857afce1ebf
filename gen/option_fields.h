#pragma once
// Which stored option fills which field of a settings record. Each record
// keeps one table of these rows beside it (string_gen.h, number_gen.h,
// timed_run.h); the pages pair each row with their control, and kelvane-cli
// starts from the same rows.
#include "core/config_store.h"
#include "core/options.h"
#include "core/types.h"

#include <span>

template <class Settings>
struct OptionField {
    const OptionDef* option;
    int Settings::*number = nullptr;   // a flag or a number
    CString Settings::*text = nullptr; // a text

    constexpr OptionField(const OptionDef& o, int Settings::*field) : option(&o), number(field) {}
    constexpr OptionField(const OptionDef& o, CString Settings::*field) : option(&o), text(field) {}
};

// Whether each row's field suits its option's kind and no option comes twice.
template <class Settings>
consteval bool fieldsMatchOptions(std::span<const OptionField<Settings>> rows)
{
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if ((rows[i].option->kind == OptionKind::Text) != (rows[i].text != nullptr))
            return false;
        for (std::size_t j = 0; j < i; ++j)
            if (sameOption(*rows[j].option, *rows[i].option))
                return false;
    }
    return true;
}

// Sets the fields of rows as the options start: their stored values from
// store, or their first-run values when store is null.
template <class Settings>
void startFields(Settings& s, std::span<const OptionField<Settings>> rows, const ConfigStore* store)
{
    for (const OptionField<Settings>& f : rows) {
        const OptionDef& o = *f.option;
        if (f.text)
            s.*f.text = store ? store->getStr(o) : CString(o.firstText);
        else if (!store)
            s.*f.number = o.firstInt;
        else
            s.*f.number = o.kind == OptionKind::Flag ? store->getB(o) : store->getInt(o);
    }
}
