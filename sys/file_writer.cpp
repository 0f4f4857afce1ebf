#include "sys/file_writer.h"

#include <atomic>
#include <chrono>
#include <random>

namespace sys {
namespace {
// A name beside target that no file has yet is found by trying a few.
std::string tempName(const std::string& target, int attempt)
{
    static std::atomic<unsigned> counter{0};
    static const unsigned long long processMix = std::random_device{}();
    const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
    unsigned long long mix = (unsigned long long)now * 0x9E3779B97F4A7C15ull ^ processMix << 20
                             ^ counter.fetch_add(1) ^ unsigned(attempt);
    static constexpr char kDigits[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::string name = target + '.';
    for (int i = 0; i < 6; ++i, mix /= 36)
        name += kDigits[mix % 36];
    return name;
}
} // namespace

FileWriter::~FileWriter()
{
    discard();
}

bool FileWriter::fail(SysError error)
{
    if (!failed_) {
        failed_ = true;
        error_ = error != 0 ? error : ioError();
    }
    discard();
    return false;
}

void FileWriter::attachStandardOutput(TextEncoding encoding)
{
    discard();
    file_ = standardOutput();
    console_ = isUnicodeConsole(file_);
    encoding_ = encoding;
    ownsFile_ = false;
    whole_ = false;
    failed_ = false;
    error_ = 0;
}

bool FileWriter::open(const std::string& path, bool waitForReader, TextEncoding encoding)
{
    discard();
    failed_ = false;
    error_ = 0;
    whole_ = false;
    console_ = false;
    const WriteTarget target = writeTarget(path);
    if (target.whole)
        return openWhole(target.replaced);
    file_ = FileCalls::current().openThrough(path, waitForReader);
    if (file_ == kNoFile)
        return fail(lastError());
    ownsFile_ = true;
    console_ = isUnicodeConsole(file_);
    encoding_ = encoding;
    return true;
}

bool FileWriter::openWhole(const std::string& path)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string temp = tempName(path, attempt);
        const FileHandle file = FileCalls::current().createNew(temp, path);
        if (file == kNoFile) {
            const SysError error = lastError();
            if (alreadyExists(error))
                continue;
            return fail(error);
        }
        file_ = file;
        ownsFile_ = true;
        whole_ = true;
        target_ = path;
        temp_ = std::move(temp);
        return true;
    }
    return fail(ioError());
}

bool FileWriter::write(std::string_view bytes)
{
    if (failed_)
        return false;
    if (file_ == kNoFile)
        return fail(ioError());
    if (console_)
        return writeConsole(file_, bytes, encoding_) || fail(lastError());
    while (!bytes.empty()) {
        const long long n = FileCalls::current().write(file_, bytes.data(), bytes.size());
        if (n <= 0)
            return fail(n < 0 ? lastError() : ioError());
        bytes.remove_prefix(std::size_t(n));
    }
    return true;
}

bool FileWriter::commit()
{
    if (failed_)
        return false;
    if (file_ == kNoFile)
        return fail(ioError());
    if (!whole_ && !ownsFile_)
        return true; // standard output stays for more writes
    FileCalls& calls = FileCalls::current();
    if (whole_ && !(calls.flush(file_) && calls.keep(file_, temp_)))
        return fail(lastError());
    const FileHandle file = file_;
    file_ = kNoFile;
    if (!calls.close(file))
        return fail(lastError());
    if (whole_) {
        if (!calls.replace(temp_, target_))
            return fail(lastError());
        temp_.clear();
    }
    return true;
}

void FileWriter::discard()
{
    // Already failed or dropped: the system's own failures here change nothing.
    const SysError kept = lastError();
    if (file_ != kNoFile && ownsFile_)
        FileCalls::current().close(file_);
    file_ = kNoFile;
    ownsFile_ = false;
    if (!temp_.empty())
        FileCalls::current().remove(temp_);
    temp_.clear();
    setLastError(kept);
}

} // namespace sys
