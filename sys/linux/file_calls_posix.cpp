// The file calls on Linux: POSIX descriptors, errno, strerror_r.
#include "sys/file_calls.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <pthread.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

namespace sys {
namespace {
int fd(FileHandle file)
{
    return int(file);
}

FileHandle handle(int fd)
{
    return fd < 0 ? kNoFile : FileHandle(fd);
}

// The descriptor number in "/dev/fd/N" or "/proc/self/fd/N" (also
// /proc/thread-self and /proc/<own pid>).
std::optional<int> descriptorNumber(std::string_view path)
{
    const std::string ownProc = "/proc/" + std::to_string(::getpid()) + "/fd/";
    for (std::string_view prefix : {std::string_view("/dev/fd/"), std::string_view("/proc/self/fd/"),
                                    std::string_view("/proc/thread-self/fd/"), std::string_view(ownProc)}) {
        if (!path.starts_with(prefix))
            continue;
        const std::string_view digits = path.substr(prefix.size());
        if (digits.empty() || digits.size() > 9)
            return std::nullopt;
        int n = 0;
        for (char c : digits) {
            if (c < '0' || c > '9')
                return std::nullopt;
            n = n * 10 + (c - '0');
        }
        return n;
    }
    return std::nullopt;
}

// The open descriptor path stands for, following symbolic links
// (/dev/stdout -> /proc/self/fd/1); -1 when it names none. Opening such a
// path would open the file anew, at its start and without the append mode
// the shell gave it; the descriptor itself writes where the shell meant.
int descriptorAlias(std::string path)
{
    for (int hop = 0; hop < 40; ++hop) {
        if (const auto n = descriptorNumber(path))
            return ::fcntl(*n, F_GETFD) == -1 ? -1 : *n;
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return -1;
        char link[PATH_MAX];
        const ssize_t size = ::readlink(path.c_str(), link, sizeof link);
        if (size <= 0 || std::size_t(size) >= sizeof link)
            return -1;
        std::string next(link, std::size_t(size));
        if (next[0] != '/') {
            const auto slash = path.rfind('/');
            next = (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + next;
        }
        path = std::move(next);
    }
    return -1;
}

// Writing to a pipe whose reader has gone raises SIGPIPE, which would end a
// window program; the write's EPIPE says the same, so the signal is held
// back for the write and dropped when it came.
class PipeSignalHeld {
public:
    PipeSignalHeld()
    {
        sigemptyset(&pipe_);
        sigaddset(&pipe_, SIGPIPE);
        ::pthread_sigmask(SIG_BLOCK, &pipe_, &before_);
    }
    ~PipeSignalHeld()
    {
        const int saved = errno;
        if (raised_) {
            const timespec now{};
            ::sigtimedwait(&pipe_, nullptr, &now);
        }
        ::pthread_sigmask(SIG_SETMASK, &before_, nullptr);
        errno = saved;
    }
    PipeSignalHeld(const PipeSignalHeld&) = delete;
    PipeSignalHeld& operator=(const PipeSignalHeld&) = delete;
    void raised() { raised_ = true; }

private:
    sigset_t pipe_;
    sigset_t before_;
    bool raised_ = false;
};
} // namespace

FileHandle FileCalls::openThrough(const std::string& path, bool waitForReader)
{
    if (const int alias = descriptorAlias(path); alias >= 0)
        return handle(::fcntl(alias, F_DUPFD_CLOEXEC, 3));
    const int f = ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC | (waitForReader ? 0 : O_NONBLOCK));
    if (f < 0 || waitForReader)
        return handle(f);
    // Non-blocking only to open; the writes wait for the reader.
    const int flags = ::fcntl(f, F_GETFL);
    if (flags == -1 || ::fcntl(f, F_SETFL, flags & ~O_NONBLOCK) == -1) {
        const int saved = errno;
        ::close(f);
        errno = saved;
        return kNoFile;
    }
    return handle(f);
}

FileHandle FileCalls::createNew(const std::string& path, const std::string& like)
{
    // A file with no name in path's folder, named by keep(): a program ended
    // by a signal leaves nothing behind. Where the file system (or a missing
    // /proc) does not allow that, the file is named at once.
    int f = -1;
    if (::access("/proc/self/fd", X_OK) == 0) {
        const auto slash = path.rfind('/');
        const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
        f = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    }
    if (f < 0)
        f = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (f < 0)
        return kNoFile;
    // An existing file keeps its permissions.
    struct stat st {};
    if (::stat(like.c_str(), &st) == 0 && ::fchmod(f, st.st_mode & 07777) != 0) {
        const int saved = errno;
        ::close(f);
        ::unlink(path.c_str());
        errno = saved;
        return kNoFile;
    }
    return handle(f);
}

FileHandle FileCalls::openRead(const std::string& path)
{
    return handle(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
}

FileHandle FileCalls::openTruncated(const std::string& path)
{
    return handle(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
}

long long FileCalls::read(FileHandle file, void* data, std::size_t size)
{
    for (;;) {
        const ssize_t n = ::read(fd(file), data, size);
        if (n >= 0 || errno != EINTR)
            return n;
    }
}

long long FileCalls::write(FileHandle file, const void* data, std::size_t size)
{
    PipeSignalHeld held;
    for (;;) {
        const ssize_t n = ::write(fd(file), data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno == EPIPE)
            held.raised();
        return n;
    }
}

bool FileCalls::flush(FileHandle file)
{
    return ::fsync(fd(file)) == 0;
}

bool FileCalls::keep(FileHandle file, const std::string& path)
{
    struct stat st {};
    if (::fstat(fd(file), &st) != 0)
        return false;
    if (st.st_nlink > 0)
        return true; // named when it was made
    const std::string self = "/proc/self/fd/" + std::to_string(fd(file));
    return ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) == 0;
}

bool FileCalls::close(FileHandle file)
{
    return ::close(fd(file)) == 0;
}

bool FileCalls::replace(const std::string& from, const std::string& to)
{
    return std::rename(from.c_str(), to.c_str()) == 0;
}

bool FileCalls::remove(const std::string& path)
{
    return ::unlink(path.c_str()) == 0;
}

WriteTarget writeTarget(const std::string& path)
{
    if (descriptorAlias(path) >= 0)
        return {false, {}};
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return {true, path};
    if (!S_ISREG(st.st_mode))
        return {false, {}};
    // A link is followed, so the file it points to is replaced, not the link.
    WriteTarget target{true, path};
    if (char* real = ::realpath(path.c_str(), nullptr)) {
        target.replaced = real;
        std::free(real);
    }
    return target;
}

FileHandle standardOutput()
{
    return STDOUT_FILENO;
}

bool isUnicodeConsole(FileHandle)
{
    return false;
}

bool writeConsole(FileHandle, std::string_view, TextEncoding)
{
    errno = ENOTTY;
    return false;
}

} // namespace sys
