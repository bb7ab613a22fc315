#include "platform/adodb/read_only_guard.h"

#include <array>
#include <vector>

#include "platform/adodb/error.h"
#include "platform/adodb/layer_errors.h"

namespace adodb {
namespace {

// Words that write, define, grant, run code, or begin another statement. A query holding
// one anywhere outside a literal, a quoted name or a comment is refused: without ';' a
// batch may hold several statements ("SELECT 1 DELETE FROM T"), and SELECT ... INTO makes
// a table.
constexpr std::array<std::string_view, 50> kRefusedWords = {
    "INSERT",    "UPDATE",     "DELETE",       "MERGE",          "UPSERT",
    "TRUNCATE",  "CREATE",     "ALTER",        "DROP",           "GRANT",
    "REVOKE",    "DENY",       "EXEC",         "EXECUTE",        "INTO",
    "DECLARE",   "SET",        "BEGIN",        "COMMIT",         "ROLLBACK",
    "SAVE",      "USE",        "BULK",         "BACKUP",         "RESTORE",
    "DBCC",      "KILL",       "SHUTDOWN",     "RECONFIGURE",    "CHECKPOINT",
    "WRITETEXT", "UPDATETEXT", "OPENQUERY",    "OPENROWSET",     "OPENDATASOURCE",
    "SEND",      "RECEIVE",    "CONVERSATION", "TRIGGER",        "IF",
    "WHILE",     "GOTO",       "ATTACH",       "DETACH",         "VACUUM",
    "PRAGMA",    "REINDEX",    "ANALYZE",      "LOAD_EXTENSION", "SETUSER",
};

enum class Kind { Word, Symbol, Literal };

struct Token {
    Kind kind;
    std::string text;  // words in upper case (ASCII letters)
};

struct Scan {
    std::vector<Token> tokens;
    bool unclosed = false;
};

bool IsWordChar(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '$' || c == '@' || c == '#' || c >= 0x80;
}

// '$' alone is a money literal, so it does not start a word.
bool IsWordStart(unsigned char c) {
    return IsWordChar(c) && c != '$';
}

std::string Upper(std::string_view s) {
    std::string out(s);
    for (char& c : out) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return out;
}

// Block comments end at the first "*/": an engine that nests them sees less code than
// this, never more.
Scan Tokenize(std::string_view sql) {
    Scan scan;
    std::size_t i = 0;
    const std::size_t n = sql.size();
    // Skips a delimited literal or name opened at i; a doubled closing character stands
    // for one. Returns false when it is never closed.
    auto skipDelimited = [&](char close) {
        ++i;
        while (i < n) {
            if (sql[i] == close) {
                if (i + 1 < n && sql[i + 1] == close) {
                    i += 2;
                    continue;
                }
                ++i;
                return true;
            }
            ++i;
        }
        return false;
    };
    while (i < n) {
        const char c = sql[i];
        const auto uc = static_cast<unsigned char>(c);
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v') {
            ++i;
        } else if (c == '-' && i + 1 < n && sql[i + 1] == '-') {
            // Ended at either line-end character: ending early shows more, never less.
            while (i < n && sql[i] != '\n' && sql[i] != '\r') ++i;
        } else if (c == '/' && i + 1 < n && sql[i + 1] == '*') {
            const std::size_t end = sql.find("*/", i + 2);
            if (end == std::string_view::npos) {
                scan.unclosed = true;
                return scan;
            }
            i = end + 2;
        } else if (c == '\'' || c == '"' || c == '[' || c == '`') {
            const char close = c == '[' ? ']' : c;
            if (!skipDelimited(close)) {
                scan.unclosed = true;
                return scan;
            }
            scan.tokens.push_back({Kind::Literal, {}});
        } else if (IsWordStart(uc)) {
            const std::size_t start = i;
            while (i < n && IsWordChar(static_cast<unsigned char>(sql[i]))) ++i;
            // N'...' is a literal, not the word N.
            if (i - start == 1 && (c == 'N' || c == 'n') && i < n && sql[i] == '\'') continue;
            scan.tokens.push_back({Kind::Word, Upper(sql.substr(start, i - start))});
        } else {
            scan.tokens.push_back({Kind::Symbol, std::string(1, c)});
            ++i;
        }
    }
    return scan;
}

bool IsWord(const Token& t, std::string_view word) {
    return t.kind == Kind::Word && t.text == word;
}

bool IsRefused(std::string_view word) {
    for (std::string_view w : kRefusedWords) {
        if (word == w) return true;
    }
    return false;
}

// Whether a word token may hide a refused word from this check while an engine reads it:
// the word itself; a part of it between non-ASCII characters or '$' (an engine may take
// such a character for a separator); and a part that begins with a digit and holds a
// refused word (a number is read up to the letters after it: "1DELETE", "1e5DELETE").
bool IsRefusedWord(const Token& t) {
    if (t.kind != Kind::Word) return false;
    const std::string_view text = t.text;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = start;
        while (end < text.size() && static_cast<unsigned char>(text[end]) < 0x80 &&
               text[end] != '$')
            ++end;
        const std::string_view part = text.substr(start, end - start);
        if (!part.empty() && part[0] >= '0' && part[0] <= '9') {
            for (std::string_view w : kRefusedWords) {
                if (part.find(w) != std::string_view::npos) return true;
            }
        } else if (IsRefused(part)) {
            return true;
        }
        start = end + 1;
    }
    return false;
}

