// The output file and the file services' results, over the system's
// file calls (the real ones unless a test installed others).
#include "sys/files.h"

#include "sys/service_slot.h"

namespace sys {
namespace {
FileCalls& realCalls()
{
    static FileCalls real;
    return real;
}

ServiceSlot<FileCalls>& slot()
{
    static ServiceSlot<FileCalls> s(&realCalls);
    return s;
}

FileResult failed(FileStep step, const std::string& path, SysError error)
{
    return FileResult{step, path, errorText(error), error};
}

bool writeAll(FileHandle file, std::string_view bytes, SysError& error)
{
    while (!bytes.empty()) {
        const long long n = FileCalls::current().write(file, bytes.data(), bytes.size());
        if (n <= 0) {
            error = n < 0 ? lastError() : ioError();
            return false;
        }
        bytes.remove_prefix(std::size_t(n));
    }
    return true;
}
} // namespace

FileCalls& FileCalls::current()
{
    return slot().current();
}

FileCalls* FileCalls::install(FileCalls* calls)
{
    return slot().install(calls);
}

FileResult removeOutput(const std::string& path)
{
    if (FileCalls::current().remove(path))
        return {};
    const SysError error = lastError();
    return notFound(error) ? FileResult{} : failed(FileStep::RemoveOutput, path, error);
}

FileResult writeOutput(const std::string& path, const std::function<bool(const ChunkWriter&)>& produce)
{
    FileCalls& calls = FileCalls::current();
    // Truncating: an old file that could not be removed must not leave rows
    // of its own after the new ones. The rows come in large chunks, so the
    // file needs no buffer of its own, and a failed write is seen at once.
    const FileHandle file = calls.openTruncated(path);
    if (file == kNoFile)
        return failed(FileStep::OpenOutput, path, lastError());
    SysError error = 0;
    const bool written = produce([&](std::string_view chunk) { return writeAll(file, chunk, error); });
    FileResult result;
    if (!written) {
        result = failed(FileStep::WriteOutput, path, error != 0 ? error : ioError());
        calls.close(file);
    } else if (!calls.close(file)) {
        result = failed(FileStep::CloseOutput, path, lastError());
    }
    if (!result.ok())
        calls.remove(path);
    return result;
}

} // namespace sys
