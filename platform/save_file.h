#pragma once
// Files for the pages: a replaceable save-file dialog (tests install a
// scripted one) and the file services the pages write through. Paths are
// UTF-8. Every service reports how it went in a FileResult, whose message
// names the file and the system's reason in the interface's words.
#include "core/types.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

enum class TextEncoding { Gbk, Utf8 };

struct SaveTarget {
    std::string path;
    TextEncoding encoding;
};

class SaveFileService {
public:
    virtual ~SaveFileService() = default;
    // Asks for a file to save to; nothing when the user cancels. The real
    // dialog offers "GBK 文本 (*.txt)" (the default) and "UTF-8 文本 (*.txt)",
    // adds ".txt" to a name without a suffix and confirms overwriting.
    virtual std::optional<SaveTarget> ask(HWND owner, const std::string& caption, const std::string& suggestedName) = 0;

    static SaveFileService& current();
    // Installs a service (null: the real dialog); returns the previous one.
    static SaveFileService* install(SaveFileService* service);
};

// The back end's real save-file dialog.
SaveFileService& systemSaveDialog();

// The step of a file service that failed.
enum class FileStep {
    None,            // success
    Create,          // a saved file could not be created
    Write,           // ... written
    Commit,          // ... put in place
    RemoveOutput,    // the output file could not be removed
    CreateOutput,    // ... created
    OpenOutput,      // ... opened for writing
    WriteOutput,     // ... written
    CloseOutput,     // ... closed
    OpenSource,      // the output file could not be opened for an export
    ReadSource,      // ... read
    SourceNotGbk,    // ... holds bytes that are not GBK text
};

struct FileResult {
    FileStep step = FileStep::None;
    std::string path;   // the file the failure is about
    std::string reason; // the system's reason

    bool ok() const { return step == FileStep::None; }
    // The message for the user (UTF-8); empty on success.
    std::string message() const;
};

namespace files {

// Writes bytes to path as a whole: the file holds either all of them or,
// when anything fails, what it held before.
FileResult writeWhole(const std::string& path, std::string_view bytes);

// Removes the output file at path; a missing file is no error.
FileResult removeOutput(const std::string& path);

// Writes the output file at path straight through: truncates it, hands a
// writer to produce, closes it. A failed write ends produce (the writer
// returns false). On failure the partial file is removed.
using ChunkWriter = std::function<bool(std::string_view chunk)>;
FileResult writeOutput(const std::string& path, const std::function<bool(const ChunkWriter&)>& produce);

// Copies the GBK text of the file at source into target, converted to the
// target's encoding, in pieces, whole or not at all.
FileResult copyConverted(const std::string& source, const SaveTarget& target);

} // namespace files
