#pragma once
// What a command-line program needs from the system: its arguments as
// UTF-8, standard error in a form the user can read, whether it is a
// terminal, and how a closed pipe ends the program.
#include <string>
#include <string_view>
#include <vector>

namespace sys {

// Call first in main: a write to a closed pipe then fails (and the program
// ends quietly) instead of ending the program by a signal; standard output
// takes the bytes it is given as they are.
void prepareCommandLine();

// The program's arguments after its name, as UTF-8 (on Windows from the
// UTF-16 command line, so any character survives the ANSI code page).
std::vector<std::string> commandLineArguments(int argc, char** argv);

// Writes utf8 to standard error in a form the user can read: in the
// terminal's encoding, or as Unicode to a Windows console.
void printError(std::string_view utf8);
// The same with a line end.
void printErrorLine(std::string_view utf8);

// True while standard error is a terminal (progress lines go there).
bool stderrIsTerminal();

} // namespace sys
