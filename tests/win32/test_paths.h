#pragma once
// Paths for the Windows tests: the kelvane.exe of this build, programs built
// beside this test, names inside a TempDir in the system's own form, and the
// wide text the W calls take, and a wait for what another process does.
#include "support/temp_dir.h"

#include <windows.h>

#include <filesystem>
#include <string>

inline std::wstring wide(const std::string& utf8)
{
    return std::filesystem::u8path(utf8).wstring();
}

// name inside tmp, joined with a backslash as the system joins names.
inline std::string inside(const TempDir& tmp, const std::string& name)
{
    return tmp.path() + "\\" + name;
}

// A new folder name inside tmp; empty when it cannot be made.
inline std::string folderInside(const TempDir& tmp, const std::string& name)
{
    const std::string path = inside(tmp, name);
    return std::filesystem::create_directory(std::filesystem::u8path(path)) ? path : std::string();
}

// A program built into the same folder as this test.
inline std::wstring besideThisTest(const std::wstring& name)
{
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    const std::wstring s = self;
    return s.substr(0, s.find_last_of(L'\\') + 1) + name;
}

// Polls done every 50 ms for up to ms milliseconds; whether it came true.
template <class Pred>
bool waitUntil(Pred done, DWORD ms = 30000)
{
    for (DWORD waited = 0; waited < ms && !done(); waited += 50)
        Sleep(50);
    return done();
}

// A path on the build machine: under Wine its root is drive Z:.
inline std::wstring hostPath(const std::string& path)
{
    std::wstring name = L"Z:" + wide(path);
    for (wchar_t& c : name)
        if (c == L'/')
            c = L'\\';
    return name;
}

#ifdef KELVANE_EXE
inline std::wstring kelvaneExePath()
{
    return hostPath(KELVANE_EXE);
}
#endif
