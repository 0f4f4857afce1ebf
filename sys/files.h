#pragma once
// Files as both programs use them, on every system. Paths are UTF-8.
// - Whole-or-nothing writes and copies: a regular file or a new path holds
//   either every byte or, after any failure, what it held before; a device,
//   a FIFO, a pipe or a console is written straight through and never
//   replaced (sys::FileWriter).
// - The string tab's output file: removed, written straight through, the
//   partial file removed after a failure.
// Every service reports how it went in a FileResult: the step that failed,
// the file and the system's reason (core/file_message.h words it for the user).
#include "sys/file_calls.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace sys {

// Whether something exists at path.
bool fileExists(const std::string& path);

// Creates the file at path when it is missing; an existing file is kept as
// it is. Returns whether the file exists and can be opened for writing.
bool createFileKeeping(const std::string& path);

// The step of a file service that failed.
enum class FileStep {
    None,         // success
    Create,       // a saved file (or its temporary) could not be created
    Write,        // ... written
    Commit,       // ... flushed, closed or put in place
    RemoveOutput, // the output file could not be removed
    CreateOutput, // ... created
    OpenOutput,   // ... opened for writing
    WriteOutput,  // ... written
    CloseOutput,  // ... closed
    OpenSource,   // the file to copy could not be opened
    ReadSource,   // ... read
    SourceNotGbk, // ... holds bytes that are not GBK text
};

struct FileResult {
    FileStep step = FileStep::None;
    std::string path;   // the file the failure is about
    std::string reason; // the system's reason (UTF-8)
    SysError error = 0; // the system's code of it

    bool ok() const { return step == FileStep::None; }
};

// Writes bytes to path as a whole.
FileResult writeWhole(const std::string& path, std::string_view bytes);

// Turns one piece of the source into bytes for the target (appended to
// out); called once more with an empty piece at the end. False: the source
// cannot be converted.
using PieceConverter = std::function<bool(std::string_view piece, std::string& out)>;

// Copies source into target in pieces of pieceSize bytes, each passed
// through convert (none: copied as it is), whole or not at all. The source
// is never held as a whole.
FileResult copyWhole(const std::string& source, const std::string& target, const PieceConverter& convert,
                     std::size_t pieceSize = std::size_t(1) << 20);

// Copies the GBK text of the file at source into target, in the target's
// encoding, whole or not at all.
FileResult copyConverted(const std::string& source, const std::string& target, TextEncoding encoding);

// Removes the output file at path; a missing file is no error.
FileResult removeOutput(const std::string& path);

// Writes the output file at path straight through: truncates it, hands a
// writer to produce, closes it. A failed write ends produce (the writer
// returns false). On failure the partial file is removed.
using ChunkWriter = std::function<bool(std::string_view chunk)>;
FileResult writeOutput(const std::string& path, const std::function<bool(const ChunkWriter&)>& produce);

} // namespace sys
