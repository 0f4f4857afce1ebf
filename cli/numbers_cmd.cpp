// `kelvane-cli numbers`: integers and/or floating-point numbers in a range.
#include "cli/numbers_cmd.h"

#include "cli/cli_common.h"
#include "cli/row_loop.h"
#include "core/ccore.h"
#include "gen/number_gen.h"

#include <climits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

struct NumbersOptions {
    CommonOptions common;
    bool isInt = false, isFloat = false;
    std::vector<std::string> range; // MIN MAX
    std::optional<std::string> min, max;
    std::optional<std::string> count;
    std::optional<std::string> decimals;
    bool unique = false;
};

int runNumbers(const NumbersOptions& o)
{
    if (!o.common.usable())
        return kExitInvalid;
    InstalledCore core(o.common);
    NumberSettings s = core.start<NumberSettings>(kNumberOptions);
    s.maxCount = INT_MAX; // rows are streamed, never held
    // The value range is never stored: it starts where the window's does.
    CString minText = std::to_string(opt::kRangeMin), maxText = std::to_string(opt::kRangeMax);
    if (o.isInt || o.isFloat) {
        s.isInt = o.isInt;
        s.isFloat = o.isFloat;
    }
    // Bounds keep the window's field rules; an empty one is refused, as
    // it would silently read as 0.
    if (o.range.size() == 2) {
        if (!notEmpty(o.range[0], "--range") || !notEmpty(o.range[1], "--range"))
            return kExitInvalid;
        minText = o.range[0];
        maxText = o.range[1];
    }
    if (o.min) {
        if (!notEmpty(*o.min, "--min"))
            return kExitInvalid;
        minText = *o.min;
    }
    if (o.max) {
        if (!notEmpty(*o.max, "--max"))
            return kExitInvalid;
        maxText = *o.max;
    }
    // Counts parse strictly: "1e6" or "10abc" is an error, not 1 or 10.
    struct IntOption {
        const std::optional<std::string>& value;
        const char* name;
        int* field;
    } ints[] = {{o.count, "--count", &s.count}, {o.decimals, "--decimals", &s.decimals}};
    for (const IntOption& i : ints) {
        if (!i.value)
            continue;
        const auto v = intOption(*i.value, i.name);
        if (!v)
            return kExitInvalid;
        *i.field = *v;
    }
    s.rangeMin = numberFieldBound(minText);
    s.rangeMax = numberFieldBound(maxText);

    if (const auto invalid = s.validate()) {
        printError(invalid->message);
        return kExitInvalid;
    }
    const std::size_t maxRowBytes = NumberRowMaker(s, core->random()).maxRowBytes();
    return writeRows(o.common, {s.count, o.unique, o.unique ? distinctRows(s) : UINT64_MAX, maxRowBytes},
                     [&s](RandomGen& source) { return NumberRowMaker(s, source); });
}

} // namespace

std::function<int()> addNumbersCommand(CLI::App& app)
{
    auto o = std::make_shared<NumbersOptions>();
    CLI::App* cmd = app.add_subcommand("numbers", "Integers and floating-point numbers within a value range");
    cmd->add_flag("--int", o->isInt, "Integer rows (the default when neither --int nor --float is given)");
    cmd->add_flag("--float", o->isFloat, "Floating-point rows; with --int each row is either, at even chances");
    cmd->add_option("--range", o->range, "Value range (default " + std::to_string(opt::kRangeMin) + " " + std::to_string(opt::kRangeMax) + ")")->expected(2)->type_name("MIN MAX");
    cmd->add_option("--min", o->min, "Lower bound of the range")->type_name("NUMBER");
    cmd->add_option("--max", o->max, "Upper bound of the range")->type_name("NUMBER");
    cmd->add_option("--decimals", o->decimals, "Decimals of a floating-point row, 0 to 5" + defaultNote(opt::xsw))->type_name("N");
    cmd->add_option("--count", o->count, "Number of rows" + defaultNote(opt::count_int))->type_name("N");
    cmd->add_flag("--unique", o->unique, "No two rows alike");
    o->common.addTo(*cmd);
    return [o, cmd]() { return cmd->parsed() ? runNumbers(*o) : -1; };
}
