#pragma once
// A demo database opened through the data-access layer as the program opens it, for the
// embedded engine's targets, with the row counts of the tables a purge deletes from.
#include <string>

#include "platform/adodb/connection.h"

namespace fuzzsupport {

struct EngineFixture {
    adodb::Connection connection;
    // Total rows of the twelve purged tables.
    long long PurgedRows();
};

// Made on first use in the scratch folder: demo data at the smallest scale, cut down to
// `rowsPerTable` rows per table when that is not 0 (so that joins of many tables stay quick).
EngineFixture& Engine(int rowsPerTable = 0);

// Runs `sql` in a transaction that is then rolled back. True when it ran; `changed` is the
// difference of PurgedRows() before and after, measured inside the transaction.
bool RunAndUndo(EngineFixture& engine, const std::string& sql, long long& changed);

}  // namespace fuzzsupport
