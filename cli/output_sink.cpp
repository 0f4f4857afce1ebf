#include "cli/output_sink.h"

#include "core/qt/qgbk.h"

#include <QSaveFile>

#include <cerrno>
#include <cstring>
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
}

OutputSink::~OutputSink() = default; // an uncommitted QSaveFile is discarded

bool OutputSink::open()
{
    if (path_.isEmpty())
        return true;
    file_ = std::make_unique<QSaveFile>(path_);
    if (!file_->open(QIODevice::WriteOnly)) {
        error_ = file_->errorString();
        failed_ = true;
        return false;
    }
    return true;
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
    std::size_t done = 0;
    if (file_) {
        if (file_->write(buf_.data(), qint64(buf_.size())) != qint64(buf_.size())) {
            error_ = file_->errorString();
            failed_ = true;
        }
        done = buf_.size();
    } else {
        while (done < buf_.size()) {
            const ssize_t n = ::write(STDOUT_FILENO, buf_.data() + done, buf_.size() - done);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                pipeClosed_ = errno == EPIPE;
                error_ = QString::fromLocal8Bit(std::strerror(errno));
                failed_ = true;
                break;
            }
            done += std::size_t(n);
        }
    }
    buf_.clear();
    return !failed_;
}

bool OutputSink::finish()
{
    if (!flush())
        return false;
    if (file_ && !file_->commit()) {
        error_ = file_->errorString();
        failed_ = true;
        return false;
    }
    return true;
}
