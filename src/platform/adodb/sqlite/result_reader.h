#pragma once
// Reads the whole result of a query into a ResultSet: fields typed from the columns'
// declared types (dates from their ISO text), computed columns typed from the translator's
// hints or, failing those, from their values. The plan's hidden key columns come last,
// named after the key column each holds, and are counted in ResultSet::hiddenColumns.
#include <sqlite3.h>

#include "platform/adodb/provider.h"
#include "platform/adodb/sqlite/schema.h"
#include "platform/adodb/sqlite/translator.h"

namespace adodb::sqlite {

// Steps `stmt` to its end. Raises ComError when the engine fails.
ResultSet ReadResult(sqlite3* db, sqlite3_stmt* stmt, const Plan& plan,
                     const SchemaSnapshot& schema, int timeoutSeconds);

}  // namespace adodb::sqlite
