#pragma once
// Where kelvane-cli writes its rows: standard output or a file, in GBK or
// UTF-8, with CR LF or LF line ends. Rows arrive as GBK bytes without their
// line end. A regular file (or a new path) is written whole or not at all:
// it changes only when every row has been written; a device, a FIFO, a pipe
// or /dev/stdout (NUL, CON on Windows) is written straight through. Writes
// are buffered.
#include "sys/file_writer.h"

#include <cstdio>
#include <string>
#include <string_view>

enum class Encoding { Gbk, Utf8 };
enum class LineEnd { CrLf, Lf };

class OutputSink {
public:
    // outPath (UTF-8) empty: standard output.
    OutputSink(const std::string& outPath, Encoding encoding, LineEnd eol);
    ~OutputSink();
    OutputSink(const OutputSink&) = delete;
    OutputSink& operator=(const OutputSink&) = delete;

    // False when the target could not be opened; error() tells why (the
    // system's reason).
    bool open();
    // Appends one row and its line end. False once a write has failed.
    bool row(std::string_view gbkRow)
    {
        buf_.append(gbkRow);
        buf_.append(eol_);
        return buf_.size() < kFlushAt || flush();
    }
    const std::string& lineEnd() const { return eol_; }
    // Writes bytes already in the output's encoding, with whole rows and
    // line ends, straight after what came before. False once a write has
    // failed.
    bool writeEncoded(std::string_view bytes);
    Encoding encoding() const { return encoding_; }
    // Flushes and, for a file, puts it in place. False on failure: a file
    // then keeps what it held before.
    bool finish();
    // The reader of standard output went away (e.g. `| head -n 1`).
    bool pipeClosed() const { return pipeClosed_; }
    // The system's reason (UTF-8).
    const std::string& error() const { return error_; }
    // The --out path; empty for standard output.
    const std::string& path() const { return path_; }
    // True when the output is replaced whole (nothing of it shows before
    // finish()); false for standard output and what is written through.
    bool isFile() const { return file_.whole(); }

private:
    static constexpr std::size_t kFlushAt = 1 << 16;
    bool flush();
    void fail();
    sys::TextEncoding textEncoding() const
    {
        return encoding_ == Encoding::Gbk ? sys::TextEncoding::Gbk : sys::TextEncoding::Utf8;
    }

    std::string path_;
    Encoding encoding_;
    std::string eol_;
    std::string buf_;
    sys::FileWriter file_;
    bool failed_ = false;
    bool pipeClosed_ = false;
    std::string error_;
};
