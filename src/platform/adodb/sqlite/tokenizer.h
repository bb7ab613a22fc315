#pragma once
// Splits a statement written for SQL Server into tokens: words (names and keywords),
// quoted names ([name] or "name", which may hold blanks), text literals ('...' with doubled
// quotes, also N'...'), numbers and symbols. Comments and blanks are dropped.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace adodb::sqlite {

enum class TokenKind { Word, QuotedName, String, Number, Symbol, End };

struct Token {
    TokenKind kind = TokenKind::End;
    std::string text;        // word as written, name without its quotes, literal value, symbol
    std::size_t offset = 0;  // byte position in the statement, for messages
};

// The tokens of `sql`, ending with one End token. Raises DialectError for an unterminated
// literal or name and for characters the dialect does not use (@variables, #temp tables).
std::vector<Token> Tokenize(std::string_view sql);

}  // namespace adodb::sqlite
