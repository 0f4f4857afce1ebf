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
// Puts text (UTF-8, NULs included) under key as a person editing the store
// by hand would: a REG_SZ value.
void storeByHand(const std::string& location, const std::string& key, const std::string& text);
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
// Puts text (UTF-8) under key as a person editing the file would: a line of
// the INI file, a NUL written as its escape "\0".
inline void storeByHand(const std::string& location, const std::string& key, const std::string& text)
{
    std::string ini = readFile(location, "[General]\n");
    ini += key + "=";
    for (char c : text)
        ini += c == '\0' ? std::string("\\0") : std::string(1, c);
    writeFile(location, ini + "\n");
}
#endif
