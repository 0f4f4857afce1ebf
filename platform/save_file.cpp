#include "platform/save_file.h"

#include "core/texts.h"
#include "platform/service_slot.h"

namespace {
ServiceSlot<SaveFileService>& slot()
{
    static ServiceSlot<SaveFileService> s(&systemSaveDialog);
    return s;
}

// The message of each failed step (core/texts); %1 is the file, %2 the
// system's reason.
const char* format(FileStep step)
{
    switch (step) {
    case FileStep::None: return "";
    case FileStep::Create: return utf8(Text::FileCreate);
    case FileStep::Write: return utf8(Text::FileWrite);
    case FileStep::Commit: return utf8(Text::FileCommit);
    case FileStep::RemoveOutput: return utf8(Text::OutputRemove);
    case FileStep::CreateOutput: return utf8(Text::OutputCreate);
    case FileStep::OpenOutput: return utf8(Text::OutputOpen);
    case FileStep::WriteOutput: return utf8(Text::OutputWrite);
    case FileStep::CloseOutput: return utf8(Text::OutputClose);
    case FileStep::OpenSource: return utf8(Text::SourceOpen);
    case FileStep::ReadSource: return utf8(Text::SourceRead);
    case FileStep::SourceNotGbk: return utf8(Text::SourceNotGbk);
    }
    return "";
}
} // namespace

SaveFileService& SaveFileService::current()
{
    return slot().current();
}

SaveFileService* SaveFileService::install(SaveFileService* service)
{
    return slot().install(service);
}

std::string FileResult::message() const
{
    std::string out;
    for (const char* p = format(step); *p; ++p) {
        if (p[0] == '%' && (p[1] == '1' || p[1] == '2')) {
            out += p[1] == '1' ? path : reason;
            ++p;
        } else {
            out += *p;
        }
    }
    return out;
}
