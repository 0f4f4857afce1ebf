#include "sys/console.h"

#include "sys/win32/cp936.h"

#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <fcntl.h>
#include <io.h>

namespace sys {
namespace {
bool isConsole(HANDLE h)
{
    DWORD mode = 0;
    return h != nullptr && h != INVALID_HANDLE_VALUE && GetConsoleMode(h, &mode);
}
} // namespace

void prepareCommandLine()
{
    // A closed pipe is a failed write on Windows already. The C streams
    // must not turn LF into CR LF behind the program's back.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    // The progress line clears itself with an escape sequence, which a
    // console of Windows 10 and later understands once asked to.
    HANDLE err = GetStdHandle(STD_ERROR_HANDLE);
    if (DWORD mode = 0; isConsole(err) && GetConsoleMode(err, &mode))
        SetConsoleMode(err, mode | 0x0004 /* ENABLE_VIRTUAL_TERMINAL_PROCESSING */);
}

std::vector<std::string> commandLineArguments(int argc, char** argv)
{
    int n = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &n);
    if (!wide)
        return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + (argc > 0 ? argc : 0));
    std::vector<std::string> args;
    for (int i = 1; i < n; ++i)
        args.push_back(cp936::wideToUtf8(wide[i]));
    LocalFree(wide);
    return args;
}

void printError(std::string_view utf8)
{
    HANDLE err = GetStdHandle(STD_ERROR_HANDLE);
    if (isConsole(err)) {
        const std::wstring text = cp936::utf8ToWide(utf8);
        DWORD done = 0;
        WriteConsoleW(err, text.data(), DWORD(text.size()), &done, nullptr);
        return;
    }
    // A pipe or a file: UTF-8.
    std::fwrite(utf8.data(), 1, utf8.size(), stderr);
    std::fflush(stderr);
}

void printErrorLine(std::string_view utf8)
{
    // The system's line end.
    printError(std::string(utf8) + "\r\n");
}

bool stderrIsTerminal()
{
    return isConsole(GetStdHandle(STD_ERROR_HANDLE));
}

} // namespace sys
