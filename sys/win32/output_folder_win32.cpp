#include "sys/output_folder.h"

#include "sys/win32/cp936.h"

#include <windows.h>

#include <cstdlib>

namespace outloc {

bool isSeparator(char c)
{
    return c == '/' || c == '\\';
}

std::string userDataFolder()
{
    if (const wchar_t* local = _wgetenv(L"LOCALAPPDATA"); local && *local)
        return cp936::wideToUtf8(local);
    return {};
}

bool canCreateFilesIn(const std::string& folder)
{
    // Access rights on Windows are only known by trying; the probe deletes
    // itself when closed.
    std::string probe = folder;
    if (!isSeparator(probe.back()))
        probe += '\\';
    probe += ".kelvane-write-probe";
    HANDLE h = CreateFileW(cp936::utf8ToWide(probe).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(h);
    return true;
}

std::vector<std::string> systemProgramFolders()
{
    return {};
}

} // namespace outloc
