#pragma once
// The start-up's process-wide state as a whole.

namespace startup {

// Exit status of a program that ends because no connection could be opened.
inline constexpr int kExitNoConnection = 2;
// Exit status of a program whose database is not one of the suite's.
inline constexpr int kExitNotASuiteDatabase = 2;

// Puts everything the start-up touches back as at program start: module state and global
// settings, the program-ended flag and exit handler, the command line, the program folder,
// the chosen connection dialog, the lookup service and the program's database object.
// Tests run many start-ups in one process.
void ResetForTests();

}  // namespace startup
