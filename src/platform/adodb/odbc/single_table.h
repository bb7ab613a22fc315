#pragma once
// Recognises a plain query on one table ("SELECT <columns> FROM <table> [WHERE ...]
// [ORDER BY ...]"), whose rows can be written back to that table.
#include <string>
#include <string_view>

namespace adodb::odbc {

// The table's name as written (owner prefix and brackets kept), or empty when the query
// joins, groups, computes or renames columns, or is not a query.
std::string SingleTableOf(std::string_view sql);

}  // namespace adodb::odbc
