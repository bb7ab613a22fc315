#pragma once
// The program's arguments as the start-up reads them (set by SetCommandLine).
#include <string>

namespace startup {

// The arguments after the program name, joined by single blanks.
const std::string& CommandLineText();

// Overwrites with blanks, in the process's own argument strings, the value of the first
// "@Password" item, so other users of the machine do not see the password in the process
// list. CommandLineText() keeps its copy.
void BlankPasswordInArguments();

}  // namespace startup
