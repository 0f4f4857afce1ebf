#pragma once
// The system calls every file write goes through. The real ones unless a
// test has installed others (to make a write, a flush or a rename fail on
// purpose). Each returns what the system call returns and sets errno.
#include <cstddef>
#include <sys/types.h>

class FileCalls {
public:
    virtual ~FileCalls() = default;
    virtual int open(const char* path, int flags, mode_t mode);
    virtual ssize_t read(int fd, void* data, std::size_t size);
    virtual ssize_t write(int fd, const void* data, std::size_t size);
    virtual int fsync(int fd);
    virtual int close(int fd);
    virtual int rename(const char* from, const char* to);

    static FileCalls& current();
    // Installs calls (null: the real ones again); returns the previous ones.
    static FileCalls* install(FileCalls* calls);
};
