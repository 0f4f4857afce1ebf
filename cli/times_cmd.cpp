// `kelvane-cli times`: a timed run in the terminal. Each event's line is
// printed as it happens; with --exec the program is opened at each event.
#include "cli/times_cmd.h"

#include "cli/cli_common.h"
#include "core/ccore.h"
#include "core/gbk.h"
#include "gen/timed_run.h"
#include "platform/shell.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <ctime>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <unistd.h>

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
    }

    // False when the line could not be written; closed() tells whether the
    // reader went away, error() why otherwise.
    bool print(const CString& gbkLine)
    {
        std::string text = utf8_ ? gbk::toUtf8(gbkLine) : gbkLine;
        text += eol_;
        std::size_t done = 0;
        while (done < text.size()) {
            const ssize_t n = ::write(STDOUT_FILENO, text.data() + done, text.size() - done);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                closed_ = n < 0 && errno == EPIPE;
                error_ = n < 0 ? std::strerror(errno) : "write returned 0";
                return false;
            }
            done += std::size_t(n);
        }
        return true;
    }
    bool closed() const { return closed_; }
    const std::string& error() const { return error_; }

private:
    bool utf8_;
    std::string eol_;
    bool closed_ = false;
    std::string error_;
};

std::tm localNow()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local;
}

// Reads the options over the stored or first-run ones; prints the error
// and returns nothing when an option cannot be read.
std::optional<TimeSettings> settingsFrom(const TimesOptions& o, InstalledCore& core)
{
    TimeSettings s;
    s.isProgram = core.start(opt::isProgram);
    s.fileProgram = core.startText(opt::fileProgram);
    s.min_delay = core.start(opt::min_delay);
    s.max_delay = core.start(opt::max_delay);
    s.count_time = core.start(opt::count_time);
    if (o.interval) {
        const auto r = rangeOption(*o.interval, "--interval", "“毫秒”或“最小-最大”",
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
        std::this_thread::sleep_for(std::chrono::milliseconds(TimedRunDriver::timerDelay(*next)));
        if (!out.print(formatEventLine(localNow()))) {
            if (out.closed())
                return kExitOk; // the reader went away: end quietly
            printUtf8Error("写入输出失败：" + out.error());
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
    cmd->add_option("--encoding", o->common.encoding, "Text encoding of the output (default: utf8)")
        ->check(CLI::IsMember({"gbk", "utf8"}));
    cmd->add_option("--eol", o->common.eol, "Line end of the output (default: lf)")
        ->check(CLI::IsMember({"crlf", "lf"}));
    return [o, cmd]() { return cmd->parsed() ? runTimes(*o) : -1; };
}
