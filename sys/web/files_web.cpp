// The core's file services and program folder in the browser, which has
// no files: nothing exists, and nothing can be created.
#include "sys/files.h"
#include "sys/program_folder.h"

namespace sys {

bool fileExists(const std::string&)
{
    return false;
}

bool createFileKeeping(const std::string&)
{
    return false;
}

std::string programFolder()
{
    return ".";
}

} // namespace sys
