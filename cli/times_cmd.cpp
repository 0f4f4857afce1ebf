// `kelvane-cli times`: a timed run in the terminal. Each event's line is
// printed as it happens; with --exec the program is opened at each event.
#include "cli/times_cmd.h"

#include "cli/cli_common.h"
#include "core/ccore.h"
#include "core/gbk.h"
#include "core/texts.h"
#include "gen/timed_run.h"
#include "sys/clock.h"
#include "sys/file_writer.h"
#include "sys/shell.h"

#include <chrono>
#include <ctime>
#include <memory>
#include <optional>
#include <string>
#include <thread>

namespace {

struct TimesOptions {
    CommonOptions common;
    std::optional<std::string> interval; // MIN-MAX or MS
    std::optional<std::string> minDelay, maxDelay, count;
    std::optional<std::string> exec;
    bool noExec = false;
};

// Writes each event's line to standard output at once and keeps nothing:
// a run of any length needs the same memory.
class LinePrinter {
public:
    LinePrinter(Encoding enc, LineEnd eol) : utf8_(enc == Encoding::Utf8), eol_(eol == LineEnd::CrLf ? "\r\n" : "\n")
    {
        out_.attachStandardOutput(utf8_ ? sys::TextEncoding::Utf8 : sys::TextEncoding::Gbk);
    }

    // False when the line could not be written; closed() tells whether the
    // reader went away, error() why otherwise.
    bool print(const CString& gbkLine)
    {
        std::string text = utf8_ ? gbk::toUtf8(gbkLine) : gbkLine;
        text += eol_;
        if (out_.write(text))
            return true;
        closed_ = sys::pipeClosed(out_.error());
        error_ = sys::errorText(out_.error());
        return false;
    }
    bool closed() const { return closed_; }
    const std::string& error() const { return error_; }

private:
    bool utf8_;
    std::string eol_;
    sys::FileWriter out_;
    bool closed_ = false;
    std::string error_;
};

// Reads the options over the stored or first-run ones; prints the error
// and returns nothing when an option cannot be read.
std::optional<TimeSettings> settingsFrom(const TimesOptions& o, InstalledCore& core)
{
    TimeSettings s = core.start<TimeSettings>(kTimeOptions);
    if (o.interval) {
        const auto r = rangeOption(*o.interval, "--interval", utf8(Text::FormInterval),
                                   (std::to_string(opt::min_delay.firstInt) + "-" + std::to_string(opt::max_delay.firstInt)).c_str());
        if (!r)
            return std::nullopt;
        s.min_delay = r->first;
        s.max_delay = r->second;
    }
    struct IntOption {
        const std::optional<std::string>& value;
        const char* name;
        int* field;
    } ints[] = {
        {o.minDelay, "--min-delay", &s.min_delay},
        {o.maxDelay, "--max-delay", &s.max_delay},
        {o.count, "--count", &s.count_time},
    };
    for (const IntOption& i : ints) {
        if (!i.value)
            continue;
        const auto v = intOption(*i.value, i.name);
        if (!v)
            return std::nullopt;
        *i.field = *v;
    }
    if (o.exec) {
        auto program = argToGbk(*o.exec, "--exec");
        if (!program)
            return std::nullopt;
        s.isProgram = 1;
        s.fileProgram = *program;
    }
    if (o.noExec)
        s.isProgram = 0;
    return s;
}

// The window's run with sleeps for its timer: each interval counts from
// the end of the previous event, and a line is printed per event.
int runTimes(const TimesOptions& o)
{
    if (!o.common.usable())
        return kExitInvalid;
    InstalledCore core(o.common);
    const std::optional<TimeSettings> s = settingsFrom(o, core);
    if (!s)
        return kExitInvalid;
    if (auto failure = s->validate()) {
        printError(failure->message);
        return kExitInvalid;
    }
    // A part runs its share of the events with the intervals the whole run
    // gives them: the intervals of the events before it are drawn unused.
    TimeSettings part = *s;
    const auto [first, end] = o.common.partOf(s->count_time);
    if (first == end)
        return kExitOk;
    for (int64_t i = 0; i < first; ++i)
        core->random().getRandInt(s->min_delay, s->max_delay);
    part.count_time = int(end - first);
    LinePrinter out(o.common.enc(), o.common.lineEnd());
    TimedRun run;
    std::optional<int> next = run.start(part, core->random());
    while (next) {
        std::this_thread::sleep_for(std::chrono::milliseconds(timerDelay(*next)));
        if (!out.print(formatEventLine(sys::localNow()))) {
            if (out.closed())
                return kExitOk; // the reader went away: end quietly
            printUtf8Error(utf8(Text::OutputFailed, {out.error()}));
            return kExitOutput;
        }
        if (s->isProgram != 0)
            shellOpen(s->fileProgram);
        next = run.advance();
    }
    return kExitOk;
}

} // namespace

std::function<int()> addTimesCommand(CLI::App& app)
{
    auto o = std::make_shared<TimesOptions>();
    CLI::App* cmd = app.add_subcommand("times", "Events at random intervals, each printed with its local time");
    cmd->add_option("--interval", o->interval, "Interval in milliseconds: MS or MIN-MAX" + defaultNote(opt::min_delay, opt::max_delay))
        ->type_name("MIN-MAX");
    cmd->add_option("--min-delay", o->minDelay, "Least interval in milliseconds")->type_name("MS");
    cmd->add_option("--max-delay", o->maxDelay, "Greatest interval in milliseconds")->type_name("MS");
    cmd->add_option("--count", o->count, "Number of events" + defaultNote(opt::count_time))->type_name("N");
    cmd->add_option("--exec", o->exec, "Open PROGRAM at each event (one file name, never a shell command)")
        ->type_name("PROGRAM");
    cmd->add_flag("--no-exec", o->noExec, "Open nothing, even when the stored options say so");
    o->common.addTo(*cmd, false);
    return [o, cmd]() { return cmd->parsed() ? runTimes(*o) : -1; };
}
