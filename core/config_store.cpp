#include "core/config_store.h"

#include "core/gbk.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <climits>

namespace {
QString keyOf(const std::string& key)
{
    return gbk::decode(key);
}

bool toIntStrict(const QVariant& v, int* out)
{
    bool ok = false;
    const qlonglong n = v.toString().trimmed().toLongLong(&ok);
    if (!ok || n < INT_MIN || n > INT_MAX)
        return false;
    *out = int(n);
    return true;
}

const QByteArray kUtf8Bom("\xEF\xBB\xBF");

// Replaces the file at path with bytes, whole or not at all.
bool writeWhole(const QString& path, const QByteArray& bytes)
{
    QSaveFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size() && f.flush() && f.commit();
}

// GBK text for a message; a character GBK cannot hold (in a folder name)
// shows as '?' rather than losing the whole message.
std::string gbkForMessage(const QString& text)
{
    if (auto bytes = gbk::encode(text))
        return *bytes;
    std::string out;
    for (const char32_t c : text.toUcs4())
        out += gbk::encode(QString::fromUcs4(&c, 1)).value_or("?");
    return out;
}
} // namespace

QString ConfigStore::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
           + QStringLiteral("/Kelvane/Kelvane.ini");
}

ConfigStore::ConfigStore(const QString& path) : path_(path)
{
    const QFileInfo info(path_);
    if (info.exists() && !info.isFile()) {
        // A folder, a pipe or a device in its place is neither read (a pipe
        // would block the start) nor replaced: the options of this run go
        // to a private file.
        openDetached(QByteArray());
        return;
    }
    QByteArray original;
    if (QFile f(path_); info.exists() && f.open(QIODevice::ReadOnly))
        original = f.readAll();
    if (original.startsWith(kUtf8Bom)) {
        // The parser does not expect the mark: drop it from the file. A file
        // that cannot be rewritten could not take the options either, so
        // its contents are then read from a private copy.
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

ConfigStore::~ConfigStore()
{
    sync();
    settings_.reset(); // writes into scratch_, if anywhere, before it goes
}

void ConfigStore::setAside(const QByteArray& original)
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

void ConfigStore::openDetached(const QByteArray& contents)
{
    detached_ = true;
    settings_.reset();
    scratch_ = std::make_unique<QTemporaryDir>();
    const QString file = scratch_->filePath(QStringLiteral("Kelvane.ini"));
    // No private folder: reads give the defaults and writes go nowhere.
    if (scratch_->isValid() && writeWhole(file, contents))
        settings_ = std::make_unique<QSettings>(file, QSettings::IniFormat);
}

std::string ConfigStore::setAsideNotice() const
{
    if (!corrupt_)
        return {};
    const QString file = QDir::toNativeSeparators(path_);
    if (keptCopy_.isEmpty())
        return gbkForMessage(QStringLiteral("选项文件“%1”无法解析，且无法另存副本；本次使用默认选项，不会改写该文件。").arg(file));
    return gbkForMessage(QStringLiteral("选项文件“%1”无法解析，已将其另存为“%2”，各选项已恢复为默认值。")
                             .arg(file, QDir::toNativeSeparators(keptCopy_)));
}

std::optional<QVariant> ConfigStore::raw(const std::string& key) const
{
    if (!settings_)
        return std::nullopt;
    const QVariant v = settings_->value(keyOf(key));
    if (!v.isValid() || v.userType() == QMetaType::QStringList || v.userType() == QMetaType::QVariantList)
        return std::nullopt;
    return v;
}

int ConfigStore::getB(const std::string& key) const
{
    int n = 0;
    if (auto v = raw(key); v && toIntStrict(*v, &n) && (n == 0 || n == 1))
        return n;
    // A missing or unusable flag falls back to its default, which is 0 or 1.
    const QVariant d = configDefault(key);
    return d.isValid() && d.toInt() != 0 ? 1 : 0;
}

int ConfigStore::getInt(const std::string& key) const
{
    int n = 0;
    if (auto v = raw(key); v && toIntStrict(*v, &n))
        return n;
    return configDefault(key).toInt();
}

std::string ConfigStore::getStr(const std::string& key) const
{
    if (auto v = raw(key)) {
        // A text that GBK cannot hold (edited by hand) falls back to the default.
        if (auto bytes = gbk::encode(v->toString())) {
            // A NUL (put into the file by hand) ends the text, so that it
            // never reaches a control or a generated row.
            if (const auto nul = bytes->find('\0'); nul != std::string::npos)
                bytes->resize(nul);
            return *bytes;
        }
    }
    return gbk::encode(configDefault(key).toString()).value_or(std::string());
}

void ConfigStore::setB(const std::string& key, int value)
{
    if (settings_)
        settings_->setValue(keyOf(key), value ? 1 : 0);
}

void ConfigStore::setInt(const std::string& key, int value)
{
    if (settings_)
        settings_->setValue(keyOf(key), value);
}

void ConfigStore::setStr(const std::string& key, const std::string& value)
{
    if (settings_)
        settings_->setValue(keyOf(key), gbk::decode(value));
}

bool ConfigStore::sync()
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
