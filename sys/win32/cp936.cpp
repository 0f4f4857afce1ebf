#include "sys/win32/cp936.h"

#include <windows.h>

#include <climits>

namespace cp936 {
namespace {

std::optional<std::wstring> decode(UINT codePage, DWORD flags, std::string_view bytes)
{
    if (bytes.empty())
        return std::wstring();
    if (bytes.size() > INT_MAX)
        return std::nullopt;
    const int inLen = int(bytes.size());
    const int n = MultiByteToWideChar(codePage, flags, bytes.data(), inLen, nullptr, 0);
    if (n <= 0)
        return std::nullopt;
    std::wstring out(std::size_t(n), L'\0');
    if (MultiByteToWideChar(codePage, flags, bytes.data(), inLen, out.data(), n) != n)
        return std::nullopt;
    return out;
}

} // namespace

std::optional<std::wstring> keepIfRoundTrips(std::string_view gbk, std::optional<std::wstring> decoded)
{
    if (decoded && fromWide(*decoded) != std::string(gbk))
        return std::nullopt;
    return decoded;
}

std::optional<std::wstring> toWide(std::string_view gbk)
{
    return keepIfRoundTrips(gbk, decode(kCodePage, MB_ERR_INVALID_CHARS, gbk));
}

std::optional<std::string> fromWide(std::wstring_view text)
{
    if (text.empty())
        return std::string();
    if (text.size() > INT_MAX)
        return std::nullopt;
    const int inLen = int(text.size());
    BOOL usedDefault = FALSE;
    const int n = WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, text.data(), inLen, nullptr, 0,
                                      nullptr, &usedDefault);
    if (n <= 0 || usedDefault)
        return std::nullopt;
    std::string out(std::size_t(n), '\0');
    if (WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, text.data(), inLen, out.data(), n, nullptr,
                            &usedDefault) != n
        || usedDefault)
        return std::nullopt;
    return out;
}

std::wstring toWideLossy(std::string_view gbk)
{
    return decode(kCodePage, 0, gbk).value_or(std::wstring());
}

std::wstring utf8ToWide(std::string_view utf8)
{
    return decode(CP_UTF8, 0, utf8).value_or(std::wstring());
}

std::optional<std::wstring> utf8ToWideStrict(std::string_view utf8)
{
    return decode(CP_UTF8, MB_ERR_INVALID_CHARS, utf8);
}

std::string wideToUtf8(std::wstring_view text)
{
    if (text.empty() || text.size() > INT_MAX)
        return {};
    const int inLen = int(text.size());
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), inLen, nullptr, 0, nullptr, nullptr);
    if (n <= 0)
        return {};
    std::string out(std::size_t(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), inLen, out.data(), n, nullptr, nullptr);
    return out;
}

} // namespace cp936
