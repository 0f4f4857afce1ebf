#pragma once
// The configuration store behind CCore's getConfig*/saveConfig*.
//
// An INI file (QSettings) at the user's configuration location. Keys and
// texts are GBK inside the program; the file holds UTF-8 so that a person can
// read and edit it. Every value read is checked and replaced by the key's
// default when it is missing or unusable, so a damaged file never reaches a
// control. A UTF-8 byte-order mark at the start of the file (left by some
// editors) is dropped before the file is parsed. A file that cannot be parsed
// is copied aside (".corrupt") and ignored; when even the copy cannot be made
// the file is left untouched and the store keeps its changes to itself.
// QSettings writes through a temporary file and a rename, so a write never
// leaves a half-written file behind.
#include <QByteArray>
#include <QString>
#include <QVariant>

#include <memory>
#include <optional>
#include <string>

class QSettings;
class QTemporaryDir;

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
    // The file could not be parsed and the store started from the defaults.
    bool wasCorrupt() const { return corrupt_; }
    // Where the damaged file was copied; empty when no copy could be made.
    QString keptCopy() const { return keptCopy_; }
    // For a damaged file, what the user is told once (GBK): which file, where
    // its copy is, that the defaults apply. Empty otherwise.
    std::string setAsideNotice() const;

private:
    std::optional<QVariant> raw(const std::string& key) const;
    void setAside(const QByteArray& original);
    void openDetached(const QByteArray& contents);

    QString path_;
    QString keptCopy_;
    std::unique_ptr<QTemporaryDir> scratch_; // holds the file of a detached store
    std::unique_ptr<QSettings> settings_;    // after scratch_: written into it on destruction
    bool corrupt_ = false;
    bool detached_ = false; // works on a private copy; the file at path_ is never written
};

// First-run defaults of the stored options (config_defaults.cpp); an unknown
// key gives an invalid QVariant (read as 0 or the empty text).
QVariant configDefault(const std::string& key);
