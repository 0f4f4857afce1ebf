#include "cli/cli_common.h"

#include "core/ccore.h"
#include "core/config_store.h"
#include "core/core_options.h"
#include "core/gbk.h"
#include "core/texts.h"
#include "sys/console.h"

#include <algorithm>
#include <climits>
#include <cstdint>

void CommonOptions::addTo(CLI::App& cmd, bool withFile)
{
    cmd.add_option_function<std::string>(
           "--seed", [this](const std::string& s) { seed = s; seeded = true; },
           "Reproducible output: the same seed, options and version give the same bytes")
        ->type_name("TEXT");
    cmd.add_flag("--from-settings", fromSettings,
                 "Start from the options the window stored for this tab; options given here override them");
    cmd.add_option("--part", part,
                   "With --seed: only the K-th of N consecutive parts of the run; the N parts in order make "
                   "the whole run")
        ->type_name("K/N");
    cmd_ = &cmd;
    if (withFile)
        cmd.add_option_function<std::string>(
               "--out",
               [this](const std::string& s) {
                   out = s;
                   outGiven = true;
               },
               "Write to FILE, whole or not at all (default: standard output)")
            ->type_name("FILE");
    cmd.add_option("--encoding", encoding, "Text encoding of the output (default: utf8)")
        ->check(CLI::IsMember({"gbk", "utf8"}))
        ->type_name("gbk|utf8");
    cmd.add_option("--eol", eol, "Line end of the output (default: lf)")
        ->check(CLI::IsMember({"crlf", "lf"}))
        ->type_name("crlf|lf");
}

namespace {
// "K/N" with 1 <= K <= N, both plain decimal.
bool parsePart(std::string_view text, int* k, int* n)
{
    const auto slash = text.find('/');
    if (slash == std::string_view::npos)
        return false;
    const std::string_view ks = text.substr(0, slash), ns = text.substr(slash + 1);
    if (ks.starts_with('+') || ns.starts_with('+'))
        return false;
    return parseInt(ks, k) == IntText::Ok && parseInt(ns, n) == IntText::Ok && *k >= 1 && *k <= *n;
}
} // namespace

bool CommonOptions::usable() const
{
    return (!outGiven || notEmpty(out, "--out")) && partUsable();
}

bool CommonOptions::partUsable() const
{
    if (!part)
        return true;
    const std::string& text = *part;
    int k = 0, n = 0;
    if (!parsePart(text, &k, &n)) {
        printUtf8Error(text.empty() ? std::string(utf8(Text::PartFormEmpty)) : utf8(Text::PartForm, {text}));
        return false;
    }
    if (!seeded) {
        printUtf8Error(utf8(Text::PartNeedsSeed));
        return false;
    }
    if (cmd_ && cmd_->get_option_no_throw("--unique") && cmd_->count("--unique") > 0) {
        printUtf8Error(utf8(Text::PartNotUnique));
        return false;
    }
    return true;
}

std::pair<int64_t, int64_t> CommonOptions::partOf(int64_t count) const
{
    int k = 1, n = 1;
    if (part && !parsePart(*part, &k, &n))
        k = n = 1;
    // k * count stays below 2^62: both are ints.
    return {count * (k - 1) / n, count * k / n};
}

InstalledCore::InstalledCore(const CommonOptions& common) : fromSettings_(common.fromSettings)
{
    CoreOptions o;
    if (common.seeded)
        o.random = std::make_unique<RandomGen>(RandomGen::seeded(common.seed));
    core_ = std::make_unique<CCore>(std::move(o));
    g_core = core_.get();
    // The window's options file was damaged and has just been set aside.
    if (core_->store().wasCorrupt())
        printError(core_->store().setAsideNotice());
}

InstalledCore::~InstalledCore()
{
    g_core = nullptr;
}

std::string defaultNote(const OptionDef& d)
{
    return " (default " + std::to_string(d.firstInt) + ")";
}

std::string defaultNote(const OptionDef& lo, const OptionDef& hi)
{
    return " (default " + std::to_string(lo.firstInt) + "-" + std::to_string(hi.firstInt) + ")";
}

