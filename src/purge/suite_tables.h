#pragma once
// Whether a database is one of the suite's: before anything is read or purged, the tables
// the purge works on must be there. A database file of another program, or an empty one,
// is refused with a message that says so instead of a stream of failing statements.
#include <optional>
#include <string>

#include "db/db_dll.h"

namespace purge {

// Nothing when the database holds the tables; otherwise the message to show.
std::optional<std::string> NotASuiteDatabase(db::DB_Dll& db);

}  // namespace purge
