#pragma once
// The pages' interface texts: core/texts.h, plus the tab rows of the main window.
#include "core/texts.h"

// Label and description of tab 0 (strings), 1 (numbers) and 2 (time).
inline constexpr Text kTabLabels[] = {Text::TabString, Text::TabNumber, Text::TabTime};
inline constexpr Text kTabDescriptions[] = {Text::DescString, Text::DescNumber, Text::DescTime};

inline Text tabLabel(int index) { return kTabLabels[index]; }
inline Text tabDescription(int index) { return kTabDescriptions[index]; }
