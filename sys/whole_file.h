#pragma once
// The program's whole-file writes: a text saved at once, and a file copied
// (and converted) piece by piece. A regular file or a new path holds either
// every byte or, after any failure, what it held before; a device or a FIFO
// is written straight through (see FileWriter). Paths are file-system bytes.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

struct FileFailure {
    enum class Step {
        None,
        Create,     // the target (or its temporary) could not be opened
        Write,      // a write to the target failed
        Save,       // flushing, closing or putting the target in place failed
        OpenSource, // the file to copy could not be opened
        ReadSource, // reading the file to copy failed
        Convert,    // the converter refused the source's bytes
    };
    Step step = Step::None;
    int error = 0; // errno; 0 for Convert

    explicit operator bool() const { return step != Step::None; }
};

FileFailure writeWholeFile(const std::string& path, std::string_view bytes);

// Turns one piece of the source into bytes for the target (appended to out);
// called once more with an empty piece at the end. False: the source cannot
// be converted.
using PieceConverter = std::function<bool(std::string_view piece, std::string& out)>;

// Copies source into path in pieces of pieceSize bytes, each passed through
// convert (none: copied as it is). The source is never held as a whole.
FileFailure copyWholeFile(const std::string& source, const std::string& path, const PieceConverter& convert,
                          std::size_t pieceSize = std::size_t(1) << 20);
