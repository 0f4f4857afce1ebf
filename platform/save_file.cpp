#include "platform/save_file.h"

#include "platform/service_slot.h"

namespace {
ServiceSlot<SaveFileService>& slot()
{
    static ServiceSlot<SaveFileService> s(&systemSaveDialog);
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
} // namespace

SaveFileService& SaveFileService::current()
{
    return slot().current();
}

SaveFileService* SaveFileService::install(SaveFileService* service)
{
    return slot().install(service);
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
