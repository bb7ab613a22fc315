#pragma once
// The engine's C calls used everywhere in the provider, each raising the data-access
// layer's error (ComError) when the engine refuses. `timeoutSeconds` is named in the
// description of a busy database.
#include <sqlite3.h>

#include <string_view>

#include "platform/adodb/sqlite/handles.h"

namespace adodb::sqlite {

StatementHandle PrepareStatement(sqlite3* db, std::string_view sql, int timeoutSeconds);

// Runs a statement that returns no rows (rows it does return are skipped) and readies it
// for its next use.
void StepToEnd(sqlite3* db, sqlite3_stmt* stmt, int timeoutSeconds);

// Runs one or more statements given as text (transaction and savepoint statements, DDL).
void ExecStatements(sqlite3* db, const char* sql, int timeoutSeconds);

}  // namespace adodb::sqlite
