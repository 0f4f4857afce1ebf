#pragma once
// A file being written, in one of two ways chosen by what the path names:
// - a regular file or a new path is written whole or not at all: the bytes go
//   to a temporary file beside it, which takes its place only once every
//   byte has been written, flushed to disk and closed;
// - anything else (a device, a FIFO, a pipe, a terminal, one of the
//   program's own descriptors such as /dev/stdout) is written straight
//   through and is never replaced.
// Every system call's result is checked; the first failure is kept (errno)
// and leaves the target as it was, the temporary file removed.
#include <string>
#include <string_view>

class FileWriter {
public:
    FileWriter() = default;
    ~FileWriter(); // a file not committed is discarded
    FileWriter(const FileWriter&) = delete;
    FileWriter& operator=(const FileWriter&) = delete;

    // Opens path (file-system bytes). A FIFO without a reader is waited for
    // when waitForReader, otherwise refused at once (ENXIO), so that a window
    // never hangs on it.
    bool open(const std::string& path, bool waitForReader);
    // Writes straight through to a descriptor already open (standard
    // output); it is never closed and stays attached after commit().
    void attach(int fd);
    bool write(std::string_view bytes);
    // Whole: flushes, closes and puts the file in place. Straight through:
    // closes what open() opened. False on failure.
    bool commit();
    // Drops the file: the temporary is removed, the target left alone.
    void discard();

    // True when the target is replaced whole (not written straight through).
    bool whole() const { return whole_; }
    // errno of the first failure; 0 when none.
    int error() const { return error_; }

private:
    bool fail(int err);
    bool openWhole(const std::string& path);

    int fd_ = -1;
    bool ownsFd_ = false;
    bool whole_ = false;
    std::string target_; // whole: replaced by temp_ at commit
    std::string temp_;
    int error_ = 0;
};

// The system's text for an errno value ("No space left on device"), in the
// locale's language and encoding.
std::string systemErrorText(int err);
