#pragma once
// The pages' interface texts: core/texts.h, plus the tab rows of the main window.
#include "core/texts.h"

inline Text tabLabel(int index) { return Text(int(Text::TabString) + index); }
inline Text tabDescription(int index) { return Text(int(Text::DescString) + index); }
