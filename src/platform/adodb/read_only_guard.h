#pragma once
// What a read-only connection lets through: queries (SELECT, a WITH whose statement is a
// SELECT, a parenthesised SELECT) and the transaction statements. Everything else is refused
// before it reaches the database, so that no caller of a read-only connection can write,
// whatever the engine or driver would allow.
//
// The check is lexical and errs on the side of refusing: words inside text literals, quoted
// names and comments are ignored; any word that writes, runs code or opens another statement
// (INSERT, DELETE, INTO, EXEC, SET, ...) refuses the statement wherever it stands; text after a
// ';' refuses it; so does an unclosed literal, name or comment, as the engine may read it
// differently.
#include <optional>
#include <string>
#include <string_view>

namespace adodb {

enum class StatementClass { Query, Transaction, Other };

struct StatementCheck {
    StatementClass kind = StatementClass::Other;
    std::string reason;  // why it is refused (Other only), in the operator's language
};

StatementCheck ClassifyStatement(std::string_view sql);

// Raises ComError (SQL state 25006) with a readable description when `sql` is neither a
// query nor a transaction statement. `source` names the object for Error::Source.
void RequireReadOnlyStatement(std::string_view sql, const std::string& source);

// The error for a change written through a recordset on a read-only connection.
[[noreturn]] void RaiseReadOnlyConnection(const std::string& what, const std::string& source);

}  // namespace adodb
