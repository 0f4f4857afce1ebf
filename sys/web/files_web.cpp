// The core's file services and program folder in the browser. The page
// writes no files (runs live in memory and leave by download); these work on
// the in-memory file system of the C library all the same.
#include "core/sys/files.h"
#include "core/sys/program_folder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace sys {

bool fileExists(const std::string& path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0;
}

bool createFileKeeping(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT, 0644);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}

std::string programFolder()
{
    return ".";
}

} // namespace sys
