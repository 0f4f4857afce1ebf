#pragma once
// Where the string tab's output file goes. Beside the program when its folder
// can be written (a portable copy, the build folder), so what users and
// scripts found there before stays where it was; otherwise in the user's data
// folder ($XDG_DATA_HOME/Kelvane, %LOCALAPPDATA%\Kelvane on Windows). File
// names are in the file system's own bytes (UTF-8 on Linux). No toolkit here.
#include <string>
#include <string_view>

namespace outloc {

inline constexpr std::string_view kOutputFileName = "_out.txt";
inline constexpr std::string_view kDataFolderName = "Kelvane";

// The decision. programFolder with or without a trailing separator; dataHome
// is the user's data folder ($XDG_DATA_HOME or ~/.local/share, or
// %LOCALAPPDATA%). Returns the full path of the output file: in programFolder
// when it is writable or no data folder is known, else in dataHome/Kelvane.
std::string outputFilePath(std::string_view programFolder, bool programFolderWritable, std::string_view dataHome);

// The user's data folder on Linux: $XDG_DATA_HOME when it is an absolute
// path, else home/.local/share; empty when neither is usable. Either
// argument may be null (the variable is unset).
std::string xdgDataHome(const char* xdgDataHomeVar, const char* home);

// Whether files can be created in folder by this user. An installed copy
// (the program in the folder it was installed to) never writes beside
// itself, even when run as root: a system folder is no place for test data.
bool programFolderWritable(const std::string& folder);

// The path of the output file for the running program in programFolder,
// with the user's data folder from the environment. When the data folder is
// chosen it is created (with its parents); a folder that cannot be created
// is left for the write to report.
std::string locateOutputFile(const std::string& programFolder);

} // namespace outloc
