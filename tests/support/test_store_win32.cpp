#include "support/test_store.h"

#include <windows.h>

namespace {
std::string subkey(const std::string& location)
{
    const std::string root = "HKEY_CURRENT_USER\\";
    return location.rfind(root, 0) == 0 ? location.substr(root.size()) : location;
}
} // namespace

void removeStore(const std::string& location)
{
    const std::string key = subkey(location);
    RegDeleteTreeA(HKEY_CURRENT_USER, key.c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, key.c_str());
}

int storedValueCount(const std::string& location)
{
    HKEY k;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, subkey(location).c_str(), 0, KEY_QUERY_VALUE, &k) != ERROR_SUCCESS)
        return 0;
    DWORD values = 0;
    RegQueryInfoKeyA(k, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr, nullptr,
                     nullptr);
    RegCloseKey(k);
    return int(values);
}

void storeByHand(const std::string& location, const std::string& key, const std::string& text)
{
    std::wstring wide(text.size() + 1, L'\0');
    wide.resize(std::size_t(MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), wide.data(), int(wide.size()))));
    const std::wstring name(key.begin(), key.end());
    const std::string sub = subkey(location);
    RegSetKeyValueW(HKEY_CURRENT_USER, std::wstring(sub.begin(), sub.end()).c_str(), name.c_str(), REG_SZ, wide.c_str(),
                    DWORD((wide.size() + 1) * sizeof(wchar_t)));
}
