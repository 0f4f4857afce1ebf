// The option store in the browser: localStorage, one item per option, under
// "Kelvane/" and the option's key. Items are UTF-8 texts like the INI file's
// values; the checks and first-run values are ConfigStore's.
#include "sys/settings_backend.h"

#include <emscripten/emscripten.h>

#include <cstdlib>

namespace {
// The stored text of name as UTF-8 (malloc'd), or null when missing or
// when the page may not use localStorage (a blocked or private store).
EM_JS(char*, kelvane_storage_get, (const char* name), {
    try {
        const v = globalThis.localStorage.getItem(UTF8ToString(name));
        if (v === null)
            return 0;
        const n = lengthBytesUTF8(v) + 1;
        const p = _malloc(n);
        stringToUTF8(v, p, n);
        return p;
    } catch (e) {
        return 0;
    }
});

// 1 when stored; 0 when the store refused (full, blocked).
EM_JS(int, kelvane_storage_set, (const char* name, const char* value), {
    try {
        globalThis.localStorage.setItem(UTF8ToString(name), UTF8ToString(value));
        return 1;
    } catch (e) {
        return 0;
    }
});

class LocalSettings final : public SettingsBackend {
public:
    explicit LocalSettings(std::string prefix) : prefix_(std::move(prefix)) {}

    std::optional<std::string> read(const std::string& key) const override
    {
        char* v = kelvane_storage_get((prefix_ + key).c_str());
        if (!v)
            return std::nullopt;
        std::string text(v);
        std::free(v);
        return text;
    }

    void write(const std::string& key, const std::string& value) override
    {
        // A text with a NUL ends there, as the store reads it back anyway.
        if (!kelvane_storage_set((prefix_ + key).c_str(), value.c_str()))
            failed_ = true;
    }

    bool sync() override
    {
        // Every write goes straight to the browser's store.
        const bool ok = !failed_;
        failed_ = false;
        return ok;
    }

    bool wasCorrupt() const override { return false; }
    std::string location() const override { return "localStorage " + prefix_; }

private:
    std::string prefix_;
    bool failed_ = false;
};
} // namespace

std::unique_ptr<SettingsBackend> openSettings(const std::string& location)
{
    return std::make_unique<LocalSettings>(location.empty() ? "Kelvane/" : location);
}
