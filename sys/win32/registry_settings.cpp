// Stored options in the registry: HKEY_CURRENT_USER\Software\Kelvane\Kelvane,
// one text value (REG_SZ) per key. Integers are stored as decimal text, as
// the store hands them over; a number typed in by hand as a DWORD reads as
// its decimal text too, so the checks of the store apply to it alike.
#include "sys/settings_backend.h"

#include "sys/win32/cp936.h"

#include <windows.h>

#include <string>

namespace {

constexpr wchar_t kRootName[] = L"HKEY_CURRENT_USER\\"; // how location() names the key
constexpr wchar_t kDefaultKey[] = L"Software\\Kelvane\\Kelvane";

class RegistrySettings : public SettingsBackend {
public:
    explicit RegistrySettings(std::wstring subkey) : subkey_(std::move(subkey))
    {
        if (RegCreateKeyExW(HKEY_CURRENT_USER, subkey_.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                            KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key_, nullptr)
            != ERROR_SUCCESS) {
            key_ = nullptr; // reads give nothing, and sync reports the failure
            failed_ = true;
        }
    }
    ~RegistrySettings() override
    {
        if (key_)
            RegCloseKey(key_);
    }

    std::optional<std::string> read(const std::string& key) const override
    {
        if (!key_)
            return std::nullopt;
        const std::wstring name = cp936::utf8ToWide(key);
        DWORD type = 0;
        DWORD bytes = 0;
        if (RegQueryValueExW(key_, name.c_str(), nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS)
            return std::nullopt;
        if (type == REG_DWORD) {
            DWORD value = 0;
            bytes = sizeof value;
            if (RegQueryValueExW(key_, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &bytes)
                    != ERROR_SUCCESS
                || type != REG_DWORD)
                return std::nullopt;
            return std::to_string(static_cast<long>(static_cast<LONG>(value)));
        }
        if (type != REG_SZ && type != REG_EXPAND_SZ)
            return std::nullopt;
        // The value may change between the two calls: try again when it grew.
        for (int attempt = 0; attempt < 4; ++attempt) {
            std::wstring text(bytes / sizeof(wchar_t) + 1, L'\0');
            DWORD got = DWORD(text.size() * sizeof(wchar_t));
            const LSTATUS r = RegQueryValueExW(key_, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(text.data()),
                                               &got);
            if (r == ERROR_MORE_DATA) {
                bytes = got;
                continue;
            }
            if (r != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ))
                return std::nullopt;
            text.resize(got / sizeof(wchar_t));
            while (!text.empty() && text.back() == L'\0') // stored with or without its end mark
                text.pop_back();
            return cp936::wideToUtf8(text);
        }
        return std::nullopt;
    }

    void write(const std::string& key, const std::string& value) override
    {
        if (!key_) {
            failed_ = true;
            return;
        }
        const std::wstring name = cp936::utf8ToWide(key);
        const std::wstring text = cp936::utf8ToWide(value);
        const DWORD bytes = DWORD((text.size() + 1) * sizeof(wchar_t));
        if (RegSetValueExW(key_, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()), bytes)
            != ERROR_SUCCESS)
            failed_ = true;
        dirty_ = true;
    }

    bool sync() override
    {
        if (key_ && dirty_ && RegFlushKey(key_) != ERROR_SUCCESS)
            failed_ = true;
        dirty_ = false;
        const bool ok = !failed_;
        failed_ = !key_;
        return ok;
    }

    bool wasCorrupt() const override { return false; }
    std::string location() const override { return cp936::wideToUtf8(std::wstring(kRootName) + subkey_); }

private:
    std::wstring subkey_;
    HKEY key_ = nullptr;
    bool failed_ = false;
    bool dirty_ = false;
};

} // namespace

// location: a key below HKEY_CURRENT_USER ("Software\\Kelvane\\Kelvane"
// when empty).
std::unique_ptr<SettingsBackend> openSettings(const std::string& location)
{
    std::wstring subkey = location.empty() ? std::wstring(kDefaultKey) : cp936::utf8ToWide(location);
    return std::make_unique<RegistrySettings>(std::move(subkey));
}
