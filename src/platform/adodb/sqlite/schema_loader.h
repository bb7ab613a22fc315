#pragma once
// Reads the schema of an open database: tables and views with their declared columns.
#include <sqlite3.h>

#include "platform/adodb/sqlite/schema.h"

namespace adodb::sqlite {

// Raises ComError when the schema cannot be read (for example, a file that is no database).
SchemaSnapshot LoadSchema(sqlite3* db);

}  // namespace adodb::sqlite
