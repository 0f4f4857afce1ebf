#pragma once
// The options store of a test as the system keeps it: an INI file on Linux,
// a registry key under HKEY_CURRENT_USER on Windows (support/
// test_store_win32.cpp, so that the Windows headers stay out of the page
// tests, whose dialog calls they would rename).
#include <string>

#ifdef _WIN32
// location: a subkey of HKEY_CURRENT_USER, or the full name the store
// reports ("HKEY_CURRENT_USER\...").
void removeStore(const std::string& location);
int storedValueCount(const std::string& location);
#else
#include "support/temp_dir.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

inline void removeStore(const std::string& location)
{
    std::error_code ec;
    std::filesystem::remove(std::filesystem::u8path(location), ec);
}
inline int storedValueCount(const std::string& location)
{
    const std::string ini = readFile(location, "");
    return int(std::count(ini.begin(), ini.end(), '='));
}
#endif
