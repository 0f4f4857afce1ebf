#include "core/config_store.h"

#include "core/gbk.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

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
} // namespace

QString ConfigStore::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
           + QStringLiteral("/Kelvane/Kelvane.ini");
}

ConfigStore::ConfigStore(const QString& path) : path_(path)
{
    settings_ = std::make_unique<QSettings>(path_, QSettings::IniFormat);
    settings_->allKeys(); // parse now, so a damaged file is noticed before any write
    if (settings_->status() == QSettings::FormatError) {
        // Keep the damaged file for the user, then start from the defaults.
        corrupt_ = true;
        const QString aside = path_ + QStringLiteral(".corrupt");
        QFile::remove(aside);
        QFile::copy(path_, aside);
        settings_->clear();
    }
}

ConfigStore::~ConfigStore()
{
    sync();
}

std::optional<QVariant> ConfigStore::raw(const std::string& key) const
{
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
        if (auto bytes = gbk::encode(v->toString()))
            return *bytes;
    }
    return gbk::encode(configDefault(key).toString()).value_or(std::string());
}

void ConfigStore::setB(const std::string& key, int value)
{
    settings_->setValue(keyOf(key), value ? 1 : 0);
}

void ConfigStore::setInt(const std::string& key, int value)
{
    settings_->setValue(keyOf(key), value);
}

void ConfigStore::setStr(const std::string& key, const std::string& value)
{
    settings_->setValue(keyOf(key), gbk::decode(value));
}

bool ConfigStore::sync()
{
    settings_->sync();
    // A format error seen while re-reading the old file does not stop the write.
    return settings_->status() != QSettings::AccessError;
}
