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

// Results of a modal dialog.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
