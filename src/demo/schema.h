#pragma once
// The suite's tables as the embedded engine holds them.
//
// Conventions of the suite's database kept here: dates are DATETIME columns holding
// ISO-8601 text "YYYY-MM-DD HH:MM:SS" (always with the time of day); codes and texts are
// VARCHAR(n) compared without letter case; quantities and amounts are NUMERIC(18,4); flags
// are INT or BIT; ID columns are INTEGER PRIMARY KEY. Names holding a blank ("FECHA HASTA",
// "NUMERO ASIENTO") are kept as the suite spells them.
#include <string>
#include <vector>

struct sqlite3;

namespace demo {

// The whole schema: tables, then indexes and views.
const std::string& SchemaSql();
// The two halves of SchemaSql(), so that a bulk load can build the indexes after the rows.
const std::string& TablesSql();
const std::string& IndexesAndViewsSql();

// Creates every table, index and view on a connection to an empty database.
// Throws std::runtime_error with the engine's message on failure.
void CreateSchema(sqlite3* db);

// Names of the tables (not the views), in creation order.
const std::vector<std::string>& TableNames();

}  // namespace demo