StatementCheck Refuse(std::string reason) {
    return {StatementClass::Other, std::move(reason)};
}

// BEGIN TRAN[SACTION] [name], SAVE TRAN[SACTION] name, COMMIT / ROLLBACK [TRAN[SACTION] |
// WORK] [name]: nothing else.
bool IsTransactionStatement(const std::vector<Token>& t) {
    if (t.empty() || t[0].kind != Kind::Word) return false;
    const std::string& verb = t[0].text;
    const bool ends = verb == "COMMIT" || verb == "ROLLBACK";
    if (!ends && verb != "BEGIN" && verb != "SAVE") return false;
    std::size_t i = 1;
    if (i < t.size() &&
        (IsWord(t[i], "TRAN") || IsWord(t[i], "TRANSACTION") || (ends && IsWord(t[i], "WORK")))) {
        ++i;
    } else if (!ends) {
        return false;  // BEGIN alone opens a block
    }
    if (i < t.size() && t[i].kind == Kind::Word && !IsRefusedWord(t[i])) ++i;
    return i == t.size();
}

}  // namespace

StatementCheck ClassifyStatement(std::string_view sql) {
    Scan scan = Tokenize(sql);
    if (scan.unclosed) return Refuse("tiene un texto, un nombre o un comentario sin cerrar");
    std::vector<Token>& tokens = scan.tokens;
    // Trailing ';' end the statement; any other token after a ';' is another statement.
    while (!tokens.empty() && tokens.back().kind == Kind::Symbol && tokens.back().text == ";")
        tokens.pop_back();
    for (const Token& t : tokens) {
        if (t.kind == Kind::Symbol && t.text == ";") return Refuse("contiene varias instrucciones");
    }
    if (tokens.empty()) return Refuse("está vacía");
    if (IsTransactionStatement(tokens)) return {StatementClass::Transaction, {}};
    std::size_t first = 0;
    while (first < tokens.size() && tokens[first].kind == Kind::Symbol && tokens[first].text == "(")
        ++first;
    if (first == tokens.size() ||
        !(IsWord(tokens[first], "SELECT") || IsWord(tokens[first], "WITH"))) {
        const Token& t = tokens[std::min(first, tokens.size() - 1)];
        return Refuse(t.kind == Kind::Word ? "empieza por " + t.text : "no es una consulta");
    }
    for (std::size_t i = first; i < tokens.size(); ++i) {
        if (IsRefusedWord(tokens[i])) return Refuse("contiene " + tokens[i].text);
        // NEXT VALUE FOR advances a sequence.
        if (IsWord(tokens[i], "NEXT") && i + 1 < tokens.size() && IsWord(tokens[i + 1], "VALUE"))
            return Refuse("contiene NEXT VALUE FOR");
    }
    return {StatementClass::Query, {}};
}

void RequireReadOnlyStatement(std::string_view sql, const std::string& source) {
    const StatementCheck check = ClassifyStatement(sql);
    if (check.kind != StatementClass::Other) return;
    throw ComError(MakeError(code::kNotSupported,
                             "La conexión es de solo lectura y solo admite consultas: la "
                             "instrucción " +
                                 check.reason + ".",
                             source, "25006"));
}

void RaiseReadOnlyConnection(const std::string& what, const std::string& source) {
    throw ComError(MakeError(code::kNotSupported,
                             "La conexión es de solo lectura y solo admite consultas: no se "
                             "puede " +
                                 what + ".",
                             source, "25006"));
}

}  // namespace adodb
