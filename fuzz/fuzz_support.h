#pragma once
// Shared pieces of the fuzz targets: one core for the whole process with its
// store in a private folder, a seeded random source renewed for every input
// (so an input always makes the same rows), the line format of the inputs, a
// check that stops the run with a message, and the GBK conversions.
#include "core/ccore.h"
#include "core/core_options.h"
#include "core/gbk.h"
#include "core/gbk_chars.h"
#include "core/types.h"

#include <QStringDecoder>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fuzz {

// Stops the run (libFuzzer keeps the input) when cond is false.
inline void check(bool cond, const char* what, std::string_view detail = {})
{
    if (cond)
        return;
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    if (!detail.empty())
        std::fprintf(stderr, "  detail (%zu bytes): %.*s\n", detail.size(), int(std::min<std::size_t>(detail.size(), 400)),
                     detail.data());
    std::abort();
}

// The input split at '\n'; lines past the end read as empty. No GBK
// character holds the byte 0x0A, so a line is always whole characters.
class Lines {
public:
    Lines(const uint8_t* data, std::size_t size)
    {
        const std::string_view all(reinterpret_cast<const char*>(data), size);
        std::size_t start = 0;
        for (;;) {
            const std::size_t nl = all.find('\n', start);
            lines_.emplace_back(all.substr(start, nl == all.npos ? all.npos : nl - start));
            if (nl == all.npos)
                break;
            start = nl + 1;
        }
    }
    const std::string& operator[](std::size_t i) const
    {
        static const std::string empty;
        return i < lines_.size() ? lines_[i] : empty;
    }
    bool has(std::size_t line, char flag) const { return (*this)[line].find(flag) != std::string::npos; }

private:
    std::vector<std::string> lines_;
};

// The process's g_core: store in a temporary folder, seeded random source.
class Core {
public:
    static Core& get()
    {
        static Core core;
        return core;
    }
    // A fresh seeded source, so the draws of one input do not depend on the
    // inputs before it.
    void reseed() { core_->setRandom(std::make_unique<RandomGen>(RandomGen::seeded("kelvane-fuzz"))); }

private:
    Core()
    {
        CoreOptions o;
        // As UTF-8 C strings, which the option fields take whatever text type they use.
        const QByteArray config = dir_.filePath(QStringLiteral("Kelvane.ini")).toUtf8();
        const QByteArray app = dir_.path().toUtf8();
        o.configPath = config.constData();
        o.appPath = app.constData();
        o.random = std::make_unique<RandomGen>(RandomGen::seeded("kelvane-fuzz"));
        core_ = std::make_unique<CCore>(std::move(o));
        g_core = core_.get();
    }
    QTemporaryDir dir_;
    std::unique_ptr<CCore> core_;
};

// The conversions, in UTF-8 terms, so that the targets hold no toolkit text.

// GBK bytes to UTF-8; *ok tells whether the bytes were valid GBK.
inline std::string gbkToUtf8(std::string_view bytes, bool* ok)
{
    return gbk::toUtf8(bytes, ok);
}

inline bool isValidGbk(std::string_view bytes)
{
    bool ok = false;
    gbkToUtf8(bytes, &ok);
    return ok;
}

// UTF-8 to GBK bytes, or nothing when GBK cannot hold the text.
inline std::optional<std::string> utf8ToGbk(std::string_view utf8)
{
    return gbk::fromUtf8(utf8);
}

// The first character of UTF-8 text that GBK cannot hold, as UTF-8.
inline std::string firstUnencodable(std::string_view utf8)
{
    return gbk::firstUnencodable(utf8);
}

inline bool isValidUtf8(std::string_view bytes)
{
    QStringDecoder dec(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = dec(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
    return !dec.hasError();
}

// The characters of s, each as its bytes.
inline std::vector<std::string> gbkChars(std::string_view s)
{
    std::vector<std::string> out;
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t n = gbk::charLen(s, i);
        out.emplace_back(s.substr(i, n));
        i += n;
    }
    return out;
}

// The rows of a run: each row must end with CR LF; nothing when one does not.
inline std::optional<std::vector<std::string>> splitRows(std::string_view run)
{
    std::vector<std::string> rows;
    std::size_t start = 0;
    while (start < run.size()) {
        const std::size_t nl = run.find('\n', start);
        if (nl == run.npos || nl == start || run[nl - 1] != '\r')
            return std::nullopt;
        rows.emplace_back(run.substr(start, nl - 1 - start));
        start = nl + 1;
    }
    return rows;
}

} // namespace fuzz
