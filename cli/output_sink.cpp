#include "cli/output_sink.h"

#include "core/gbk.h"
#include "sys/text.h"

OutputSink::OutputSink(const std::string& outPath, Encoding encoding, LineEnd eol)
    : path_(outPath), encoding_(encoding), eol_(eol == LineEnd::CrLf ? "\r\n" : "\n")
{
    buf_.reserve(kFlushAt + 4096);
    if (path_.empty())
        file_.attachStandardOutput(textEncoding());
}

OutputSink::~OutputSink() = default; // a file not finished is discarded

bool OutputSink::open()
{
    if (path_.empty())
        return true;
    if (file_.open(path_, true, textEncoding()))
        return true;
    error_ = sys::errorText(file_.error());
    failed_ = true;
    return false;
}

bool OutputSink::flush()
{
    if (failed_)
        return false;
    // The buffer holds whole rows, so a chunk converts on its own.
    std::string converted;
    if (encoding_ == Encoding::Utf8 && !sys::isAscii(buf_)) {
        converted = gbk::toUtf8(buf_);
        buf_.swap(converted);
    }
    if (!file_.write(buf_))
        fail();
    buf_.clear();
    return !failed_;
}

bool OutputSink::writeEncoded(std::string_view bytes)
{
    if (!buf_.empty() && !flush())
        return false;
    if (failed_)
        return false;
    if (!file_.write(bytes))
        fail();
    return !failed_;
}

void OutputSink::fail()
{
    pipeClosed_ = sys::pipeClosed(file_.error());
    error_ = sys::errorText(file_.error());
    failed_ = true;
}

bool OutputSink::finish()
{
    if (!flush())
        return false;
    if (!file_.commit()) {
        fail();
        return false;
    }
    return true;
}
