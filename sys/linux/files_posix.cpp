#include "sys/files.h"

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
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
    if (fd < 0)
        return false;
    return ::close(fd) == 0;
}

} // namespace sys
