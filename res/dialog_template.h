#pragma once
// The format of dialog templates, as plain data: a dialog's size, caption,
// font and styles, and its controls in template order (which is also the tab
// order). Positions and sizes are dialog units, which each back end turns
// into pixels with the base units of the dialog's font. Texts are UTF-8.
// The program's templates (templates.h) and the dialog layer that builds
// windows from them both include this; it includes nothing of either.
#include <cstdint>
#include <span>

// Id of a control the program never addresses (a label).
inline constexpr int kNoId = -1;

enum class ControlKind {
    CheckBox,   // automatic check box: a click toggles it
    Edit,       // single-line edit
    DigitEdit,  // single-line edit that takes typed digits only
    OutputEdit, // multi-line edit: no wrapping, vertical scroll bar, editable
    PushButton,
    Static,     // static text
    TabControl, // tabs; pages are laid over its client area by the owner
};

// Control styles (bits of ControlDef::style).
namespace cs {
enum : std::uint32_t {
    TabStop = 1u << 0,     // reached with the Tab key
    Group = 1u << 1,       // first control of a group
    Disabled = 1u << 2,    // created disabled
    Border = 1u << 3,      // edit with a border
    AutoHScroll = 1u << 4, // edit scrolls horizontally instead of stopping at its width
    VScroll = 1u << 5,     // vertical scroll bar
    WantReturn = 1u << 6,  // Enter makes a new line in a multi-line edit
    Left = 1u << 7,        // left-aligned text
};
} // namespace cs

// Dialog styles (bits of DialogTemplate::style).
namespace ds {
enum : std::uint32_t {
    Popup = 1u << 0,       // a top-level window
    Child = 1u << 1,       // a child window (a tab page)
    Visible = 1u << 2,
    Caption = 1u << 3,     // title bar
    SysMenu = 1u << 4,     // window menu and close button
    MinimizeBox = 1u << 5,
    ModalFrame = 1u << 6,  // fixed, dialog-style frame: not resizable
    SetFont = 1u << 7,     // the template names its font
    AppWindow = 1u << 8,   // listed in the task bar
};
} // namespace ds

struct ControlDef {
    int id;              // kNoId when none
    ControlKind kind;
    std::uint32_t style; // cs:: bits
    int x, y, w, h;      // dialog units
    const char* text;    // initial text, UTF-8
};

struct DialogTemplate {
    int id;
    int w, h;                 // client size, dialog units
    const char* caption;      // UTF-8; empty for a child dialog
    const char* fontFace;     // UTF-8
    int fontPoints;
    std::uint32_t style;      // ds:: bits
    std::span<const ControlDef> controls; // template order = tab order
};
