// The output file and the messages of the file services, over the system's
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

// The message of each failed step; %1 is the file, %2 the system's reason.
const char* format(FileStep step)
{
    switch (step) {
    case FileStep::None: return "";
    case FileStep::Create: return "无法创建文件“%1”：%2";
    case FileStep::Write: return "写入文件“%1”失败：%2";
    case FileStep::Commit: return "保存文件“%1”失败：%2";
    case FileStep::RemoveOutput: return "无法删除输出文件“%1”：%2";
    case FileStep::CreateOutput: return "无法创建输出文件“%1”：%2";
    case FileStep::OpenOutput: return "无法打开输出文件“%1”：%2";
    case FileStep::WriteOutput: return "写入输出文件“%1”失败：%2";
    case FileStep::CloseOutput: return "关闭输出文件“%1”失败：%2";
    case FileStep::OpenSource: return "无法读取输出文件“%1”：%2";
    case FileStep::ReadSource: return "读取输出文件“%1”失败：%2";
    case FileStep::SourceNotGbk: return "输出文件“%1”不是有效的 GBK 文本，未导出。";
    }
    return "";
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

std::string FileResult::message() const
{
    std::string out;
    for (const char* p = format(step); *p; ++p) {
        if (p[0] == '%' && (p[1] == '1' || p[1] == '2')) {
            out += p[1] == '1' ? path : reason;
            ++p;
        } else {
            out += *p;
        }
    }
    return out;
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
