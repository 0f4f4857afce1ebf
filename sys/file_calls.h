#pragma once
// The system calls every file write, copy and removal goes through: the
// few primitives each system supplies (sys/linux, sys/win32); the steps
// built on them are written once (sys/file_writer.cpp, sys/files.cpp). The
// real calls unless a test has installed others (to make a write, a flush
// or a rename fail on purpose). A call that fails leaves the system's
// reason in lastError(). Paths are UTF-8.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace sys {

// An open file as the system knows it (a descriptor, a handle).
using FileHandle = std::intptr_t;
inline constexpr FileHandle kNoFile = -1;

// The system's code for why a call failed (errno, GetLastError()).
using SysError = long;

enum class TextEncoding { Gbk, Utf8 };

class FileCalls {
public:
    virtual ~FileCalls() = default;
    // Opens what is not a regular file (a device, a FIFO, one of the
    // program's own descriptors) for writing straight through. A FIFO
    // without a reader is waited for when waitForReader, else refused.
    virtual FileHandle openThrough(const std::string& path, bool waitForReader);
    // Creates a new file at path, failing when one exists (alreadyExists),
    // with the permissions of the file `like` when there is one.
    virtual FileHandle createNew(const std::string& path, const std::string& like);
    // Opens an existing file for reading.
    virtual FileHandle openRead(const std::string& path);
    // Opens path for writing, created or emptied.
    virtual FileHandle openTruncated(const std::string& path);
    // The count read or written (0: the end of a read), -1 on failure. An
    // interrupted call is repeated.
    virtual long long read(FileHandle file, void* data, std::size_t size);
    virtual long long write(FileHandle file, const void* data, std::size_t size);
    // Puts what was written on the disk.
    virtual bool flush(FileHandle file);
    // The file made by createNew at path stays when it is closed. Until then
    // the system removes it (or never names it) when the program ends in the
    // middle: Ctrl+C leaves no temporary file behind.
    virtual bool keep(FileHandle file, const std::string& path);
    // Frees the handle even when it reports a failure.
    virtual bool close(FileHandle file);
    // Puts the file from in the place of to, in one step.
    virtual bool replace(const std::string& from, const std::string& to);
    virtual bool remove(const std::string& path);

    static FileCalls& current();
    // Installs calls (null: the real ones again); returns the previous ones.
    static FileCalls* install(FileCalls* calls);
};

// How a path is written. Whole: a regular file or a new path, replaced by
// a new file beside it (`replaced` is the file that takes its place: a link
// is followed). Otherwise written straight through and never replaced.
struct WriteTarget {
    bool whole = true;
    std::string replaced;
};
WriteTarget writeTarget(const std::string& path);

// The handle of the program's standard output.
FileHandle standardOutput();

// Whether file is a console that takes text as Unicode whatever its code
// page (Windows); a terminal on Linux takes bytes, so never there.
bool isUnicodeConsole(FileHandle file);
// Writes text (whole characters in encoding) to such a console.
bool writeConsole(FileHandle file, std::string_view text, TextEncoding encoding);

SysError lastError();
void setLastError(SysError error);
// The code to report when a call failed without saying why.
SysError ioError();
bool alreadyExists(SysError error); // createNew: the name is taken
bool notFound(SysError error);      // nothing at the path
bool pipeClosed(SysError error);    // the reader of a pipe went away

// The system's words for an error ("No space left on device"), as UTF-8.
std::string errorText(SysError error);

} // namespace sys
