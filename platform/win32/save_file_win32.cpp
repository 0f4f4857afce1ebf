// The save-file dialog and the file services on Windows: GetSaveFileNameW,
// and files written through the W calls. A whole-file write goes to a
// temporary file beside the target, flushed, then put in place with one
// move, so the target holds the old bytes or all the new ones.
#include "platform/save_file.h"

#include "core/win32/cp936.h"

#include <windows.h>

#include <commdlg.h>

#include <string>
#include <vector>

namespace {

class Win32SaveDialog : public SaveFileService {
public:
    std::optional<SaveTarget> ask(HWND owner, const std::string& caption, const std::string& suggestedName) override
    {
        // Two filters, GBK first (the default); the index says which was chosen.
        static const wchar_t kFilters[] = L"GBK \u6587\u672c (*.txt)\0*.txt\0UTF-8 \u6587\u672c (*.txt)\0*.txt\0";
        const std::wstring title = cp936::utf8ToWide(caption);
        std::vector<wchar_t> name(32768, L'\0');
        const std::wstring suggested = cp936::utf8ToWide(suggestedName);
        suggested.copy(name.data(), name.size() - 1);
        OPENFILENAMEW ofn{};
        ofn.lStructSize = sizeof ofn;
        ofn.hwndOwner = owner;
        ofn.lpstrFilter = kFilters;
        ofn.nFilterIndex = 1;
        ofn.lpstrFile = name.data();
        ofn.nMaxFile = DWORD(name.size());
        ofn.lpstrTitle = title.empty() ? nullptr : title.c_str();
        ofn.lpstrDefExt = L"txt";
        ofn.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_EXPLORER | OFN_HIDEREADONLY;
        if (!GetSaveFileNameW(&ofn))
            return std::nullopt;
        return SaveTarget{cp936::wideToUtf8(name.data()), ofn.nFilterIndex == 2 ? TextEncoding::Utf8 : TextEncoding::Gbk};
    }
};

// The system's words for an error, without the line end it ends with.
std::string reasonText(DWORD error)
{
    wchar_t* buf = nullptr;
    const DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM
                                       | FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, error, 0, reinterpret_cast<LPWSTR>(&buf), 0, nullptr);
    std::wstring text = n && buf ? std::wstring(buf, n) : std::wstring();
    if (buf)
        LocalFree(buf);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ' || text.back() == L'.'))
        text.pop_back();
    if (text.empty())
        text = L"error " + std::to_wstring(error);
    return cp936::wideToUtf8(text);
}

FileResult failed(FileStep step, const std::string& path, DWORD error)
{
    return FileResult{step, path, step == FileStep::SourceNotGbk ? std::string() : reasonText(error)};
}

std::wstring wide(const std::string& path) { return cp936::utf8ToWide(path); }

bool writeAll(HANDLE h, std::string_view bytes)
{
    while (!bytes.empty()) {
        const DWORD want = DWORD(bytes.size() < (1u << 30) ? bytes.size() : (1u << 30));
        DWORD done = 0;
        if (!WriteFile(h, bytes.data(), want, &done, nullptr) || done == 0)
            return false;
        bytes.remove_prefix(done);
    }
    return true;
}

