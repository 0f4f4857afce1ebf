#pragma once
// The few file services the core itself uses. Paths are UTF-8.
#include <string>

namespace sys {

// Whether something exists at path.
bool fileExists(const std::string& path);

// Creates the file at path when it is missing; an existing file is kept as
// it is. Returns whether the file exists and can be opened for writing.
bool createFileKeeping(const std::string& path);

} // namespace sys
