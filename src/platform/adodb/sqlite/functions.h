#pragma once
// Collation and functions the embedded engine's translated statements rely on.
struct sqlite3;

namespace adodb::sqlite {

// Registers on the connection: the ES_CI collation (letter case ignored, Spanish accented
// letters included, trailing blanks ignored), a case-insensitive LIKE over the same
// letters, and the helper functions used by translated statements.
void RegisterSuiteFunctions(sqlite3* db);

}  // namespace adodb::sqlite
