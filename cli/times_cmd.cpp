// `kelvane-cli times`: a timed run in the terminal. Each event's line is
// printed as it happens; with --exec the program is opened at each event.
#include "cli/times_cmd.h"

#include "cli/cli_common.h"
#include "core/ccore.h"
#include "core/texts.h"
#include "core/qt/qgbk.h"
#include "gen/timed_run.h"
#include "platform/shell.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <memory>
#include <optional>
#include <thread>

namespace {

struct TimesOptions {
    CommonOptions common;
    std::string interval; // MIN-MAX or MS
    std::optional<int> minDelay, maxDelay, count;
    std::optional<std::string> exec;
    bool noExec = false;
};

// Runs the timer with sleeps: the next interval counts from the end of the
// previous event, as in the window.
class TerminalHost : public TimedRunHost {
public:
    explicit TerminalHost(Encoding enc, LineEnd eol) : sink_(QString(), enc, eol) {}

    std::optional<int> pending;
    bool outputClosed = false;

    void armTimer(int delayMs) override { pending = delayMs; }
    void cancelTimer() override { pending.reset(); }
    std::tm localNow() override
    {
        const std::time_t now = std::time(nullptr);
        std::tm local{};
        localtime_r(&now, &local);
        return local;
    }
    void launch(const CString& program) override { shellOpen(program); }
    void showLog(const CString& text) override
    {
        // Print only the line the event added.
        std::size_t end = text.size();
        if (end >= 2 && text.compare(end - 2, 2, "\r\n") == 0)
            end -= 2;
        const std::size_t start = text.rfind("\r\n", end == 0 ? 0 : end - 1);
        const std::size_t from = start == CString::npos || start >= end ? 0 : start + 2;
        if (!sink_.row(std::string_view(text).substr(from, end - from)) || !sink_.finish())
            outputClosed = true;
    }
    void showMessage(TimeSettings::Box, const CString& text) override
    {
        if (text != ::text(Text::Generated))
            printError(text);
    }
    void setGenerateEnabled(bool) override {}

private:
    OutputSink sink_;
};

int runTimes(const TimesOptions& o)
{
    InstalledCore core(o.common);
    TimeSettings s;
    if (o.common.fromSettings) {
        s.isProgram = core->getConfigB("isProgram");
        s.fileProgram = core->getConfigStr("fileProgram");
        s.min_delay = core->getConfigInt("min_delay");
        s.max_delay = core->getConfigInt("max_delay");
        s.count_time = core->getConfigInt("count_time");
    } else {
        s.min_delay = 1000;
        s.max_delay = 3000;
        s.count_time = 5;
    }
    if (!o.interval.empty() && !parseRange(o.interval, &s.min_delay, &s.max_delay)) {
        printError("--interval 应为“毫秒”或“最小-最大”形式，例如 1000-3000", true);
        return kExitInvalid;
    }
    if (o.minDelay)
        s.min_delay = *o.minDelay;
    if (o.maxDelay)
        s.max_delay = *o.maxDelay;
    if (o.count)
        s.count_time = *o.count;
    if (o.exec) {
        auto program = argToGbk(*o.exec, "--exec");
        if (!program)
            return kExitInvalid;
        s.isProgram = 1;
        s.fileProgram = *program;
    }
    if (o.noExec)
        s.isProgram = 0;

    TerminalHost host(o.common.enc(), o.common.lineEnd());
    TimedRunDriver driver(host);
    // A failing rule is printed by the host; nothing runs.
    if (!driver.generate(s))
        return kExitInvalid;
    while (host.pending && !host.outputClosed) {
        std::this_thread::sleep_for(std::chrono::milliseconds(*host.pending));
        driver.onTimer();
    }
    return kExitOk; // a closed output ends the run quietly
}

} // namespace

std::function<int()> addTimesCommand(CLI::App& app)
{
    auto o = std::make_shared<TimesOptions>();
    CLI::App* cmd = app.add_subcommand("times", "Events at random intervals, each printed with its local time");
    cmd->add_option("--interval", o->interval, "Interval in milliseconds: MS or MIN-MAX (default 1000-3000)")
        ->type_name("MIN-MAX");
    cmd->add_option("--min-delay", o->minDelay, "Least interval in milliseconds")->type_name("MS");
    cmd->add_option("--max-delay", o->maxDelay, "Greatest interval in milliseconds")->type_name("MS");
    cmd->add_option("--count", o->count, "Number of events (default 5)")->type_name("N");
    cmd->add_option("--exec", o->exec, "Open PROGRAM at each event (one file name, never a shell command)")
        ->type_name("PROGRAM");
    cmd->add_flag("--no-exec", o->noExec, "Open nothing, even when the stored options say so");
    o->common.addTo(*cmd, false);
    cmd->add_option("--encoding", o->common.encoding, "Text encoding of the output (default: utf8)")
        ->check(CLI::IsMember({"gbk", "utf8"}));
    cmd->add_option("--eol", o->common.eol, "Line end of the output (default: lf)")
        ->check(CLI::IsMember({"crlf", "lf"}));
    return [o, cmd]() { return cmd->parsed() ? runTimes(*o) : -1; };
}
