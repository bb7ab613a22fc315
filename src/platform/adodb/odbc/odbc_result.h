#pragma once
// Reading a statement's result set into a ResultSet: column descriptions, data-type
// numbers and every value as a Variant. Internal to the ODBC provider.
#include <string>

#include "platform/adodb/odbc/odbc_call.h"
#include "platform/adodb/provider.h"

namespace adodb::odbc {

// Data-type number and defined size for an ODBC column type.
int TypeNumber(SQLSMALLINT sqlType, bool isMoney);
long DefinedSizeFor(SQLSMALLINT sqlType, SQLULEN columnSize, bool isMoney);

// Reads the whole current result set of `stmt` (which has columns). `sql` is the statement
// text, used to recognise a single-table query when the driver does not name the table.
ResultSet ReadResult(const Handle& stmt, const std::string& sql, const DiagContext& ctx);

// UTF-16 code units to UTF-8 (unpaired surrogates become U+FFFD).
std::string Utf16ToUtf8(const SQLWCHAR* units, std::size_t count);

}  // namespace adodb::odbc
