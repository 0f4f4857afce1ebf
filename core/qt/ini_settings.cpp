// Stored options in an INI file (QSettings) at the user's configuration
// location. The file holds UTF-8 so that a person can read and edit it. A
// file that cannot be parsed is copied aside (".corrupt") and ignored;
// QSettings writes through a temporary file and a rename, so a write never
// leaves a half-written file behind.
#include "core/sys/settings_backend.h"

#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QVariant>

namespace {

class IniSettings : public SettingsBackend {
public:
    explicit IniSettings(const QString& path) : path_(path), settings_(path, QSettings::IniFormat)
    {
        settings_.allKeys(); // parse now, so a damaged file is noticed before any write
        if (settings_.status() == QSettings::FormatError) {
            // Keep the damaged file for the user, then start from the defaults.
            corrupt_ = true;
            const QString aside = path_ + QStringLiteral(".corrupt");
            QFile::remove(aside);
            QFile::copy(path_, aside);
            settings_.clear();
        }
    }
    ~IniSettings() override { sync(); }

    std::optional<std::string> read(const std::string& key) const override
    {
        const QVariant v = settings_.value(QString::fromStdString(key));
        if (!v.isValid() || v.userType() == QMetaType::QStringList || v.userType() == QMetaType::QVariantList)
            return std::nullopt;
        return v.toString().toStdString();
    }

    void write(const std::string& key, const std::string& value) override
    {
        settings_.setValue(QString::fromStdString(key), QString::fromStdString(value));
    }

    bool sync() override
    {
        settings_.sync();
        // A format error seen while re-reading the old file does not stop the write.
        return settings_.status() != QSettings::AccessError;
    }

    bool wasCorrupt() const override { return corrupt_; }
    std::string location() const override { return path_.toStdString(); }

private:
    QString path_;
    mutable QSettings settings_;
    bool corrupt_ = false;
};

// <config folder>/Kelvane/Kelvane.ini, the folder from XDG_CONFIG_HOME (or ~/.config).
QString defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
           + QStringLiteral("/Kelvane/Kelvane.ini");
}

} // namespace

std::unique_ptr<SettingsBackend> openSettings(const std::string& location)
{
    return std::make_unique<IniSettings>(location.empty() ? defaultPath() : QString::fromStdString(location));
}
