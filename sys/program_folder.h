#pragma once
// The folder of the running program, one implementation per system.
#include <string>

namespace sys {

// The folder that holds the running program's executable, as UTF-8, without
// a trailing separator; "." when the system cannot say.
std::string programFolder();

} // namespace sys
