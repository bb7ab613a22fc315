#pragma once
// Batch mode: the same start-up, validation, run and steps as the window, for administrators
// who purge from a script or a scheduler. Message boxes go to `err` with their titles and are
// answered without waiting (the confirmation by --yes, or on the terminal); the result table
// goes to `out`.
#include <iosfwd>

#include "purge/batch_options.h"

namespace purge {

inline constexpr int kExitCommitted = 0;   // every step committed
inline constexpr int kExitStepFailed = 1;  // some step rolled back or was abandoned
inline constexpr int kExitNotStarted = 2;  // bad arguments, no connection, input refused

// Takes over the process-wide prompter, connection dialog and exit handler; meant to run once,
// from main. `argv` is the program's own argument vector (the password in the parameter
// string is blanked in it once read).
int RunBatch(const CommandLineOptions& options, int argc, char** argv, std::ostream& out,
             std::ostream& err);

}  // namespace purge
