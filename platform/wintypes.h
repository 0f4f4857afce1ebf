#pragma once
// The few Windows-style scalar names the dialog classes use in their
// signatures, so that page code reads like the dialog code it stands for.

using BOOL = int;
using UINT = unsigned int;

#ifndef TRUE
inline constexpr BOOL TRUE = 1;
#endif
#ifndef FALSE
inline constexpr BOOL FALSE = 0;
#endif

// Results of a modal dialog. The Windows headers define them as macros with
// the same values; a Windows file may include them before or after this one.
#ifndef IDOK
inline constexpr int IDOK = 1;
#endif
#ifndef IDCANCEL
inline constexpr int IDCANCEL = 2;
#endif

// A rectangle in pixels, right and bottom exclusive.
struct CRect {
    int left = 0, top = 0, right = 0, bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    // Moves each edge inwards by the given amounts (negative: outwards).
    CRect Deflated(int l, int t, int r, int b) const { return {left + l, top + t, right - r, bottom - b}; }
    bool operator==(const CRect&) const = default;
};
