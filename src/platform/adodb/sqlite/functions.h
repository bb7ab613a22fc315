#pragma once
// Collation and functions the embedded engine's translated statements rely on.
struct sqlite3;

namespace adodb::sqlite {

// Registers on the connection: the suite's collation (collation::kSuiteCollation: (letter case
// ignored, Spanish accented letters included, trailing blanks ignored, Spanish order), a
// case-insensitive LIKE over the same letters, and the helper functions used by translated
// statements.
void RegisterSuiteFunctions(sqlite3* db);

}  // namespace adodb::sqlite