// A whole-file write in progress: the temporary file beside the target.
class WholeWrite {
public:
    explicit WholeWrite(const std::string& target) : target_(wide(target))
    {
        const std::size_t slash = target_.find_last_of(L"\\/");
        const std::wstring folder = slash == std::wstring::npos ? L"." : target_.substr(0, slash);
        for (int i = 0; i < 100 && h_ == INVALID_HANDLE_VALUE; ++i) {
            temp_ = folder + L"\\.kelvane-" + std::to_wstring(GetCurrentProcessId()) + L"-"
                    + std::to_wstring(GetTickCount64() + ULONGLONG(i)) + L".tmp";
            h_ = CreateFileW(temp_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
            if (h_ == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS)
                break;
        }
        error_ = h_ == INVALID_HANDLE_VALUE ? GetLastError() : 0;
    }
    ~WholeWrite()
    {
        if (h_ != INVALID_HANDLE_VALUE) {
            CloseHandle(h_);
            DeleteFileW(temp_.c_str());
        }
    }
    bool opened() const { return h_ != INVALID_HANDLE_VALUE; }
    DWORD error() const { return error_; }
    bool write(std::string_view bytes)
    {
        if (writeAll(h_, bytes))
            return true;
        error_ = GetLastError();
        return false;
    }
    // Flushes, closes and moves the file into place.
    bool commit()
    {
        const bool flushed = FlushFileBuffers(h_) != FALSE;
        DWORD err = flushed ? 0 : GetLastError();
        const bool closed = CloseHandle(h_) != FALSE;
        h_ = INVALID_HANDLE_VALUE;
        if (!closed && !err)
            err = GetLastError();
        if (flushed && closed
            && MoveFileExW(temp_.c_str(), target_.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return true;
        error_ = err ? err : GetLastError();
        DeleteFileW(temp_.c_str());
        return false;
    }

private:
    std::wstring target_, temp_;
    HANDLE h_ = INVALID_HANDLE_VALUE;
    DWORD error_ = 0;
};

// Reads and writes of an export go in pieces of this size.
constexpr DWORD kCopyChunk = DWORD(1) << 20;

// The length of the longest prefix of piece that ends on a whole GBK
// character: a lead byte at the very end waits for the next piece.
std::size_t wholeCharacters(std::string_view piece)
{
    std::size_t i = 0;
    while (i < piece.size()) {
        const auto c = static_cast<unsigned char>(piece[i]);
        if (c < 0x80) {
            ++i;
        } else if (i + 1 < piece.size()) {
            i += 2;
        } else {
            break;
        }
    }
    return i;
}

} // namespace

SaveFileService& systemSaveDialog()
{
    static Win32SaveDialog dialog;
    return dialog;
}

namespace files {

FileResult writeWhole(const std::string& path, std::string_view bytes)
{
    WholeWrite w(path);
    if (!w.opened())
        return failed(FileStep::Create, path, w.error());
    if (!w.write(bytes))
        return failed(FileStep::Write, path, w.error());
    if (!w.commit())
        return failed(FileStep::Commit, path, w.error());
    return {};
}

FileResult removeOutput(const std::string& path)
{
    if (DeleteFileW(wide(path).c_str()))
        return {};
    const DWORD err = GetLastError();
    if (err == ERROR_FILE_NOT_FOUND || err == ERROR_PATH_NOT_FOUND)
        return {};
    return failed(FileStep::RemoveOutput, path, err);
}

FileResult writeOutput(const std::string& path, const std::function<bool(const ChunkWriter&)>& produce)
{
    const std::wstring name = wide(path);
    // Truncating: an old file that could not be removed must not leave rows
    // of its own after the new ones.
    HANDLE h = CreateFileW(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return failed(FileStep::OpenOutput, path, GetLastError());
    DWORD err = 0;
    const bool written = produce([&](std::string_view chunk) {
        if (writeAll(h, chunk))
            return true;
        err = GetLastError();
        return false;
    });
    FileResult result;
    if (!written) {
        result = failed(FileStep::WriteOutput, path, err);
        CloseHandle(h);
    } else if (!CloseHandle(h)) {
        result = failed(FileStep::CloseOutput, path, GetLastError());
    }
    if (!result.ok())
        DeleteFileW(name.c_str());
    return result;
}

FileResult copyConverted(const std::string& source, const SaveTarget& target)
{
    HANDLE in = CreateFileW(wide(source).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (in == INVALID_HANDLE_VALUE)
        return failed(FileStep::OpenSource, source, GetLastError());
    struct Closer {
        HANDLE h;
        ~Closer() { CloseHandle(h); }
    } closeIn{in};

    WholeWrite out(target.path);
    if (!out.opened())
        return failed(FileStep::Create, target.path, out.error());
    std::string piece, carry;
    piece.resize(kCopyChunk);
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(in, piece.data(), kCopyChunk, &got, nullptr))
            return failed(FileStep::ReadSource, source, GetLastError());
        if (got == 0)
            break;
        std::string_view bytes(piece.data(), got);
        if (target.encoding == TextEncoding::Gbk) {
            if (!out.write(bytes))
                return failed(FileStep::Write, target.path, out.error());
            continue;
        }
        // A Chinese character cut at the end of one piece is completed by the next.
        carry.append(bytes);
        const std::size_t whole = wholeCharacters(carry);
        const std::optional<std::wstring> text = cp936::toWide(std::string_view(carry).substr(0, whole));
        if (!text)
            return failed(FileStep::SourceNotGbk, source, 0);
        if (!out.write(cp936::wideToUtf8(*text)))
            return failed(FileStep::Write, target.path, out.error());
        carry.erase(0, whole);
    }
    if (!carry.empty()) // a lead byte with nothing after it
        return failed(FileStep::SourceNotGbk, source, 0);
    if (!out.commit())
        return failed(FileStep::Commit, target.path, out.error());
    return {};
}

} // namespace files
