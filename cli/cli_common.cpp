#include "cli/cli_common.h"

#include "core/ccore.h"
#include "core/config_store.h"
#include "core/core_options.h"
#include "core/gbk.h"
#include "core/qt/qgbk.h"

#include <cctype>
#include <cstdio>
#include <stdexcept>
#include <unistd.h>

void CommonOptions::addTo(CLI::App& cmd, bool withOutput)
{
    cmd.add_option_function<std::string>(
           "--seed", [this](const std::string& s) { seed = s; seeded = true; },
           "Reproducible output: the same seed, options and version give the same bytes")
        ->type_name("TEXT");
    cmd.add_flag("--from-settings", fromSettings,
                 "Start from the options the window stored for this tab; options given here override them");
    if (!withOutput)
        return;
    cmd.add_option("--out", out, "Write to FILE, whole or not at all (default: standard output)")
        ->type_name("FILE");
    cmd.add_option("--encoding", encoding, "Text encoding of the output (default: utf8)")
        ->check(CLI::IsMember({"gbk", "utf8"}))
        ->type_name("gbk|utf8");
    cmd.add_option("--eol", eol, "Line end of the output (default: lf)")
        ->check(CLI::IsMember({"crlf", "lf"}))
        ->type_name("crlf|lf");
}

InstalledCore::InstalledCore(const CommonOptions& common)
{
    CoreOptions o;
    if (common.seeded)
        o.random = std::make_unique<RandomGen>(RandomGen::seeded(common.seed));
    core_ = std::make_unique<CCore>(std::move(o));
    g_core = core_.get();
}

InstalledCore::~InstalledCore()
{
    g_core = nullptr;
}

void printError(const CString& gbkMessage)
{
    const QByteArray text = gbk::decode(gbkMessage).toLocal8Bit();
    std::fprintf(stderr, "kelvane-cli: %s\n", text.constData());
}

void printError(const std::string& utf8Message, bool)
{
    std::fprintf(stderr, "kelvane-cli: %s\n", QString::fromStdString(utf8Message).toLocal8Bit().constData());
}

std::optional<CString> argToGbk(const std::string& utf8, const char* option)
{
    const QString text = QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
    if (auto bytes = gbk::encode(text))
        return bytes;
    printError(std::string(option) + " 含有无法用 GBK 表示的字符“" + gbk::firstUnencodable(utf8) + "”",
               true);
    return std::nullopt;
}

bool stderrIsTerminal()
{
    return isatty(STDERR_FILENO) == 1;
}

bool parseRange(const std::string& text, int* lo, int* hi)
{
    auto number = [](const std::string& t, int* out) {
        try {
            std::size_t used = 0;
            *out = std::stoi(t, &used);
            return used == t.size() && !std::isspace(static_cast<unsigned char>(t[0]));
        } catch (const std::exception&) {
            return false;
        }
    };
    const auto dash = text.find('-', 1);
    if (dash == std::string::npos)
        return number(text, lo) && number(text, hi);
    return number(text.substr(0, dash), lo) && number(text.substr(dash + 1), hi);
}
