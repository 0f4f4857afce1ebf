// The timed run: settings checks, event lines and the run's state.
#include "gen/timed_run.h"

#include "core/random.h"
#include "core/texts.h"

#include <cstdio>

std::optional<Invalid> TimeSettings::validate() const
{
    // Only the length counts: a program text of blanks is a file name too.
    if (isProgram != 0 && fileProgram.empty())
        return Invalid::of(Text::ProgramInvalid);
    if (min_delay > max_delay)
        return Invalid::of(Text::IntervalInvalid);
    if (count_time < 1)
        return Invalid::of(Text::CountInvalid);
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

int TimedRun::start(const TimeSettings& settings, RandomGen& random)
{
    settings_ = settings;
    random_ = &random;
    logText.clear();
    eventsDone = 0;
    running_ = true;
    return random_->getRandInt(settings_.min_delay, settings_.max_delay);
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
    return random_->getRandInt(settings_.min_delay, settings_.max_delay);
}
