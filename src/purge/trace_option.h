#pragma once
// --trace FILE: the statement log of the database object's connection, attached before the
// start-up connects so that the whole session is logged.
#include <iosfwd>
#include <optional>
#include <string>

#include "db/db_dll.h"

namespace purge {

// Attaches the log when a file was given. False, with the reason on `err`, when the file
// cannot be opened for writing.
bool AttachTrace(const std::optional<std::string>& file, db::DB_Dll& db, std::ostream& err);

}  // namespace purge
