#include "platform/files/file_writer.h"

#include "platform/files/file_calls.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <pthread.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
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
        if (raised_) {
            const timespec now{};
            ::sigtimedwait(&pipe_, nullptr, &now);
        }
        ::pthread_sigmask(SIG_SETMASK, &before_, nullptr);
    }
    PipeSignalHeld(const PipeSignalHeld&) = delete;
    PipeSignalHeld& operator=(const PipeSignalHeld&) = delete;
    void raised() { raised_ = true; }

private:
    sigset_t pipe_;
    sigset_t before_;
    bool raised_ = false;
};

// A name beside target that no file has yet is found by trying a few.
std::string tempName(const std::string& target, int attempt)
{
    static std::atomic<unsigned> counter{0};
    const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
    unsigned long long mix = (unsigned long long)now * 0x9E3779B97F4A7C15ull ^ (unsigned long long)::getpid() << 20
                             ^ counter.fetch_add(1) ^ unsigned(attempt);
    static constexpr char kDigits[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::string name = target + '.';
    for (int i = 0; i < 6; ++i, mix /= 36)
        name += kDigits[mix % 36];
    return name;
}
} // namespace

FileWriter::~FileWriter()
{
    discard();
}

bool FileWriter::fail(int err)
{
    if (error_ == 0)
        error_ = err != 0 ? err : EIO;
    discard();
    return false;
}

void FileWriter::attach(int fd)
{
    discard();
    fd_ = fd;
    ownsFd_ = false;
    whole_ = false;
    error_ = 0;
}

bool FileWriter::open(const std::string& path, bool waitForReader)
{
    discard();
    error_ = 0;
    whole_ = false;
    if (const int alias = descriptorAlias(path); alias >= 0) {
        fd_ = ::fcntl(alias, F_DUPFD_CLOEXEC, 3);
        ownsFd_ = fd_ >= 0;
        return fd_ >= 0 || fail(errno);
    }
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || S_ISREG(st.st_mode))
        return openWhole(path);

    const int fd = FileCalls::current().open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC | (waitForReader ? 0 : O_NONBLOCK), 0);
    if (fd < 0)
        return fail(errno);
    fd_ = fd;
    ownsFd_ = true;
    if (!waitForReader) {
        // Non-blocking only to open; the writes wait for the reader.
        const int flags = ::fcntl(fd, F_GETFL);
        if (flags == -1 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == -1)
            return fail(errno);
    }
    return true;
}

bool FileWriter::openWhole(const std::string& path)
{
    // An existing file keeps its permissions; a link is followed, so the
    // file it points to is replaced, not the link.
    struct stat st {};
    const bool exists = ::stat(path.c_str(), &st) == 0;
    target_ = path;
    if (exists) {
        if (char* real = ::realpath(path.c_str(), nullptr)) {
            target_ = real;
            std::free(real);
        }
    }
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string temp = tempName(target_, attempt);
        const int fd = FileCalls::current().open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno == EEXIST)
            continue;
        if (fd < 0)
            return fail(errno);
        fd_ = fd;
        ownsFd_ = true;
        whole_ = true;
        temp_ = std::move(temp);
        if (exists && ::fchmod(fd, st.st_mode & 07777) != 0)
            return fail(errno);
        return true;
    }
    return fail(EEXIST);
}

bool FileWriter::write(std::string_view bytes)
{
    if (error_ != 0)
        return false;
    if (fd_ < 0)
        return fail(EBADF);
    PipeSignalHeld held;
    while (!bytes.empty()) {
        const ssize_t n = FileCalls::current().write(fd_, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno == EPIPE)
            held.raised();
        if (n <= 0)
            return fail(n < 0 ? errno : EIO);
        bytes.remove_prefix(std::size_t(n));
    }
    return true;
}

bool FileWriter::commit()
{
    if (error_ != 0)
        return false;
    if (fd_ < 0)
        return fail(EBADF);
    if (!whole_ && !ownsFd_)
        return true; // an attached descriptor stays for more writes
    FileCalls& calls = FileCalls::current();
    if (whole_ && calls.fsync(fd_) != 0)
        return fail(errno);
    if (ownsFd_) {
        const int fd = fd_;
        fd_ = -1;
        if (calls.close(fd) != 0)
            return fail(errno);
    }
    fd_ = -1;
    if (whole_) {
        if (calls.rename(temp_.c_str(), target_.c_str()) != 0)
            return fail(errno);
        temp_.clear();
    }
    return true;
}

void FileWriter::discard()
{
    if (fd_ >= 0 && ownsFd_)
        FileCalls::current().close(fd_); // already failed or dropped: only the descriptor is freed
    fd_ = -1;
    ownsFd_ = false;
    if (!temp_.empty())
        ::unlink(temp_.c_str());
    temp_.clear();
}

std::string systemErrorText(int err)
{
    char buf[256];
    // GNU strerror_r returns the text, which may or may not be in buf.
    return ::strerror_r(err, buf, sizeof buf);
}
