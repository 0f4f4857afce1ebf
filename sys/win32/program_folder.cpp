#include "sys/program_folder.h"

#include "sys/win32/cp936.h"

#include <windows.h>

#include <string>

namespace sys {

std::string programFolder()
{
    // Long paths: grow the buffer until the whole name fits.
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
        if (n == 0)
            return ".";
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        if (path.size() >= 32768)
            return ".";
        path.resize(path.size() * 2);
    }
    const std::size_t slash = path.find_last_of(L"\\/");
    if (slash == std::wstring::npos)
        return ".";
    // Keep the separator of a drive's root ("C:\").
    path.resize(slash == 2 && path[1] == L':' ? slash + 1 : slash);
    return cp936::wideToUtf8(path);
}

} // namespace sys
