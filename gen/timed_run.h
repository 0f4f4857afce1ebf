#pragma once
// The timed run behind the time tab: a chosen number of events spaced by
// random intervals. Each event appends its local date and time to a log and
// may have an external program opened.
//
// The run owns no timer and no window. Its host (the time page, or a test)
// implements TimedRunHost; TimedRunDriver runs the steps of Generate and of
// each timer event in order against that host.
#include "core/types.h"

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

    // Which box a message is shown in: the core's warning box or the plain
    // message box with an empty caption and an OK button.
    enum class Box { Warning, Plain };
    struct Failure {
        CString message; // GBK
        Box box;
    };

    // Applies the three rules in order and returns the first that fails.
    // When all pass, seeds the C runtime's generator and returns nothing.
    std::optional<Failure> validate() const;
};

// The event line for a local broken-down time, without CR LF:
// "YYYY-MM-DD   hh:mm:ss" (three blanks between date and time).
CString formatEventLine(const std::tm& local);

// The state of the current run. Intervals are drawn with g_core->getRandInt.
class TimedRun {
public:
    CString logText;    // one line per event so far, each followed by CR LF
    int eventsDone = 0; // events completed in this run

    // Begins a run on a validated copy of settings: empties the log and
    // returns the first interval in milliseconds.
    int start(const TimeSettings& settings);

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
    bool running_ = false;
};

// What a timed run needs from its host. Random integers come from g_core,
// which the host installs before any run starts.
class TimedRunHost {
public:
    virtual ~TimedRunHost() = default;

    // Arms the one-shot timer with delayMs (never negative), replacing any
    // pending one; the event arrives later through TimedRunDriver::onTimer.
    virtual void armTimer(int delayMs) = 0;
    virtual void cancelTimer() = 0;
    // The current local date and time, to the second.
    virtual std::tm localNow() = 0;
    // Opens the program text whole; the result is not the run's concern.
    virtual void launch(const CString& program) = 0;
    // Replaces the output box's text with text (GBK).
    virtual void showLog(const CString& text) = 0;
    // Shows text (GBK) in a modal box of the given kind; returns when dismissed.
    virtual void showMessage(TimeSettings::Box box, const CString& text) = 0;
    virtual void setGenerateEnabled(bool enabled) = 0;
};

// Runs Generate and the timer events of a timed run against a host.
class TimedRunDriver {
public:
    explicit TimedRunDriver(TimedRunHost& host) : host_(host) {}

    // Validates settings; a failing rule is shown in its box and nothing else
    // changes. On success disables Generate, empties the output box, starts
    // the run and arms the first interval. Returns whether a run started.
    bool generate(const TimeSettings& settings);

    // Starts a run on settings that have already passed validation.
    void begin(const TimeSettings& settings);

    // One timer event: cancel the timer, read the clock once, record the
    // line, show the log, launch when enabled, then either show the end
    // message and enable Generate, or arm the next interval. An event that
    // arrives with no run going is ignored.
    void onTimer();

    // Ends a run without a message, e.g. when the host's window goes away.
    void stop();

    const TimedRun& run() const { return run_; }

    // The delay a timer is armed with for an interval: a negative interval
    // (possible when a bound is pasted negative) fires at once.
    static int timerDelay(int interval) { return interval < 0 ? 0 : interval; }

private:
    TimedRunHost& host_;
    TimedRun run_;
};
