#pragma once
// What the program told Application::configure about itself, for the parts
// of the back end that show it without a window of the program at hand (the
// About box's icon). All empty and 0 before configure.
#include "platform/app.h"

namespace win32 {
const AppInfo& appInfo();
} // namespace win32
