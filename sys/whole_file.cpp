#include "platform/files/whole_file.h"

#include "platform/files/file_calls.h"
#include "platform/files/file_writer.h"

#include <cerrno>
#include <fcntl.h>

namespace {
using Step = FileFailure::Step;

FileFailure failed(Step step, int error)
{
    return {step, error};
}

// Reads the source and closes it when done.
class Source {
public:
    explicit Source(const std::string& path) : fd_(FileCalls::current().open(path.c_str(), O_RDONLY | O_CLOEXEC, 0)) {}
    ~Source()
    {
        if (fd_ >= 0)
            FileCalls::current().close(fd_);
    }
    Source(const Source&) = delete;
    Source& operator=(const Source&) = delete;
    bool isOpen() const { return fd_ >= 0; }
    // Fills buf with up to its size; the count read, 0 at the end, -1 on failure.
    long long read(std::string& buf)
    {
        for (;;) {
            const ssize_t n = FileCalls::current().read(fd_, buf.data(), buf.size());
            if (n >= 0 || errno != EINTR)
                return n;
        }
    }

private:
    int fd_;
};
} // namespace

FileFailure writeWholeFile(const std::string& path, std::string_view bytes)
{
    FileWriter file;
    if (!file.open(path, false))
        return failed(Step::Create, file.error());
    if (!file.write(bytes))
        return failed(Step::Write, file.error());
    if (!file.commit())
        return failed(Step::Save, file.error());
    return {};
}

FileFailure copyWholeFile(const std::string& source, const std::string& path, const PieceConverter& convert,
                          std::size_t pieceSize)
{
    Source in(source);
    if (!in.isOpen())
        return failed(Step::OpenSource, errno);
    FileWriter file;
    if (!file.open(path, false))
        return failed(Step::Create, file.error());
    std::string piece(pieceSize == 0 ? 1 : pieceSize, '\0');
    std::string converted;
    for (;;) {
        const long long got = in.read(piece);
        if (got < 0)
            return failed(Step::ReadSource, errno); // file discards the partial copy
        std::string_view bytes(piece.data(), std::size_t(got));
        if (convert) {
            converted.clear();
            if (!convert(bytes, converted))
                return failed(Step::Convert, 0);
            bytes = converted;
        }
        if (!file.write(bytes))
            return failed(Step::Write, file.error());
        if (got == 0)
            break;
    }
    if (!file.commit())
        return failed(Step::Save, file.error());
    return {};
}
