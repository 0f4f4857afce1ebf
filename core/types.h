#pragma once
// Basic types shared by every layer.
#include <string>

// Text inside the program: GBK bytes. Lengths and positions count bytes and a
// Chinese character is two bytes. Conversion to Unicode happens only where
// text meets the system (see core/gbk.h).
using CString = std::string;

// A window as the system knows it: the owner of a box. Opaque here; each
// back end of the dialog layer maps its windows to it. Null means no owner.
struct HWND__;
typedef HWND__* HWND;
