#pragma once
// Options and helpers shared by the subcommands of kelvane-cli.
#include "cli/output_sink.h"
#include "core/ccore.h"
#include "core/options.h"
#include "core/types.h"
#include "gen/option_fields.h"

#include <CLI/CLI.hpp>

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Exit statuses: 0 done, 1 output failed, 2 invalid options.
enum ExitCode { kExitOk = 0, kExitOutput = 1, kExitInvalid = 2 };

struct CommonOptions {
    std::string seed;        // --seed: deterministic stream keyed from this text
    bool seeded = false;
    bool fromSettings = false;
    std::string out;         // --out FILE, empty: standard output
    bool outGiven = false;   // --out was given (an empty name is refused)
    std::string encoding = "utf8";
    std::string eol = "lf";
    // --part K/N: the K-th of N consecutive parts of a seeded run.
    std::optional<std::string> part;

    // Adds --seed, --from-settings, --part, --out (withFile), --encoding and
    // --eol to cmd.
    void addTo(CLI::App& cmd, bool withFile = true);
    // False (after a message) when a value given cannot be used.
    bool usable() const;
    // The items of a run of count that this command makes: first .. end - 1,
    // all of them without --part. Needs options that are usable().
    std::pair<int64_t, int64_t> partOf(int64_t count) const;
    Encoding enc() const { return encoding == "gbk" ? Encoding::Gbk : Encoding::Utf8; }
    LineEnd lineEnd() const { return eol == "crlf" ? LineEnd::CrLf : LineEnd::Lf; }

private:
    bool partUsable() const;
    const CLI::App* cmd_ = nullptr;
};

// The g_core of one command: the window's own store (so --from-settings
// reads what the window saved) and a seeded or secure random source.
// Installed as g_core while it lives.
class InstalledCore {
public:
    explicit InstalledCore(const CommonOptions& common);
    ~InstalledCore();
    CCore* operator->() const { return core_.get(); }

    // The settings as the command starts from them: the window's stored
    // values with --from-settings, otherwise the first-run values.
    template <class Settings>
    Settings start(std::span<const OptionField<Settings>> fields) const
    {
        Settings s;
        startFields(s, fields, fromSettings_ ? &core_->store() : nullptr);
        return s;
    }

private:
    std::unique_ptr<CCore> core_;
    bool fromSettings_;
};

// " (default N)" for an option's first-run value, for help texts.
std::string defaultNote(const OptionDef& d);
// " (default LO-HI)" for a pair of options read as one range.
std::string defaultNote(const OptionDef& lo, const OptionDef& hi);

// Prints a GBK message to stderr in the terminal's encoding.
void printError(const CString& gbkMessage);
// The same for a message written in UTF-8 (it quotes command-line text).
void printUtf8Error(const std::string& utf8Message);

// A UTF-8 command-line text as GBK; prints an error naming the option and
// returns nothing when GBK cannot hold it.
std::optional<CString> argToGbk(const std::string& utf8, const char* option);

// The arguments after the program name (UTF-8), reversed, as
// CLI::App::parse takes them. "--name=" with nothing after the '=' would make the parser take the
// next argument as the value; for an option that takes a value it becomes
// "--name" followed by an empty argument, so the value is empty.
std::vector<std::string> argsForParse(CLI::App& app, const std::vector<std::string>& argv);

// A whole decimal integer: an optional sign and digits, nothing else.
enum class IntText { Ok, NotInt, TooLarge };
IntText parseInt(std::string_view text, int* value);

// The value of an integer option such as --count; otherwise prints an
// error naming the option and returns nothing.
std::optional<int> intOption(const std::string& text, const char* option);

// "N" or "MIN-MAX" (each may be negative) as two integers; false when the
// text is anything else or a number does not fit an int.
bool parseRange(const std::string& text, int* lo, int* hi);

// The value of a range option (--length, --interval) as parseRange reads
// it; otherwise prints an error naming the option and its form (example:
// "8-16") and returns nothing.
std::optional<std::pair<int, int>> rangeOption(const std::string& text, const char* option, const char* form,
                                               const char* example);

// Prints an error and returns false when an option was given an empty
// value where a value is needed (a file name, a bound).
bool notEmpty(const std::string& text, const char* option);

// True while standard error is a terminal (progress lines go there).
bool stderrIsTerminal();
