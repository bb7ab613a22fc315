#pragma once
// Helpers for the embedded engine's tests: a database file built directly with the engine,
// connection strings that select the embedded engine, and rows rendered as text.
#include <string>
#include <vector>

#include "platform/adodb/connection.h"
#include "platform/adodb/provider.h"
#include "platform/adodb/variant.h"

namespace sqlitetest {

// Creates `file` and runs `sql` (the engine's own dialect, several statements) on it.
void CreateDatabase(const std::string& file, const std::string& sql);

// How the suite names an embedded database: an SQL Server provider with a file.
std::string ConnectionStringFor(const std::string& file);

// A value as text: Null -> "NULL", dates in ISO form, numbers without trailing zeros.
std::string Render(const adodb::Variant& v);

// Every row of a result, its fields joined by "|".
std::vector<std::string> Rows(const adodb::ResultSet& rs);
std::vector<std::string> Rows(adodb::Connection& c, const std::string& sql);

// Runs a query on the provider and renders its rows.
std::vector<std::string> Rows(adodb::Provider& p, const std::string& sql);

}  // namespace sqlitetest
