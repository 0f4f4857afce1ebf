// Stored options in an INI file (QSettings) at the user's configuration
// location. The file holds UTF-8 so that a person can read and edit it. A
// UTF-8 byte-order mark at the start (left by some editors) is dropped
// before the file is parsed. A file that cannot be parsed is copied aside
// (".corrupt") and ignored; when even the copy cannot be made the file is
// left untouched and the store keeps its changes to itself. QSettings writes
// through a temporary file and a rename, so a write never leaves a
// half-written file behind; the program's own rewrites go through the
// system layer's whole-file writer.
#include "sys/settings_backend.h"

#include "sys/files.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QVariant>

namespace {

const QByteArray kUtf8Bom("\xEF\xBB\xBF");

// Replaces the file at path with bytes, whole or not at all.
bool writeWhole(const QString& path, const QByteArray& bytes)
{
    const std::string_view body(bytes.constData(), std::size_t(bytes.size()));
    return sys::writeWhole(path.toStdString(), body).ok();
}

class IniSettings : public SettingsBackend {
public:
    explicit IniSettings(const QString& path) : path_(path)
    {
        const QFileInfo info(path_);
        if (info.exists() && !info.isFile()) {
            // A folder, a pipe or a device in its place is neither read (a
            // pipe would block the start) nor replaced: the options of this
            // run go to a private file.
            openDetached(QByteArray());
            return;
        }
        QByteArray original;
        if (QFile f(path_); info.exists() && f.open(QIODevice::ReadOnly))
            original = f.readAll();
        if (original.startsWith(kUtf8Bom)) {
            // The parser does not expect the mark: drop it from the file. A
            // file that cannot be rewritten could not take the options
            // either, so its contents are then read from a private copy.
            const QByteArray body = original.mid(kUtf8Bom.size());
            if (!writeWhole(path_, body))
                openDetached(body);
        }
        if (!settings_ && !detached_)
            settings_ = std::make_unique<QSettings>(path_, QSettings::IniFormat);
        if (settings_) {
            settings_->allKeys(); // parse now, so a damaged file is noticed before any write
            if (settings_->status() == QSettings::FormatError)
                setAside(original);
        }
    }
    ~IniSettings() override
    {
        sync();
        settings_.reset(); // writes into scratch_, if anywhere, before it goes
    }

    std::optional<std::string> read(const std::string& key) const override
    {
        if (!settings_)
            return std::nullopt;
        const QVariant v = settings_->value(QString::fromStdString(key));
        if (!v.isValid() || v.userType() == QMetaType::QStringList || v.userType() == QMetaType::QVariantList)
            return std::nullopt;
        return v.toString().toStdString();
    }

    void write(const std::string& key, const std::string& value) override
    {
        if (settings_)
            settings_->setValue(QString::fromStdString(key), QString::fromStdString(value));
    }

    bool sync() override
    {
        if (!settings_ || detached_) {
            if (settings_)
                settings_->sync();
            return false; // the file at path_ is not written
        }
        settings_->sync();
        // A format error seen while re-reading the old file does not stop the write.
        return settings_->status() != QSettings::AccessError;
    }

    bool wasCorrupt() const override { return corrupt_; }
    std::string keptCopy() const override { return keptCopy_.toStdString(); }
    std::string location() const override { return path_.toStdString(); }

private:
    void setAside(const QByteArray& original)
    {
        // Keep the damaged file for the user, then start from the defaults.
        corrupt_ = true;
        const QString aside = path_ + QStringLiteral(".corrupt");
        if (writeWhole(aside, original))
            keptCopy_ = aside;
        if (detached_ || keptCopy_.isEmpty()) {
            // Without a copy the damaged file must not be replaced: options
            // changed in this run go to a private file dropped at the end.
            openDetached(QByteArray());
        } else {
            settings_->clear();
        }
    }

    void openDetached(const QByteArray& contents)
    {
        detached_ = true;
        settings_.reset();
        scratch_ = std::make_unique<QTemporaryDir>();
        const QString file = scratch_->filePath(QStringLiteral("Kelvane.ini"));
        // No private folder: reads give the defaults and writes go nowhere.
        if (scratch_->isValid() && writeWhole(file, contents))
            settings_ = std::make_unique<QSettings>(file, QSettings::IniFormat);
    }

    QString path_;
    QString keptCopy_;
    std::unique_ptr<QTemporaryDir> scratch_; // holds the file of a detached store
    std::unique_ptr<QSettings> settings_;    // after scratch_: written into it on destruction
    bool corrupt_ = false;
    bool detached_ = false; // works on a private copy; the file at path_ is never written
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
