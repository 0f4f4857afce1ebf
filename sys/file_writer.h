#pragma once
// A file being written, in one of two ways chosen by what the path names:
// - a regular file or a new path is written whole or not at all: the bytes go
//   to a temporary file beside it, which takes its place only once every
//   byte has been written, flushed to disk and closed;
// - anything else (a device such as /dev/null or NUL, a FIFO, a pipe, a
//   terminal or console, one of the program's own descriptors such as
//   /dev/stdout) is written straight through and is never replaced.
// Every system call's result is checked; the first failure is kept and
// leaves the target as it was, the temporary file removed. The steps are
// the same on every system; the calls are sys::FileCalls.
#include "sys/file_calls.h"

#include <string>
#include <string_view>

namespace sys {

class FileWriter {
public:
    FileWriter() = default;
    ~FileWriter(); // a file not committed is discarded
    FileWriter(const FileWriter&) = delete;
    FileWriter& operator=(const FileWriter&) = delete;

    // Opens path (UTF-8). A FIFO without a reader is waited for when
    // waitForReader, otherwise refused at once, so that a window never
    // hangs on it. A Windows console (CON) gets the text, in encoding, as
    // Unicode.
    bool open(const std::string& path, bool waitForReader, TextEncoding encoding = TextEncoding::Utf8);
    // Writes straight through to the program's standard output; it is never
    // closed and stays attached after commit(). A Windows console gets the
    // text (in encoding) as Unicode, anything else the bytes as they are.
    void attachStandardOutput(TextEncoding encoding);
    bool write(std::string_view bytes);
    // Whole: flushes, closes and puts the file in place. Straight through:
    // closes what open() opened. False on failure.
    bool commit();
    // Drops the file: the temporary is removed, the target left alone.
    void discard();

    // True when the target is replaced whole (not written straight through).
    bool whole() const { return whole_; }
    bool failed() const { return failed_; }
    // The system's code of the first failure.
    SysError error() const { return error_; }

private:
    bool fail(SysError error);
    bool openWhole(const std::string& path);

    FileHandle file_ = kNoFile;
    bool ownsFile_ = false;
    bool console_ = false; // standard output is a console: text as Unicode
    TextEncoding encoding_ = TextEncoding::Utf8;
    bool whole_ = false;
    std::string target_; // whole: replaced by temp_ at commit
    std::string temp_;
    bool failed_ = false;
    SysError error_ = 0;
};

} // namespace sys
