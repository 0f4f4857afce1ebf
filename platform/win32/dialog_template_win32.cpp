#include "platform/win32/dialog_template_win32.h"

#include "sys/win32/cp936.h"

#include <windows.h>

#include <commctrl.h>

#include <string>

namespace win32 {
namespace {

// Dialog templates name the font's character set: the Chinese faces of the
// tables need the GB2312 set to be matched on Windows of any language.
constexpr BYTE kFontCharset = GB2312_CHARSET;

// Appends the template's fields in order, keeping WORD and DWORD alignment.
class Writer {
public:
    void word(std::uint16_t w) { bytes_.push_back(std::uint8_t(w)), bytes_.push_back(std::uint8_t(w >> 8)); }
    void dword(std::uint32_t d) { word(std::uint16_t(d)), word(std::uint16_t(d >> 16)); }
    void byte(std::uint8_t b) { bytes_.push_back(b); }
    void text(const std::wstring& s)
    {
        for (wchar_t c : s)
            word(std::uint16_t(c));
        word(0);
    }
    void alignDword()
    {
        while (bytes_.size() % 4)
            bytes_.push_back(0);
    }
    std::vector<std::uint32_t> take()
    {
        alignDword();
        std::vector<std::uint32_t> out(bytes_.size() / 4);
        for (std::size_t i = 0; i < out.size(); ++i)
            out[i] = std::uint32_t(bytes_[4 * i]) | std::uint32_t(bytes_[4 * i + 1]) << 8
                     | std::uint32_t(bytes_[4 * i + 2]) << 16 | std::uint32_t(bytes_[4 * i + 3]) << 24;
        return out;
    }

private:
    std::vector<std::uint8_t> bytes_;
};

} // namespace

ControlStyle controlStyle(const ControlDef& def)
{
    std::uint32_t style = WS_CHILD | WS_VISIBLE;
    std::uint32_t ex = 0;
    const std::uint32_t s = def.style;
    if (s & cs::TabStop)
        style |= WS_TABSTOP;
    if (s & cs::Group)
        style |= WS_GROUP;
    if (s & cs::Disabled)
        style |= WS_DISABLED;
    if (s & cs::Border)
        style |= WS_BORDER;
    if (s & cs::VScroll)
        style |= WS_VSCROLL;
    switch (def.kind) {
    case ControlKind::CheckBox:
        return {L"BUTTON", style | BS_AUTOCHECKBOX, ex};
    case ControlKind::PushButton:
        return {L"BUTTON", style | BS_PUSHBUTTON, ex};
    case ControlKind::Static:
        return {L"STATIC", style | SS_LEFT, ex};
    case ControlKind::TabControl:
        // Its pages are children of it: Tab walks into them.
        return {WC_TABCONTROLW, style | WS_CLIPSIBLINGS, WS_EX_CONTROLPARENT};
    case ControlKind::Edit:
    case ControlKind::DigitEdit:
    case ControlKind::OutputEdit:
        break;
    }
    if (s & cs::AutoHScroll)
        style |= ES_AUTOHSCROLL;
    if (def.kind == ControlKind::DigitEdit)
        style |= ES_NUMBER;
    if (def.kind == ControlKind::OutputEdit) {
        style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_NOHIDESEL;
        if (s & cs::WantReturn)
            style |= ES_WANTRETURN;
    }
    return {L"EDIT", style | ES_LEFT, ex};
}

DialogStyle dialogStyle(const DialogTemplate& tmpl)
{
    const std::uint32_t s = tmpl.style;
    std::uint32_t style = 0;
    std::uint32_t ex = 0;
    if (s & ds::Popup)
        style |= WS_POPUP | DS_CENTER;
    if (s & ds::Child)
        // A page: its controls take part in the keyboard handling of the
        // window it sits in.
        style |= WS_CHILD | DS_CONTROL;
    if (s & ds::Visible)
        style |= WS_VISIBLE;
    if (s & ds::Caption)
        style |= WS_CAPTION;
    if (s & ds::SysMenu)
        style |= WS_SYSMENU;
    if (s & ds::MinimizeBox)
        style |= WS_MINIMIZEBOX;
    if (s & ds::ModalFrame)
        style |= DS_MODALFRAME;
    if (s & ds::SetFont)
        style |= DS_SETFONT;
    if (s & ds::AppWindow)
        ex |= WS_EX_APPWINDOW;
    return {style, ex};
}

std::vector<std::uint32_t> buildDialogTemplate(const DialogTemplate& tmpl)
{
    const DialogStyle ds = dialogStyle(tmpl);
    Writer w;
    w.word(1);      // dlgVer
    w.word(0xFFFF); // signature: extended template
    w.dword(0);     // helpID
    w.dword(ds.exStyle);
    w.dword(ds.style);
    w.word(std::uint16_t(tmpl.controls.size()));
    w.word(0), w.word(0); // x, y: centred or placed by the owner
    w.word(std::uint16_t(tmpl.w)), w.word(std::uint16_t(tmpl.h));
    w.word(0); // no menu
    w.word(0); // the dialog class
    w.text(cp936::utf8ToWide(tmpl.caption ? tmpl.caption : ""));
    if (ds.style & DS_SETFONT) {
        w.word(std::uint16_t(tmpl.fontPoints));
        w.word(FW_NORMAL);
        w.byte(0); // not italic
        w.byte(kFontCharset);
        w.text(cp936::utf8ToWide(tmpl.fontFace ? tmpl.fontFace : ""));
    }
    for (const ControlDef& def : tmpl.controls) {
        const ControlStyle cs = controlStyle(def);
        w.alignDword();
        w.dword(0); // helpID
        w.dword(cs.exStyle);
        w.dword(cs.style);
        w.word(std::uint16_t(def.x)), w.word(std::uint16_t(def.y));
        w.word(std::uint16_t(def.w)), w.word(std::uint16_t(def.h));
        w.dword(std::uint32_t(def.id)); // kNoId: 0xFFFFFFFF, the static text id
        w.text(cs.className);
        w.text(cp936::utf8ToWide(def.text ? def.text : ""));
        w.word(0); // no creation data
    }
    return w.take();
}

} // namespace win32
