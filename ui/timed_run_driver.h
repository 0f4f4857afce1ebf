#pragma once
// The steps of the time tab's Generate and of each timer event, in order,
// against a host: the time page, or a test with a manual clock and timer.
#include "gen/timed_run.h"
#include "platform/boxes.h"

class RandomGen;

// What a timed run needs from the window it runs in.
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
    // Shows text (GBK) in a modal box of the given kind (Plain or Warning);
    // returns when dismissed.
    virtual void showMessage(BoxKind box, const CString& text) = 0;
    virtual void setGenerateEnabled(bool enabled) = 0;
};

// Runs Generate and the timer events of a timed run against a host.
class TimedRunDriver {
public:
    explicit TimedRunDriver(TimedRunHost& host) : host_(host) {}

    // Validates settings; a failing rule is shown in its box (a missing
    // program in the warning box, the others in the plain box) and nothing
    // else changes. On success seeds the C runtime, disables Generate,
    // empties the output box, starts the run and arms the first interval.
    // Returns whether a run started.
    bool generate(const TimeSettings& settings, RandomGen& random);

    // One timer event: cancel the timer, read the clock once, record the
    // line, show the log, launch when enabled, then either show the end
    // message and enable Generate, or arm the next interval. An event that
    // arrives with no run going is ignored.
    void onTimer();

    // Ends a run without a message, e.g. when the host's window goes away.
    void stop();

    const TimedRun& run() const { return run_; }

private:
    TimedRunHost& host_;
    TimedRun run_;
};
