#pragma once
// The suite's text order as a collation of the engine, under one name shared by the
// program, the demo database's schema and the loadable extension for the engine's shell.
#include <string>

struct sqlite3;

namespace collation {

// Letter case ignored (accented letters and Ñ/ñ included), accents significant, trailing
// blanks ignored, Spanish order. The shell's error for a database using it without the
// extension names this collation, which is also the extension's file name.
inline constexpr char kSuiteCollation[] = "suite_es";

// Registers the collation on one connection; returns the engine's result code.
int RegisterSuiteCollation(sqlite3* db);

// `sql` with every "COLLATE NOCASE" of a column declaration replaced by the suite's
// collation, so a schema written with the engine's stock collation gets the suite's one.
std::string WithSuiteCollation(const std::string& sql);

}  // namespace collation
