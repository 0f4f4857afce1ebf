#pragma once
// What each system says about the folders of the output file
// (sys/output_location.cpp decides with these).
#include <string>
#include <vector>

namespace outloc {

// Whether c separates the parts of a path.
bool isSeparator(char c);

// The user's data folder from the environment ($XDG_DATA_HOME or
// ~/.local/share on Linux, %LOCALAPPDATA% on Windows); empty when unknown.
std::string userDataFolder();

// Whether this user can create files in folder (it exists).
bool canCreateFilesIn(const std::string& folder);

// The folders where installed programs live, which never take test data.
std::vector<std::string> systemProgramFolders();

} // namespace outloc
