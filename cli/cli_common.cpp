#include "cli/cli_common.h"

#include "core/ccore.h"
#include "core/config_store.h"
#include "core/core_options.h"
#include "core/gbk.h"
#include "core/qt/qgbk.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <unistd.h>

void CommonOptions::addTo(CLI::App& cmd, bool withOutput)
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
    if (!withOutput)
        return;
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
        printUtf8Error("--part 应为“K/N”形式（1 ≤ K ≤ N），例如 2/4"
                       + (text.empty() ? std::string("，而不是空值") : "，而不是“" + text + "”"));
        return false;
    }
    if (!seeded) {
        printUtf8Error("--part 需要 --seed：只有同一个种子才能分段生成同一批结果");
        return false;
    }
    if (cmd_ && cmd_->get_option_no_throw("--unique") && cmd_->count("--unique") > 0) {
        printUtf8Error("--part 不能与 --unique 同用：互不相同的结果须一次生成");
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

int InstalledCore::start(const OptionDef& d) const
{
    if (!fromSettings_)
        return d.firstInt;
    return d.kind == OptionKind::Flag ? core_->getConfigB(d.key) : core_->getConfigInt(d.key);
}

CString InstalledCore::startText(const OptionDef& d) const
{
    return fromSettings_ ? core_->getConfigStr(d.key) : CString(d.firstText);
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
    const QByteArray text = gbk::decode(gbkMessage).toLocal8Bit();
    std::fprintf(stderr, "kelvane-cli: %s\n", text.constData());
}

void printUtf8Error(const std::string& utf8Message)
{
    std::fprintf(stderr, "kelvane-cli: %s\n", QString::fromStdString(utf8Message).toLocal8Bit().constData());
}

std::optional<CString> argToGbk(const std::string& utf8, const char* option)
{
    const QString text = QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
    if (auto bytes = gbk::encode(text))
        return bytes;
    printUtf8Error(std::string(option) + " 含有无法用 GBK 表示的字符“" + gbk::firstUnencodable(utf8) + "”");
    return std::nullopt;
}

bool stderrIsTerminal()
{
    return isatty(STDERR_FILENO) == 1;
}

std::vector<std::string> argsForParse(CLI::App& app, int argc, const char* const* argv)
{
    std::vector<std::string> args;
    args.reserve(std::size_t(argc > 0 ? argc : 0) + 4);
    CLI::App* scope = &app;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--") { // the rest are not options
            for (; i < argc; ++i)
                args.emplace_back(argv[i]);
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
        printUtf8Error(std::string(option) + " 的值“" + text + "”超出范围");
        return std::nullopt;
    case IntText::NotInt:
        break;
    }
    if (text.empty())
        printUtf8Error(std::string(option) + " 的值为空，应为整数");
    else
        printUtf8Error(std::string(option) + " 应为整数，而不是“" + text + "”");
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
    printUtf8Error(std::string(option) + " 应为" + form + "形式，例如 " + example
                   + (text.empty() ? std::string("，而不是空值") : "，而不是“" + text + "”"));
    return std::nullopt;
}

bool notEmpty(const std::string& text, const char* option)
{
    if (!text.empty())
        return true;
    printUtf8Error(std::string(option) + " 的值不能为空");
    return false;
}
