// GBK conversion with the Windows converters, code page 936 named
// explicitly (sys/win32/cp936.h).
#include "sys/gbk.h"
#include "sys/win32/cp936.h"

namespace gbk {

std::optional<std::string> fromUtf8(std::string_view utf8)
{
    if (utf8.empty())
        return std::string();
    auto wide = cp936::utf8ToWideStrict(utf8);
    if (!wide)
        return std::nullopt;
    return cp936::fromWide(*wide);
}

std::string toUtf8(std::string_view bytes, bool* ok)
{
    if (auto wide = cp936::toWide(bytes)) {
        if (ok)
            *ok = true;
        return cp936::wideToUtf8(*wide);
    }
    if (ok)
        *ok = false;
    // Character by character: each one that is not GBK becomes U+FFFD.
    std::wstring wide;
    wide.reserve(bytes.size());
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t n = charLen(bytes, at);
        const auto ch = cp936::toWide(bytes.substr(at, n));
        wide += ch && !ch->empty() ? *ch : std::wstring(1, L'\uFFFD');
        at += n;
    }
    return cp936::wideToUtf8(wide);
}

} // namespace gbk
