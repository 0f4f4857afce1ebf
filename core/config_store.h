#pragma once
// The configuration store behind CCore's getConfig*/saveConfig*.
//
// Keys and texts are GBK inside the program; the system's store
// (SettingsBackend) holds UTF-8. Options are named by their row of the
// option table (core/options.h); every value read is checked against its row
// and replaced by the first-run value when it is missing or unusable, so a
// damaged store never reaches a control. A stored text ends at a NUL, so
// that nothing after one reaches a control or a row.
#include "core/options.h"
#include "sys/settings_backend.h"

#include <memory>
#include <string>

class ConfigStore {
public:
    explicit ConfigStore(std::unique_ptr<SettingsBackend> backend);
    ~ConfigStore();

    // A flag: 0 or 1.
    int getB(const OptionDef& option) const;
    int getInt(const OptionDef& option) const;
    // A text as stored; a number as getInt gives it, in decimal.
    std::string getStr(const OptionDef& option) const;
    void setB(const OptionDef& option, int value);
    void setInt(const OptionDef& option, int value);
    void setStr(const OptionDef& option, const std::string& value);

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
