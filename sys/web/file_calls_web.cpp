// Files in the browser: there are none. The page's runs live in memory and
// leave by download, so every file call fails with a reason a message can
// name, and nothing is ever half written.
#include "sys/file_calls.h"

#include <cerrno>

namespace sys {
namespace {
FileHandle none()
{
    errno = ENOSYS;
    return kNoFile;
}
} // namespace

FileHandle FileCalls::openThrough(const std::string&, bool) { return none(); }
FileHandle FileCalls::createNew(const std::string&, const std::string&) { return none(); }
FileHandle FileCalls::openRead(const std::string&) { return none(); }
FileHandle FileCalls::openTruncated(const std::string&) { return none(); }
long long FileCalls::read(FileHandle, void*, std::size_t) { return none(); }
long long FileCalls::write(FileHandle, const void*, std::size_t) { return none(); }
bool FileCalls::flush(FileHandle) { return none() != kNoFile; }
bool FileCalls::keep(FileHandle, const std::string&) { return none() != kNoFile; }
bool FileCalls::close(FileHandle) { return true; }
bool FileCalls::replace(const std::string&, const std::string&) { return none() != kNoFile; }
bool FileCalls::remove(const std::string&) { return none() != kNoFile; }

WriteTarget writeTarget(const std::string& path)
{
    return WriteTarget{true, path};
}

FileHandle standardOutput()
{
    return kNoFile;
}

bool isUnicodeConsole(FileHandle)
{
    return false;
}

bool writeConsole(FileHandle, std::string_view, TextEncoding)
{
    return false;
}

} // namespace sys
