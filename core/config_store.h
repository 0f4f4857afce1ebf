#pragma once
// The configuration store behind CCore's getConfig*/saveConfig*.
//
// Keys and texts are GBK inside the program; the system's store
// (SettingsBackend) holds UTF-8. Every value read is checked against the
// option table (core/options.h) and replaced by the key's first-run value
// when it is missing or unusable, so a damaged store never reaches a
// control. A key outside the table reads as 0 or the empty text. A stored
// text ends at a NUL, so that nothing after one reaches a control or a row.
#include "sys/settings_backend.h"

#include <memory>
#include <string>

class ConfigStore {
public:
    explicit ConfigStore(std::unique_ptr<SettingsBackend> backend);
    ~ConfigStore();

    int getB(const std::string& key) const;
    int getInt(const std::string& key) const;
    std::string getStr(const std::string& key) const;
    void setB(const std::string& key, int value);
    void setInt(const std::string& key, int value);
    void setStr(const std::string& key, const std::string& value);

    // Writes pending changes; false when they could not be written.
    bool sync();
    std::string path() const { return backend_->location(); }
    // The store could not be read and started from the defaults.
    bool wasCorrupt() const { return backend_->wasCorrupt(); }
    // Where the damaged store was copied; empty when no copy could be made.
    std::string keptCopy() const { return backend_->keptCopy(); }
    // For a damaged store, what the user is told once (GBK): which store,
    // where its copy is, that the defaults apply. Empty otherwise.
    std::string setAsideNotice() const;

private:
    std::unique_ptr<SettingsBackend> backend_;
};
