#include "ui/timed_run_driver.h"

#include "core/random.h"
#include "core/texts.h"

bool TimedRunDriver::generate(const TimeSettings& settings, RandomGen& random)
{
    if (const auto failure = settings.validate()) {
        host_.showMessage(failure->rule == Text::ProgramInvalid ? BoxKind::Warning : BoxKind::Plain, failure->message);
        return false;
    }
    seedCRuntime();
    host_.setGenerateEnabled(false);
    host_.showLog(CString());
    host_.armTimer(timerDelay(run_.start(settings, random)));
    return true;
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
        host_.showMessage(BoxKind::Plain, text(Text::Generated));
        host_.setGenerateEnabled(true);
    }
}

void TimedRunDriver::stop()
{
    host_.cancelTimer();
    run_.abandon();
}
