#pragma once
// File calls that make one step fail with a chosen errno (everything else is
// real), installed for the object's lifetime.
#include "platform/files/file_calls.h"

#include <cerrno>
#include <cstddef>

class FailingFileCalls : public FileCalls {
public:
    enum class At {
        Open,       // every open
        Write,      // the first write
        LaterWrite, // a write after 10 bytes went through
        Fsync,
        Close,      // the descriptor is closed, but the call reports a failure
        Rename,
        Read,
    };

    FailingFileCalls(At at, int error) : at_(at), error_(error), previous_(FileCalls::install(this)) {}
    ~FailingFileCalls() override { FileCalls::install(previous_); }
    FailingFileCalls(const FailingFileCalls&) = delete;
    FailingFileCalls& operator=(const FailingFileCalls&) = delete;

    int open(const char* path, int flags, mode_t mode) override
    {
        return at_ == At::Open ? fail() : FileCalls::open(path, flags, mode);
    }
    ssize_t read(int fd, void* data, std::size_t size) override
    {
        return at_ == At::Read ? fail() : FileCalls::read(fd, data, size);
    }
    ssize_t write(int fd, const void* data, std::size_t size) override
    {
        if (at_ == At::Write)
            return fail();
        if (at_ == At::LaterWrite) {
            if (written_ >= 10)
                return fail();
            const std::size_t part = size < 10 - written_ ? size : 10 - written_;
            const ssize_t n = FileCalls::write(fd, data, part);
            written_ += n > 0 ? std::size_t(n) : 0;
            return n;
        }
        return FileCalls::write(fd, data, size);
    }
    int fsync(int fd) override { return at_ == At::Fsync ? fail() : FileCalls::fsync(fd); }
    int close(int fd) override
    {
        const int rc = FileCalls::close(fd);
        return at_ == At::Close ? fail() : rc;
    }
    int rename(const char* from, const char* to) override
    {
        return at_ == At::Rename ? fail() : FileCalls::rename(from, to);
    }

private:
    int fail() const
    {
        errno = error_;
        return -1;
    }

    At at_;
    int error_;
    std::size_t written_ = 0;
    FileCalls* previous_;
};
