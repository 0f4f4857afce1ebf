#include "core/config_store.h"

#include "core/gbk.h"
#include "core/texts.h"

#include <charconv>
#include <climits>
#include <cstdint>

namespace {
// A whole decimal integer, blanks around it allowed; nothing else.
bool toIntStrict(const std::string& text, int* out)
{
    std::size_t b = 0, e = text.size();
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; };
    while (b < e && blank(text[b]))
        ++b;
    while (e > b && blank(text[e - 1]))
        --e;
    if (b < e && text[b] == '+')
        ++b;
    std::int64_t n = 0;
    const auto [p, ec] = std::from_chars(text.data() + b, text.data() + e, n);
    if (b == e || ec != std::errc() || p != text.data() + e || n < INT_MIN || n > INT_MAX)
        return false;
    *out = int(n);
    return true;
}
} // namespace

ConfigStore::ConfigStore(std::unique_ptr<SettingsBackend> backend) : backend_(std::move(backend)) {}

ConfigStore::~ConfigStore()
{
    sync();
}

int ConfigStore::getB(const OptionDef& option) const
{
    int n = 0;
    if (auto v = backend_->read(option.key); v && toIntStrict(*v, &n) && (n == 0 || n == 1))
        return n;
    // A missing or unusable flag falls back to its first-run value, 0 or 1.
    return option.firstInt != 0 ? 1 : 0;
}

int ConfigStore::getInt(const OptionDef& option) const
{
    int n = 0;
    if (auto v = backend_->read(option.key); v && toIntStrict(*v, &n) && n >= option.min && n <= option.max)
        return n;
    return option.firstInt;
}

std::string ConfigStore::getStr(const OptionDef& option) const
{
    // A number is handed out checked, as its decimal text.
    if (option.kind != OptionKind::Text)
        return std::to_string(getInt(option));
    if (auto v = backend_->read(option.key)) {
        // A text GBK cannot hold (edited by hand) falls back to the default.
        if (auto bytes = gbk::fromUtf8(*v)) {
            // A NUL (put into the store by hand) ends the text, so that it
            // never reaches a control or a generated row.
            if (const auto nul = bytes->find('\0'); nul != std::string::npos)
                bytes->resize(nul);
            return *bytes;
        }
    }
    return option.firstText;
}

void ConfigStore::setB(const OptionDef& option, int value)
{
    backend_->write(option.key, value ? "1" : "0");
}

void ConfigStore::setInt(const OptionDef& option, int value)
{
    backend_->write(option.key, std::to_string(value));
}

void ConfigStore::setStr(const OptionDef& option, const std::string& value)
{
    backend_->write(option.key, gbk::toUtf8(value));
}

bool ConfigStore::sync()
{
    return backend_->sync();
}

std::string ConfigStore::setAsideNotice() const
{
    if (!wasCorrupt())
        return {};
    // A character GBK cannot hold (in a folder name) shows as '?' rather
    // than losing the whole message.
    const std::string kept = keptCopy();
    if (kept.empty())
        return gbk::fromUtf8Lossy(utf8(Text::StoreSetAsideNoCopy, {path()}));
    return gbk::fromUtf8Lossy(utf8(Text::StoreSetAside, {path(), kept}));
}
