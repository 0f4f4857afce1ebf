#include "ui/output_file.h"

#include "core/ccore.h"
#include "core/file_message.h"
#include "core/gbk.h"
#include "core/texts.h"
#include "gen/string_gen.h"
#include "platform/cdialog.h"

sys::FileResult removeOutputFile(const CString& path)
{
    return sys::removeOutput(gbk::toUtf8(path));
}

sys::FileResult writeOutputFile(const CString& path, const StringSettings& s, std::size_t chunkBytes)
{
    const std::string name = gbk::toUtf8(path);
    const auto rows = [&](const sys::ChunkWriter& write) { return streamRows(s, g_core->random(), write, chunkBytes); };
    if (!g_core->isFileExist(path) && !g_core->createFile(path, 1)) {
        // The core gives no reason; trying to open the file for writing does.
        sys::FileResult why = sys::writeOutput(name, [](const sys::ChunkWriter&) { return true; });
        why.step = sys::FileStep::CreateOutput;
        why.path = name;
        return why;
    }
    return sys::writeOutput(name, rows);
}

bool exportOutputFile(CDialog& page, const CString& path, const std::string& suggestedName)
{
    const auto target = SaveFileService::current().ask(page.GetSafeHwnd(), utf8(Text::ExportCaption), suggestedName);
    if (!target)
        return false;
    const sys::FileResult result = sys::copyConverted(gbk::toUtf8(path), target->path, target->encoding);
    if (!result.ok()) {
        page.MessageBoxUtf8(fileMessage(result));
        return false;
    }
    return true;
}
