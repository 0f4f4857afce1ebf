// Whole-or-nothing writes and copies over the system's file calls.
#include "sys/file_writer.h"
#include "sys/files.h"
#include "sys/gbk.h"

namespace sys {
namespace {
FileResult failed(FileStep step, const std::string& path, SysError error)
{
    return FileResult{step, path, errorText(error), error};
}

FileResult notGbk(const std::string& source)
{
    return FileResult{FileStep::SourceNotGbk, source, {}, 0};
}

// Reads the source and closes it when done.
class Source {
public:
    explicit Source(const std::string& path) : file_(FileCalls::current().openRead(path)) {}
    ~Source()
    {
        if (file_ != kNoFile)
            FileCalls::current().close(file_);
    }
    Source(const Source&) = delete;
    Source& operator=(const Source&) = delete;
    bool isOpen() const { return file_ != kNoFile; }
    // Fills buf with up to its size; the count read, 0 at the end, -1 on failure.
    long long read(std::string& buf) { return FileCalls::current().read(file_, buf.data(), buf.size()); }

private:
    FileHandle file_;
};

// The length of the longest prefix of text that ends on a whole GBK
// character: a lead byte at the very end waits for the next piece.
std::size_t wholeCharacters(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size()) {
        const auto b = static_cast<unsigned char>(text[i]);
        if (i + 1 == text.size() && b >= 0x81 && b != 0xFF)
            break;
        i += gbk::charLen(text, i);
    }
    return i;
}
} // namespace

FileResult writeWhole(const std::string& path, std::string_view bytes)
{
    FileWriter file;
    if (!file.open(path, false))
        return failed(FileStep::Create, path, file.error());
    if (!file.write(bytes))
        return failed(FileStep::Write, path, file.error());
    if (!file.commit())
        return failed(FileStep::Commit, path, file.error());
    return {};
}

FileResult copyWhole(const std::string& source, const std::string& target, const PieceConverter& convert,
                     std::size_t pieceSize)
{
    Source in(source);
    if (!in.isOpen())
        return failed(FileStep::OpenSource, source, lastError());
    FileWriter file;
    if (!file.open(target, false))
        return failed(FileStep::Create, target, file.error());
    std::string piece(pieceSize == 0 ? 1 : pieceSize, '\0');
    std::string converted;
    for (;;) {
        const long long got = in.read(piece);
        if (got < 0)
            return failed(FileStep::ReadSource, source, lastError()); // file discards the partial copy
        std::string_view bytes(piece.data(), std::size_t(got));
        if (convert) {
            converted.clear();
            if (!convert(bytes, converted))
                return notGbk(source);
            bytes = converted;
        }
        if (!file.write(bytes))
            return failed(FileStep::Write, target, file.error());
        if (got == 0)
            break;
    }
    if (!file.commit())
        return failed(FileStep::Commit, target, file.error());
    return {};
}

FileResult copyConverted(const std::string& source, const std::string& target, TextEncoding encoding)
{
    if (encoding == TextEncoding::Gbk)
        return copyWhole(source, target, nullptr);
    // A Chinese character cut at the end of one piece is completed by the
    // next; a lead byte left at the very end is not GBK text.
    std::string carry;
    const PieceConverter toUtf8 = [&carry](std::string_view piece, std::string& out) {
        if (piece.empty())
            return carry.empty();
        carry.append(piece);
        const std::size_t whole = wholeCharacters(carry);
        bool ok = true;
        out = gbk::toUtf8(std::string_view(carry).substr(0, whole), &ok);
        carry.erase(0, whole);
        return ok;
    };
    return copyWhole(source, target, toUtf8);
}

} // namespace sys
