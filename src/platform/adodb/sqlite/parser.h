#pragma once
// Reads one statement written in the suite's SQL Server dialect into a statement tree.
// Raises DialectError for text that is not valid SQL or uses constructs the embedded engine
// does not translate, naming the construct.
#include <string_view>

#include "platform/adodb/sqlite/ast.h"

namespace adodb::sqlite {

ast::Statement Parse(std::string_view sql);

}  // namespace adodb::sqlite
