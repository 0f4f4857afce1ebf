// The timed run: settings checks, event lines, the run's state and the
// order of its steps against the host.
#include "gen/timed_run.h"

#include "core/ccore.h"
#include "core/texts.h"
#include "gen/gen_common.h"

#include <cstdio>

std::optional<TimeSettings::Failure> TimeSettings::validate() const
{
    // Only the length counts: a program text of blanks is a file name too.
    if (isProgram != 0 && fileProgram.empty())
        return Failure{text(Text::ProgramInvalid), Box::Warning};
    if (min_delay > max_delay)
        return Failure{text(Text::IntervalInvalid), Box::Plain};
    if (count_time < 1)
        return Failure{text(Text::CountInvalid), Box::Plain};
    seedCRuntime();
    return std::nullopt;
}

CString formatEventLine(const std::tm& local)
{
    // Widened before the offsets are added, so no field value can overflow.
    char line[128];
    const int n = std::snprintf(line, sizeof line, "%04lld-%02lld-%02lld   %02d:%02d:%02d",
                                static_cast<long long>(local.tm_year) + 1900,
                                static_cast<long long>(local.tm_mon) + 1,
                                static_cast<long long>(local.tm_mday), local.tm_hour,
                                local.tm_min, local.tm_sec);
    return CString(line, n > 0 ? static_cast<std::size_t>(n) : 0);
}

int TimedRun::start(const TimeSettings& settings)
{
    settings_ = settings;
    logText.clear();
    eventsDone = 0;
    running_ = true;
    return g_core->getRandInt(settings_.min_delay, settings_.max_delay);
}

const CString& TimedRun::recordEvent(const std::tm& local)
{
    logText += formatEventLine(local);
    logText += "\r\n";
    return logText;
}

std::optional<int> TimedRun::advance()
{
    if (!running_)
        return std::nullopt;
    ++eventsDone;
    if (eventsDone >= settings_.count_time) {
        running_ = false;
        return std::nullopt;
    }
    return g_core->getRandInt(settings_.min_delay, settings_.max_delay);
}

bool TimedRunDriver::generate(const TimeSettings& settings)
{
    if (const auto failure = settings.validate()) {
        host_.showMessage(failure->box, failure->message);
        return false;
    }
    begin(settings);
    return true;
}

void TimedRunDriver::begin(const TimeSettings& settings)
{
    host_.setGenerateEnabled(false);
    host_.showLog(CString());
    host_.armTimer(timerDelay(run_.start(settings)));
}

void TimedRunDriver::onTimer()
{
    host_.cancelTimer();
    if (!run_.running())
        return;
    const CString& log = run_.recordEvent(host_.localNow());
    host_.showLog(log);
    if (run_.settings().isProgram != 0)
        host_.launch(run_.settings().fileProgram);
    // A host that went away while the launch ran has ended the run already.
    if (!run_.running())
        return;
    if (const auto next = run_.advance()) {
        host_.armTimer(timerDelay(*next));
    } else {
        host_.showMessage(TimeSettings::Box::Plain, text(Text::Generated));
        host_.setGenerateEnabled(true);
    }
}

void TimedRunDriver::stop()
{
    host_.cancelTimer();
    run_.abandon();
}