void printError(const CString& gbkMessage)
{
    printUtf8Error(gbk::toUtf8(gbkMessage));
}

void printUtf8Error(const std::string& utf8Message)
{
    sys::printErrorLine("kelvane-cli: " + utf8Message);
}

std::optional<CString> argToGbk(const std::string& utf8, const char* option)
{
    if (auto bytes = gbk::fromUtf8(utf8))
        return bytes;
    printUtf8Error(::utf8(Text::ArgNotGbk, {option, gbk::firstUnencodable(utf8)}));
    return std::nullopt;
}

bool stderrIsTerminal()
{
    return sys::stderrIsTerminal();
}

std::vector<std::string> argsForParse(CLI::App& app, const std::vector<std::string>& argv)
{
    std::vector<std::string> args;
    args.reserve(argv.size() + 4);
    CLI::App* scope = &app;
    for (std::size_t i = 0; i < argv.size(); ++i) {
        std::string arg = argv[i];
        if (arg == "--") { // the rest are not options
            for (; i < argv.size(); ++i)
                args.push_back(argv[i]);
            break;
        }
        if (scope == &app)
            for (CLI::App* sub : app.get_subcommands([](CLI::App*) { return true; }))
                if (sub->check_name(arg))
                    scope = sub;
        const std::size_t eq = arg.find('=');
        if (arg.size() > 3 && arg.compare(0, 2, "--") == 0 && eq == arg.size() - 1) {
            arg.pop_back();
            const CLI::Option* opt = scope->get_option_no_throw(arg);
            if (opt && opt->get_expected_min() > 0) {
                args.push_back(std::move(arg));
                args.emplace_back();
                continue;
            }
            arg.push_back('=');
        }
        args.push_back(std::move(arg));
    }
    std::reverse(args.begin(), args.end());
    return args;
}

IntText parseInt(std::string_view text, int* value)
{
    std::size_t i = 0;
    const bool negative = !text.empty() && text[0] == '-';
    if (!text.empty() && (text[0] == '-' || text[0] == '+'))
        i = 1;
    if (i == text.size())
        return IntText::NotInt;
    int64_t v = 0;
    bool tooLarge = false;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9')
            return IntText::NotInt;
        if (!tooLarge) {
            v = v * 10 + (text[i] - '0');
            tooLarge = v > int64_t(INT_MAX) + (negative ? 1 : 0);
        }
    }
    if (tooLarge)
        return IntText::TooLarge;
    *value = int(negative ? -v : v);
    return IntText::Ok;
}

std::optional<int> intOption(const std::string& text, const char* option)
{
    int v = 0;
    switch (parseInt(text, &v)) {
    case IntText::Ok:
        return v;
    case IntText::TooLarge:
        printUtf8Error(utf8(Text::ArgOutOfRange, {option, text}));
        return std::nullopt;
    case IntText::NotInt:
        break;
    }
    if (text.empty())
        printUtf8Error(utf8(Text::ArgEmptyNotInt, {option}));
    else
        printUtf8Error(utf8(Text::ArgNotInt, {option, text}));
    return std::nullopt;
}

bool parseRange(const std::string& text, int* lo, int* hi)
{
    const auto dash = text.find('-', 1);
    if (dash == std::string::npos)
        return parseInt(text, lo) == IntText::Ok && parseInt(text, hi) == IntText::Ok;
    const std::string_view t(text);
    return parseInt(t.substr(0, dash), lo) == IntText::Ok && parseInt(t.substr(dash + 1), hi) == IntText::Ok;
}

std::optional<std::pair<int, int>> rangeOption(const std::string& text, const char* option, const char* form,
                                               const char* example)
{
    std::pair<int, int> r;
    if (parseRange(text, &r.first, &r.second))
        return r;
    printUtf8Error(text.empty() ? utf8(Text::ArgFormEmpty, {option, form, example})
                                : utf8(Text::ArgFormBad, {option, form, example, text}));
    return std::nullopt;
}

bool notEmpty(const std::string& text, const char* option)
{
    if (!text.empty())
        return true;
    printUtf8Error(utf8(Text::ArgEmpty, {option}));
    return false;
}
