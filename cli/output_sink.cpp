#include "cli/output_sink.h"

#include "core/qt/qgbk.h"

#include <QFile>

#include <cerrno>
#include <unistd.h>

namespace {
bool isAscii(std::string_view s)
{
    for (unsigned char c : s)
        if (c >= 0x80)
            return false;
    return true;
}
} // namespace

OutputSink::OutputSink(const QString& outPath, Encoding encoding, LineEnd eol)
    : path_(outPath), encoding_(encoding), eol_(eol == LineEnd::CrLf ? "\r\n" : "\n")
{
    buf_.reserve(kFlushAt + 4096);
    if (path_.isEmpty())
        file_.attach(STDOUT_FILENO);
}

OutputSink::~OutputSink() = default; // a file not finished is discarded

bool OutputSink::open()
{
    if (path_.isEmpty())
        return true;
    if (file_.open(QFile::encodeName(path_).toStdString(), true))
        return true;
    error_ = QString::fromLocal8Bit(systemErrorText(file_.error()));
    failed_ = true;
    return false;
}

bool OutputSink::flush()
{
    if (failed_)
        return false;
    // The buffer holds whole rows, so a chunk converts on its own.
    std::string converted;
    if (encoding_ == Encoding::Utf8 && !isAscii(buf_)) {
        converted = gbk::decode(buf_).toStdString();
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
    pipeClosed_ = file_.error() == EPIPE;
    error_ = QString::fromLocal8Bit(systemErrorText(file_.error()));
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
