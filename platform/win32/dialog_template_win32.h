#pragma once
// A DialogTemplate (the program's control tables) as the in-memory extended
// dialog template the Windows dialog manager builds windows from, so that
// Windows lays the dialogs out itself, in dialog units of the template font.
#include "res/dialog_template.h"

#include <cstdint>
#include <vector>

namespace win32 {

// Window class and styles of a control of the table.
struct ControlStyle {
    const wchar_t* className;
    std::uint32_t style;
    std::uint32_t exStyle;
};
ControlStyle controlStyle(const ControlDef& def);

// Window styles of the dialog itself.
struct DialogStyle {
    std::uint32_t style;
    std::uint32_t exStyle;
};
DialogStyle dialogStyle(const DialogTemplate& tmpl);

// The DLGTEMPLATEEX bytes of tmpl, in DWORD-aligned storage as the dialog
// functions require. Controls keep their template order, which is the tab
// order; a control without id gets the id of a static text (-1).
std::vector<std::uint32_t> buildDialogTemplate(const DialogTemplate& tmpl);

} // namespace win32
