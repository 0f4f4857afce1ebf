#pragma once
// The timed run behind the time tab: a chosen number of events spaced by
// random intervals. Each event appends its local date and time to a log and
// may have an external program opened.
//
// The run owns no timer and no window: its host (the time page's driver,
// ui/timed_run_driver.h, or kelvane-cli) waits out each interval, reads the
// clock and launches the program.
#include "core/types.h"
#include "gen/gen_common.h"
#include "gen/option_fields.h"

class RandomGen;

#include <ctime>
#include <optional>

// The options of one run, as read from the time page's controls. Each field
// is named after the option key it is stored under.
struct TimeSettings {
    int isProgram = 0;     // 1: open fileProgram at each event
    CString fileProgram;   // exactly as typed, not trimmed
    int min_delay = 0;     // milliseconds
    int max_delay = 0;     // milliseconds, inclusive
    int count_time = 0;    // events in one run

    // The first rule the settings fail, or nothing when all pass.
    std::optional<Invalid> validate() const;
};

// The stored options of the time tab and the fields they fill, in the order
// the page reads them.
inline constexpr OptionField<TimeSettings> kTimeOptions[] = {
    {opt::isProgram, &TimeSettings::isProgram},
    {opt::fileProgram, &TimeSettings::fileProgram},
    {opt::min_delay, &TimeSettings::min_delay},
    {opt::max_delay, &TimeSettings::max_delay},
    {opt::count_time, &TimeSettings::count_time},
};
static_assert(fieldsMatchOptions<TimeSettings>(kTimeOptions));

// The event line for a local broken-down time, without CR LF:
// "YYYY-MM-DD   hh:mm:ss" (three blanks between date and time).
CString formatEventLine(const std::tm& local);

// The state of the current run. Intervals are drawn from the RandomGen the
// run was started with (the program passes g_core's).
class TimedRun {
public:
    CString logText;    // one line per event so far, each followed by CR LF
    int eventsDone = 0; // events completed in this run

    // Begins a run on a validated copy of settings: empties the log and
    // returns the first interval in milliseconds. random must outlive the run.
    int start(const TimeSettings& settings, RandomGen& random);

    // Appends the event line for local and returns the whole log.
    const CString& recordEvent(const std::tm& local);

    // Counts the event just recorded. Returns the next interval in
    // milliseconds, or nothing when that was the last event of the run.
    std::optional<int> advance();

    // Ends a run early (the host is going away); the log stays as it is.
    void abandon() { running_ = false; }

    bool running() const { return running_; }
    const TimeSettings& settings() const { return settings_; }

private:
    TimeSettings settings_; // the run works on the values it was started with
    RandomGen* random_ = nullptr;
    bool running_ = false;
};

// The delay a timer is armed with for an interval: a negative interval
// (possible when a bound is pasted negative) fires at once.
inline int timerDelay(int interval) { return interval < 0 ? 0 : interval; }
