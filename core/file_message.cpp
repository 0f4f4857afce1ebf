#include "core/file_message.h"

#include "core/texts.h"

namespace {
Text stepText(sys::FileStep step)
{
    using S = sys::FileStep;
    switch (step) {
    case S::None: break;
    case S::Create: return Text::FileCreate;
    case S::Write: return Text::FileWrite;
    case S::Commit: return Text::FileCommit;
    case S::RemoveOutput: return Text::OutputRemove;
    case S::CreateOutput: return Text::OutputCreate;
    case S::OpenOutput: return Text::OutputOpen;
    case S::WriteOutput: return Text::OutputWrite;
    case S::CloseOutput: return Text::OutputClose;
    case S::OpenSource: return Text::SourceOpen;
    case S::ReadSource: return Text::SourceRead;
    case S::SourceNotGbk: return Text::SourceNotGbk;
    }
    return Text::FileCreate;
}
} // namespace

std::string fileMessage(const sys::FileResult& result)
{
    if (result.ok())
        return {};
    return utf8(stepText(result.step), {result.path, result.reason});
}
