#pragma once
// Basic types shared by every layer.
#include <string>

class QWidget;

// Text inside the program: GBK bytes. Lengths and positions count bytes and a
// Chinese character is two bytes. Conversion to Unicode happens only where
// text meets Qt (see core/gbk.h).
using CString = std::string;

// The owner window of a box; null means no owner.
using HWND = QWidget*;
