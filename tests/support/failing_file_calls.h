#pragma once
// File calls that make one step fail with a chosen errno (everything else is
// real), installed for the object's lifetime.
#include "sys/file_calls.h"

#include <cstddef>

class FailingFileCalls : public sys::FileCalls {
public:
    enum class At {
        Open,       // every open
        Write,      // the first write
        LaterWrite, // a write after 10 bytes went through
        Fsync,
        Close,      // the file is closed, but the call reports a failure
        Rename,
        Read,
    };
    using Handle = sys::FileHandle;

    FailingFileCalls(At at, int error) : at_(at), error_(error), previous_(FileCalls::install(this)) {}
    ~FailingFileCalls() override { FileCalls::install(previous_); }
    FailingFileCalls(const FailingFileCalls&) = delete;
    FailingFileCalls& operator=(const FailingFileCalls&) = delete;

    Handle openThrough(const std::string& path, bool wait) override
    {
        return at_ == At::Open ? failOpen() : FileCalls::openThrough(path, wait);
    }
    Handle createNew(const std::string& path, const std::string& like) override
    {
        return at_ == At::Open ? failOpen() : FileCalls::createNew(path, like);
    }
    Handle openRead(const std::string& path) override
    {
        return at_ == At::Open ? failOpen() : FileCalls::openRead(path);
    }
    Handle openTruncated(const std::string& path) override
    {
        return at_ == At::Open ? failOpen() : FileCalls::openTruncated(path);
    }
    long long read(Handle file, void* data, std::size_t size) override
    {
        return at_ == At::Read ? fail() : FileCalls::read(file, data, size);
    }
    long long write(Handle file, const void* data, std::size_t size) override
    {
        if (at_ == At::Write)
            return fail();
        if (at_ == At::LaterWrite) {
            if (written_ >= 10)
                return fail();
            const std::size_t part = size < 10 - written_ ? size : 10 - written_;
            const long long n = FileCalls::write(file, data, part);
            written_ += n > 0 ? std::size_t(n) : 0;
            return n;
        }
        return FileCalls::write(file, data, size);
    }
    bool flush(Handle file) override { return at_ == At::Fsync ? fail() == 0 : FileCalls::flush(file); }
    bool close(Handle file) override
    {
        const bool ok = FileCalls::close(file);
        return at_ == At::Close ? fail() == 0 : ok;
    }
    bool replace(const std::string& from, const std::string& to) override
    {
        return at_ == At::Rename ? fail() == 0 : FileCalls::replace(from, to);
    }

private:
    int fail() const
    {
        sys::setLastError(error_);
        return -1;
    }
    Handle failOpen() const
    {
        fail();
        return sys::kNoFile;
    }

    At at_;
    int error_;
    std::size_t written_ = 0;
    FileCalls* previous_;
};
