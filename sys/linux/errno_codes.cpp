// The system's reasons where calls report them in errno: Linux, and the
// browser's C library, which keeps the same codes.
#include "sys/file_calls.h"

#include <cerrno>
#include <cstring>

namespace sys {
namespace {
// GNU strerror_r returns the text, which may or may not be in buf; the
// POSIX one fills buf and returns a status.
[[maybe_unused]] const char* strerrorText(const char* text, const char*) { return text; }
[[maybe_unused]] const char* strerrorText(int, const char* buf) { return buf; }
} // namespace

SysError lastError()
{
    return errno;
}

void setLastError(SysError error)
{
    errno = int(error);
}

SysError ioError()
{
    return EIO;
}

bool alreadyExists(SysError error)
{
    return error == EEXIST;
}

bool notFound(SysError error)
{
    // ENOTDIR: a part of the path is a file, so nothing is there either.
    return error == ENOENT || error == ENOTDIR;
}

bool pipeClosed(SysError error)
{
    return error == EPIPE;
}

std::string errorText(SysError error)
{
    // The program runs in the user's locale, whose texts are UTF-8.
    char buf[256] = {};
    return strerrorText(::strerror_r(int(error), buf, sizeof buf), buf);
}

} // namespace sys
