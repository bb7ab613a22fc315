#pragma once
// Writes one change of an updatable recordset with bound parameters. Values are converted
// to what the column holds: dates as ISO text (a text is read in the session's date order),
// numbers from texts written with the regional separators.
#include <sqlite3.h>

#include "platform/adodb/provider.h"
#include "platform/adodb/sqlite/schema.h"
#include "platform/text/regional.h"

namespace adodb::sqlite {

// Returns the rows affected. Raises ComError (a value that does not convert: -2147217913,
// nothing written).
long WriteChange(sqlite3* db, const RowChange& change, const SchemaSnapshot& schema,
                 const text::RegionalSettings& dates, int timeoutSeconds);

}  // namespace adodb::sqlite
