#include "platform/files/file_calls.h"

#include "platform/service_slot.h"

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {
FileCalls& realCalls()
{
    static FileCalls real;
    return real;
}

ServiceSlot<FileCalls>& slot()
{
    static ServiceSlot<FileCalls> s(&realCalls);
    return s;
}
} // namespace

int FileCalls::open(const char* path, int flags, mode_t mode)
{
    return ::open(path, flags, mode);
}

ssize_t FileCalls::read(int fd, void* data, std::size_t size)
{
    return ::read(fd, data, size);
}

ssize_t FileCalls::write(int fd, const void* data, std::size_t size)
{
    return ::write(fd, data, size);
}

int FileCalls::fsync(int fd)
{
    return ::fsync(fd);
}

int FileCalls::close(int fd)
{
    return ::close(fd);
}

int FileCalls::rename(const char* from, const char* to)
{
    return std::rename(from, to);
}

FileCalls& FileCalls::current()
{
    return slot().current();
}

FileCalls* FileCalls::install(FileCalls* calls)
{
    return slot().install(calls);
}
