#pragma once
// Options and helpers shared by the subcommands of kelvane-cli.
#include "cli/output_sink.h"
#include "core/types.h"

#include <CLI/CLI.hpp>

#include <memory>
#include <optional>
#include <string>

class CCore;

// Exit statuses: 0 done, 1 output failed, 2 invalid options.
enum ExitCode { kExitOk = 0, kExitOutput = 1, kExitInvalid = 2 };

struct CommonOptions {
    std::string seed;        // --seed: deterministic stream keyed from this text
    bool seeded = false;
    bool fromSettings = false;
    std::string out;         // --out FILE, empty: standard output
    std::string encoding = "utf8";
    std::string eol = "lf";

    // Adds --seed, --from-settings, --out, --encoding and --eol to cmd.
    void addTo(CLI::App& cmd, bool withOutput = true);
    Encoding enc() const { return encoding == "gbk" ? Encoding::Gbk : Encoding::Utf8; }
    LineEnd lineEnd() const { return eol == "crlf" ? LineEnd::CrLf : LineEnd::Lf; }
};

// The g_core of one command: the window's own store (so --from-settings
// reads what the window saved) and a seeded or secure random source.
// Installed as g_core while it lives.
class InstalledCore {
public:
    explicit InstalledCore(const CommonOptions& common);
    ~InstalledCore();
    CCore* operator->() const { return core_.get(); }

private:
    std::unique_ptr<CCore> core_;
};

// Prints a GBK message to stderr in the terminal's encoding.
void printError(const CString& gbkMessage);
void printError(const std::string& utf8Message, bool /*utf8*/);

// A UTF-8 command-line text as GBK; prints an error naming the option and
// returns nothing when GBK cannot hold it.
std::optional<CString> argToGbk(const std::string& utf8, const char* option);

// "N" or "MIN-MAX" (each may be negative) as two integers; false when the
// text is anything else or a number does not fit an int.
bool parseRange(const std::string& text, int* lo, int* hi);

// True while standard error is a terminal (progress lines go there).
bool stderrIsTerminal();
