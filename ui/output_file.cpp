#include "ui/output_file.h"

#include "core/ccore.h"
#include "core/gbk.h"
#include "core/texts.h"
#include "gen/string_gen.h"
#include "platform/cdialog.h"

FileResult removeOutputFile(const CString& path)
{
    return files::removeOutput(gbk::toUtf8(path));
}

FileResult writeOutputFile(const CString& path, const StringSettings& s, std::size_t chunkBytes)
{
    const std::string name = gbk::toUtf8(path);
    const auto rows = [&](const files::ChunkWriter& write) { return streamRows(s, write, chunkBytes); };
    if (!g_core->isFileExist(path) && !g_core->createFile(path, 1)) {
        // The core gives no reason; trying to open the file for writing does.
        FileResult why = files::writeOutput(name, [](const files::ChunkWriter&) { return true; });
        why.step = FileStep::CreateOutput;
        why.path = name;
        return why;
    }
    return files::writeOutput(name, rows);
}

bool exportOutputFile(CDialog& page, const CString& path, const std::string& suggestedName)
{
    const auto target = SaveFileService::current().ask(page.GetSafeHwnd(), utf8(Text::ExportCaption), suggestedName);
    if (!target)
        return false;
    const FileResult result = files::copyConverted(gbk::toUtf8(path), *target);
    if (!result.ok()) {
        page.MessageBoxUtf8(result.message());
        return false;
    }
    return true;
}
