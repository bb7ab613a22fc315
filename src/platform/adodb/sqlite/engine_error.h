#pragma once
// Errors of the embedded engine turned into the data-access layer's errors: the numbers,
// SQL states and readable descriptions the program tests.
#include <sqlite3.h>

#include <string>

#include "platform/adodb/error.h"
#include "platform/adodb/sqlite/dialect_error.h"

namespace adodb::sqlite {

inline constexpr char kSource[] = "Motor local SQLite";

// The error the engine reported for result code `rc` on `db`. `timeoutSeconds` is named in
// the description of a busy database.
Error EngineError(sqlite3* db, int rc, int timeoutSeconds);

// A Spanish description of the engine's result code `rc` (its primary code).
const char* DescribeResult(int rc);

Error FromDialectError(const DialectError& e);

// A connection that cannot be made: SQL state 08001, the file named in the description.
Error OpenError(const std::string& file, const std::string& reason);

}  // namespace adodb::sqlite
