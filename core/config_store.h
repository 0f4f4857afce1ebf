#pragma once
// The configuration store behind CCore's getConfig*/saveConfig*.
//
// An INI file (QSettings) at the user's configuration location. Keys and
// texts are GBK inside the program; the file holds UTF-8 so that a person can
// read and edit it. Every value read is checked and replaced by the key's
// default when it is missing or unusable, so a damaged file never reaches a
// control. A file that cannot be parsed is copied aside (".corrupt") and
// ignored; QSettings writes through a temporary file and a rename, so a write
// never leaves a half-written file behind.
#include <QString>
#include <QVariant>

#include <memory>
#include <optional>
#include <string>

class QSettings;

class ConfigStore {
public:
    explicit ConfigStore(const QString& path);
    ~ConfigStore();

    // <config folder>/Kelvane/Kelvane.ini, the folder from XDG_CONFIG_HOME
    // (or ~/.config).
    static QString defaultPath();

    int getB(const std::string& key) const;
    int getInt(const std::string& key) const;
    std::string getStr(const std::string& key) const;
    void setB(const std::string& key, int value);
    void setInt(const std::string& key, int value);
    void setStr(const std::string& key, const std::string& value);

    // Writes pending changes; false when the file could not be written.
    bool sync();
    QString path() const { return path_; }
    bool wasCorrupt() const { return corrupt_; }

private:
    std::optional<QVariant> raw(const std::string& key) const;

    QString path_;
    std::unique_ptr<QSettings> settings_;
    bool corrupt_ = false;
};

// First-run defaults of the stored options (config_defaults.cpp); an unknown
// key gives an invalid QVariant (read as 0 or the empty text).
QVariant configDefault(const std::string& key);
