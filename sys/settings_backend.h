#pragma once
// Where stored options live: one implementation per system (an INI file on
// Linux). It holds texts under keys and knows nothing of their meaning; the
// checks and first-run defaults are ConfigStore's. Keys and values are UTF-8.
#include <memory>
#include <optional>
#include <string>

class SettingsBackend {
public:
    virtual ~SettingsBackend() = default;

    // The text stored under key, or nothing when the key is missing or holds
    // something other than a single text (a list typed by hand, say).
    virtual std::optional<std::string> read(const std::string& key) const = 0;
    virtual void write(const std::string& key, const std::string& value) = 0;
    // Writes pending changes; false when they could not be written.
    virtual bool sync() = 0;
    // The store could not be read and was set aside; it starts empty.
    virtual bool wasCorrupt() const = 0;
    // Where the damaged store was copied for the user; empty when no copy
    // was made (or the system's store is never set aside).
    virtual std::string keptCopy() const { return {}; }
    // Where the options are kept, for messages (a file path, a registry key).
    virtual std::string location() const = 0;
};

// The store at location (a file path for an INI file); the empty text means
// the user's usual place for the program's options.
std::unique_ptr<SettingsBackend> openSettings(const std::string& location);
