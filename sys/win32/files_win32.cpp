#include "sys/files.h"

#include "sys/win32/cp936.h"

#include <windows.h>

namespace sys {

bool fileExists(const std::string& path)
{
    return GetFileAttributesW(cp936::utf8ToWide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool createFileKeeping(const std::string& path)
{
    HANDLE h = CreateFileW(cp936::utf8ToWide(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    return CloseHandle(h) != FALSE;
}

} // namespace sys
