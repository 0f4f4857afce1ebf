// `kelvane-cli strings`: passwords, user names, domain names, phone numbers.
#include "cli/strings_cmd.h"

#include "cli/cli_common.h"
#include "cli/row_loop.h"
#include "core/ccore.h"
#include "core/texts.h"
#include "core/textutil.h"
#include "gen/string_gen.h"

#include <memory>
#include <optional>

namespace {

struct StringsOptions {
    CommonOptions common;
    bool upper = false, lower = false, digits = false, hz = false;
    std::optional<std::string> length; // N or MIN-MAX
    std::optional<std::string> head, tail, insert, special, exclude, count;
    bool noSpecial = false, noExclude = false, unique = false;
};

std::string lengthExample()
{
    return std::to_string(opt::len_min_str.firstInt) + "-" + std::to_string(opt::len_max_str.firstInt);
}

int runStrings(const StringsOptions& o)
{
    if (!o.common.usable())
        return kExitInvalid;
    InstalledCore core(o.common);
    StringSettings s = core.start<StringSettings>(kStringOptions);
    if (o.upper || o.lower || o.digits || o.hz) {
        s.isUCase = o.upper;
        s.isLCase = o.lower;
        s.isNum = o.digits;
        s.isHz = o.hz;
    }
    if (o.length) {
        const auto len = rangeOption(*o.length, "--length", utf8(Text::FormLength),
                                     lengthExample().c_str());
        if (!len)
            return kExitInvalid;
        s.lenMin = len->first;
        s.lenMax = len->second;
    }
    struct TextOption {
        const std::optional<std::string>& value;
        const char* name;
        CString* field;
        int* enable;
    } texts[] = {
        {o.head, "--head", &s.head, nullptr},
        {o.tail, "--tail", &s.tail, nullptr},
        {o.insert, "--insert", &s.insertStr, nullptr},
        {o.special, "--special", &s.charSpec, &s.isCharSpec},
        {o.exclude, "--exclude", &s.charExclude, &s.isCharEx},
    };
    for (const TextOption& t : texts) {
        if (!t.value)
            continue;
        auto bytes = argToGbk(*t.value, t.name);
        if (!bytes)
            return kExitInvalid;
        *t.field = *bytes;
        if (t.enable)
            *t.enable = 1;
    }
    s.insertStr = textutil::trimmed(s.insertStr);
    if (o.noSpecial)
        s.isCharSpec = 0;
    if (o.noExclude)
        s.isCharEx = 0;
    if (o.count) {
        const auto count = intOption(*o.count, "--count");
        if (!count)
            return kExitInvalid;
        s.count = *count;
    }

    if (const auto invalid = s.validate()) {
        printError(invalid->message);
        return kExitInvalid;
    }
    s = s.forRun();
    const std::size_t maxRowBytes = StringRowMaker(s, core->random()).maxRowBytes();
    return writeRows(o.common, {s.count, o.unique, o.unique ? distinctRows(s) : UINT64_MAX, maxRowBytes},
                     [&s](RandomGen& source) { return StringRowMaker(s, source); });
}

} // namespace

std::function<int()> addStringsCommand(CLI::App& app)
{
    auto o = std::make_shared<StringsOptions>();
    CLI::App* cmd = app.add_subcommand("strings", "Passwords, user names, domain names, phone numbers");
    cmd->add_flag("--upper", o->upper, "Upper-case letters A-Z");
    cmd->add_flag("--lower", o->lower, "Lower-case letters a-z");
    cmd->add_flag("--digits", o->digits, "Digits 0-9");
    cmd->add_flag("--hz", o->hz, "Chinese characters (GB2312 level 1)");
    cmd->add_option("--length", o->length, "Characters drawn per row: N or MIN-MAX" + defaultNote(opt::len_min_str, opt::len_max_str))
        ->type_name("MIN-MAX");
    cmd->add_option("--head", o->head, "Text in front of every row")->type_name("TEXT");
    cmd->add_option("--tail", o->tail, "Text after every row")->type_name("TEXT");
    cmd->add_option("--insert", o->insert, "Inserts: POS|TEXT|POS|TEXT..., positions from large to small")
        ->type_name("LIST");
    cmd->add_option("--special", o->special, "Place up to a third of special characters from TEXT")
        ->type_name("TEXT");
    cmd->add_option("--exclude", o->exclude, "Never draw the characters of TEXT")->type_name("TEXT");
    cmd->add_flag("--no-special", o->noSpecial, "No special characters, even when stored");
    cmd->add_flag("--no-exclude", o->noExclude, "No excluded characters, even when stored");
    cmd->add_option("--count", o->count, "Number of rows" + defaultNote(opt::count_str))->type_name("N");
    cmd->add_flag("--unique", o->unique, "No two rows alike");
    o->common.addTo(*cmd);
    return [o, cmd]() { return cmd->parsed() ? runStrings(*o) : -1; };
}
