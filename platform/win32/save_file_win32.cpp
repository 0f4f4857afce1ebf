// The save-file dialog on Windows: GetSaveFileNameW.
#include "platform/save_file.h"

#include "core/texts.h"
#include "sys/win32/cp936.h"

#include <windows.h>

#include <commdlg.h>

#include <string>
#include <vector>

namespace {

class Win32SaveDialog : public SaveFileService {
public:
    std::optional<SaveTarget> ask(HWND owner, const std::string& caption, const std::string& suggestedName) override
    {
        // Two filters, GBK first (the default); the index says which was
        // chosen. Each is its name, NUL, its pattern, NUL; a NUL ends the list.
        static const std::wstring kFilters = cp936::utf8ToWide(utf8(Text::GbkTextFilter)) + L'\0' + L"*.txt" + L'\0'
                                             + cp936::utf8ToWide(utf8(Text::Utf8TextFilter)) + L'\0' + L"*.txt" + L'\0';
        const std::wstring title = cp936::utf8ToWide(caption);
        std::vector<wchar_t> name(32768, L'\0');
        const std::wstring suggested = cp936::utf8ToWide(suggestedName);
        suggested.copy(name.data(), name.size() - 1);
        OPENFILENAMEW ofn{};
        ofn.lStructSize = sizeof ofn;
        ofn.hwndOwner = owner;
        ofn.lpstrFilter = kFilters.c_str(); // c_str() adds the closing NUL
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
} // namespace

SaveFileService& systemSaveDialog()
{
    static Win32SaveDialog dialog;
    return dialog;
}
