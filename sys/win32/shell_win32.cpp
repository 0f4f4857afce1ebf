// Opening a program text with the system's "open" action: the whole text is
// the file (a program, a document, a folder or an address), with no command
// interpreter in between, as Explorer opens what is double-clicked.
#include "sys/shell.h"

#include "sys/win32/cp936.h"

#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <string>

namespace {
bool fail(const std::string& program, const std::string& why)
{
    const std::string shown = cp936::wideToUtf8(cp936::toWideLossy(program));
    std::fprintf(stderr, "kelvane: cannot open \"%s\": %s\n", shown.c_str(), why.c_str());
    std::fflush(stderr);
    return false;
}
} // namespace

bool shellOpen(const std::string& program)
{
    if (program.empty())
        return fail(program, "empty program text");
    if (program.find('\0') != std::string::npos)
        return fail(program, "program text holds a NUL character");
    const std::optional<std::wstring> file = cp936::toWide(program);
    if (!file)
        return fail(program, "program text is not GBK text");
    const auto r = reinterpret_cast<INT_PTR>(ShellExecuteW(nullptr, L"open", file->c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    if (r > 32)
        return true;
    return fail(program, "the system could not open it (error " + std::to_string(r) + ")");
}
