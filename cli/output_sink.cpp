#include "cli/output_sink.h"

#include "core/gbk.h"

#include <QSaveFile>

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace {
constexpr std::size_t kFlushAt = 1 << 16;

bool isAscii(std::string_view s)
{
    for (unsigned char c : s)
        if (c >= 0x80)
            return false;
    return true;
}

void appendConverted(std::string& out, std::string_view gbkText, Encoding encoding)
{
    if (encoding == Encoding::Gbk || isAscii(gbkText))
        out.append(gbkText);
    else
        out.append(gbk::decode(gbkText).toStdString());
}
} // namespace

OutputSink::OutputSink(const QString& outPath, Encoding encoding, LineEnd eol)
    : path_(outPath), encoding_(encoding), eol_(eol)
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

bool OutputSink::row(std::string_view gbkRow)
{
    if (failed_)
        return false;
    appendConverted(buf_, gbkRow, encoding_);
    buf_.append(eol_ == LineEnd::CrLf ? "\r\n" : "\n");
    return buf_.size() < kFlushAt || flush();
}

bool OutputSink::flush()
{
    if (failed_)
        return false;
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

std::string OutputSink::convert(std::string_view gbkRows, Encoding encoding, LineEnd eol)
{
    std::string out;
    out.reserve(gbkRows.size());
    std::size_t start = 0;
    while (start < gbkRows.size()) {
        std::size_t end = gbkRows.find("\r\n", start);
        const bool last = end == std::string_view::npos;
        if (last)
            end = gbkRows.size();
        appendConverted(out, gbkRows.substr(start, end - start), encoding);
        if (last)
            break;
        out.append(eol == LineEnd::CrLf ? "\r\n" : "\n");
        start = end + 2;
    }
    return out;
}
