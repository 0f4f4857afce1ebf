// The file calls on Windows: the W functions on handles, GetLastError and
// FormatMessageW.
#include "sys/file_calls.h"

#include "sys/win32/cp936.h"

#include <windows.h>

#include <cwctype>
#include <string>

namespace sys {
namespace {
HANDLE h(FileHandle file)
{
    return reinterpret_cast<HANDLE>(file);
}

FileHandle handle(HANDLE h)
{
    return h == INVALID_HANDLE_VALUE || h == nullptr ? kNoFile : reinterpret_cast<FileHandle>(h);
}

std::wstring wide(const std::string& path)
{
    return cp936::utf8ToWide(path);
}

// A device the system names in every folder (NUL, CON, COM1, "nul.txt"),
// or a path in the device namespace (\\.\pipe\name, \\.\COM10).
bool isDeviceName(const std::wstring& path)
{
    if (path.rfind(L"\\\\.\\", 0) == 0 || path.rfind(L"//./", 0) == 0)
        return true;
    const std::size_t slash = path.find_last_of(L"\\/:");
    std::wstring name = path.substr(slash == std::wstring::npos ? 0 : slash + 1);
    name = name.substr(0, name.find(L'.'));
    while (!name.empty() && name.back() == L' ')
        name.pop_back();
    for (wchar_t& c : name)
        c = wchar_t(std::towupper(c));
    for (const wchar_t* device : {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"})
        if (name == device)
            return true;
    return name.size() == 4 && (name.rfind(L"COM", 0) == 0 || name.rfind(L"LPT", 0) == 0) && name[3] >= L'1'
           && name[3] <= L'9';
}
} // namespace

FileHandle FileCalls::openThrough(const std::string& path, bool)
{
    // A named pipe without a reader cannot be opened at all: no wait.
    return handle(CreateFileW(wide(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

FileHandle FileCalls::createNew(const std::string& path, const std::string&)
{
    // The new file takes the folder's permissions, as the old one did. It is
    // marked for removal until keep(): a program ended by Ctrl+C (or killed)
    // leaves no temporary file. Where the mark cannot be set the file is
    // still removed by discarding the write.
    HANDLE h = CreateFileW(wide(path).c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
    if (h != INVALID_HANDLE_VALUE) {
        FILE_DISPOSITION_INFO dispose{TRUE};
        SetFileInformationByHandle(h, FileDispositionInfo, &dispose, sizeof dispose);
        SetLastError(ERROR_SUCCESS);
    }
    return handle(h);
}

FileHandle FileCalls::openRead(const std::string& path)
{
    return handle(CreateFileW(wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
}

FileHandle FileCalls::openTruncated(const std::string& path)
{
    return handle(CreateFileW(wide(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
}

long long FileCalls::read(FileHandle file, void* data, std::size_t size)
{
    DWORD got = 0;
    const DWORD want = DWORD(size < (1u << 30) ? size : (1u << 30));
    if (ReadFile(h(file), data, want, &got, nullptr))
        return got;
    // The writer of a pipe closed it: the end of what it sent.
    return GetLastError() == ERROR_BROKEN_PIPE ? 0 : -1;
}

long long FileCalls::write(FileHandle file, const void* data, std::size_t size)
{
    DWORD done = 0;
    const DWORD want = DWORD(size < (1u << 30) ? size : (1u << 30));
    if (!WriteFile(h(file), data, want, &done, nullptr))
        return -1;
    return done;
}

bool FileCalls::flush(FileHandle file)
{
    return FlushFileBuffers(h(file)) != FALSE;
}

bool FileCalls::keep(FileHandle file, const std::string&)
{
    FILE_DISPOSITION_INFO keep{FALSE};
    return SetFileInformationByHandle(h(file), FileDispositionInfo, &keep, sizeof keep) != FALSE;
}

bool FileCalls::close(FileHandle file)
{
    return CloseHandle(h(file)) != FALSE;
}

bool FileCalls::replace(const std::string& from, const std::string& to)
{
    // A read-only file is never replaced, as Windows refuses it; Wine's
    // MoveFileExW would replace it, so the refusal is made here.
    const DWORD attributes = GetFileAttributesW(wide(to).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }
    return MoveFileExW(wide(from).c_str(), wide(to).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
           != FALSE;
}

bool FileCalls::remove(const std::string& path)
{
    return DeleteFileW(wide(path).c_str()) != FALSE;
}

WriteTarget writeTarget(const std::string& path)
{
    const std::wstring name = wide(path);
    if (isDeviceName(name))
        return {false, {}};
    const DWORD attributes = GetFileAttributesW(name.c_str());
    // A folder is left for the write to refuse; anything else that exists
    // and is no plain file on a disk is written through.
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DEVICE))
        return {false, {}};
    return {true, path};
}

FileHandle standardOutput()
{
    return handle(GetStdHandle(STD_OUTPUT_HANDLE));
}

bool isUnicodeConsole(FileHandle file)
{
    DWORD mode = 0;
    return file != kNoFile && GetConsoleMode(h(file), &mode);
}

bool writeConsole(FileHandle file, std::string_view text, TextEncoding encoding)
{
    const std::wstring wideText = encoding == TextEncoding::Gbk ? cp936::toWideLossy(text) : cp936::utf8ToWide(text);
    std::wstring_view rest = wideText;
    while (!rest.empty()) {
        const DWORD want = DWORD(rest.size() < 8192 ? rest.size() : 8192);
        DWORD done = 0;
        if (!WriteConsoleW(h(file), rest.data(), want, &done, nullptr) || done == 0)
            return false;
        rest.remove_prefix(done);
    }
    return true;
}

SysError lastError()
{
    return SysError(GetLastError());
}

void setLastError(SysError error)
{
    SetLastError(DWORD(error));
}

SysError ioError()
{
    return ERROR_WRITE_FAULT;
}

bool alreadyExists(SysError error)
{
    return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS;
}

bool notFound(SysError error)
{
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

bool pipeClosed(SysError error)
{
    return error == ERROR_NO_DATA || error == ERROR_BROKEN_PIPE || error == ERROR_PIPE_NOT_CONNECTED;
}

std::string errorText(SysError error)
{
    wchar_t* buf = nullptr;
    const DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM
                                       | FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, DWORD(error), 0, reinterpret_cast<LPWSTR>(&buf), 0, nullptr);
    std::wstring text = n && buf ? std::wstring(buf, n) : std::wstring();
    if (buf)
        LocalFree(buf);
    // Without the line end and the full stop it ends with.
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ' || text.back() == L'.'))
        text.pop_back();
    if (text.empty())
        text = L"error " + std::to_wstring(error);
    return cp936::wideToUtf8(text);
}

} // namespace sys
