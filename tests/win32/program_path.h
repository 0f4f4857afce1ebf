#pragma once
// The kelvane.exe of this build (KELVANE_EXE, a path on the build machine):
// under Wine the build machine's root is drive Z:.
#include <string>

inline std::wstring kelvaneExePath()
{
    std::wstring path;
    for (const char* p = KELVANE_EXE; *p; ++p)
        path += static_cast<wchar_t>(static_cast<unsigned char>(*p));
    if (!path.empty() && path[0] == L'/')
        path = L"Z:" + path;
    for (wchar_t& c : path)
        if (c == L'/')
            c = L'\\';
    return path;
}
