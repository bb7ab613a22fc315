#pragma once
// The folder the start-up treats as the program's: where the lookup catalogue lives and what
// becomes the application folder. It is the folder of the running executable unless a test
// points it elsewhere.
#include <string>

namespace startup {

// Ends in a path separator.
std::string ProgramFolder();

// Empty restores the folder of the running executable.
void SetProgramFolder(std::string folder);

}  // namespace startup
