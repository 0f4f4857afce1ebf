// The real boxes: MessageBoxW, modal to their owner (or the active window).
// The plain box has the empty caption and no icon, the warning box the
// system's warning icon, About the program's icon (Application::configure).
#include "platform/boxes.h"

#include "sys/win32/cp936.h"
#include "platform/win32/app_info.h"

#include <windows.h>

namespace {
class Win32Boxes : public BoxService {
public:
    void show(const BoxRequest& box) override
    {
        const std::wstring caption = cp936::utf8ToWide(box.caption);
        const std::wstring text = cp936::utf8ToWide(box.text);
        MSGBOXPARAMSW p{};
        p.cbSize = sizeof p;
        p.hwndOwner = box.owner ? box.owner : GetActiveWindow();
        p.hInstance = GetModuleHandleW(nullptr);
        p.lpszCaption = caption.c_str();
        p.lpszText = text.c_str();
        p.dwStyle = MB_OK;
        switch (box.kind) {
        case BoxKind::Plain:
            break;
        case BoxKind::Warning:
            p.dwStyle |= MB_ICONWARNING;
            break;
        case BoxKind::About:
            if (const int icon = win32::appInfo().iconGroup) {
                p.dwStyle |= MB_USERICON;
                p.lpszIcon = MAKEINTRESOURCEW(icon);
            }
            break;
        }
        MessageBoxIndirectW(&p);
    }
};
} // namespace

BoxService& systemBoxes()
{
    static Win32Boxes boxes;
    return boxes;
}
