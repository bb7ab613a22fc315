#pragma once
// The check of the database before anything is purged: a damaged database file is found
// before the first step, while there is still nothing to undo.
#include <string>

#include "db/db_dll.h"

namespace db {

struct IntegrityVerdict {
    bool ok = true;
    bool checked = false;  // false on a server, which keeps its own files
    std::string message;   // for the operator when the database is damaged
};

// Runs the quick check of the database object's open connection, naming `gDbName` in the
// message. Raises adodb::ComError when the check itself cannot run (a closed connection, a
// busy database).
IntegrityVerdict CheckIntegrity(DB_Dll& database, int maxProblems = 5);

}  // namespace db
