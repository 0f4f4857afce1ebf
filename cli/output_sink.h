#pragma once
// Where kelvane-cli writes its rows: standard output or a file, in GBK or
// UTF-8, with CR LF or LF line ends. Rows arrive as GBK bytes without their
// line end. A file is written whole or not at all: it appears only when
// every row has been written (QSaveFile). Writes are buffered.
#include <QString>

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

class QSaveFile;

enum class Encoding { Gbk, Utf8 };
enum class LineEnd { CrLf, Lf };

class OutputSink {
public:
    // outPath empty: standard output.
    OutputSink(const QString& outPath, Encoding encoding, LineEnd eol);
    ~OutputSink();
    OutputSink(const OutputSink&) = delete;
    OutputSink& operator=(const OutputSink&) = delete;

    // False when the target could not be opened; error() tells why.
    bool open();
    // Appends one row and its line end. False once a write has failed.
    bool row(std::string_view gbkRow)
    {
        buf_.append(gbkRow);
        buf_.append(eol_);
        return buf_.size() < kFlushAt || flush();
    }
    // For makers that append straight into the buffer: GBK rows, each
    // followed by lineEnd(); then call written().
    std::string& buffer() { return buf_; }
    const std::string& lineEnd() const { return eol_; }
    bool written() { return buf_.size() < kFlushAt || flush(); }
    // Flushes and, for a file, commits it. False on failure.
    bool finish();
    // The reader of standard output went away (e.g. `| head -n 1`).
    bool pipeClosed() const { return pipeClosed_; }
    const QString& error() const { return error_; }
    bool isFile() const { return !path_.isEmpty(); }


private:
    static constexpr std::size_t kFlushAt = 1 << 16;
    bool flush();

    QString path_;
    Encoding encoding_;
    std::string eol_;
    std::string buf_;
    std::unique_ptr<QSaveFile> file_;
    bool failed_ = false;
    bool pipeClosed_ = false;
    QString error_;
};
