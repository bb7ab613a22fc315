#include "platform/adodb/odbc/single_table.h"

#include <cctype>
#include <vector>

#include "platform/text/strings.h"

namespace adodb::odbc {
namespace {

// Words, bracketed or quoted names, literals and single punctuation characters.
std::vector<std::string> Tokens(std::string_view s) {
    std::vector<std::string> out;
    std::size_t i = 0;
    auto isWord = [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_' || c == '@' ||
               c == '#' || c == '$' || static_cast<unsigned char>(c) >= 0x80;
    };
    while (i < s.size()) {
        const char c = s[i];
        if (std::isspace(static_cast<unsigned char>(c)) != 0) {
            ++i;
        } else if (c == '[' || c == '"' || c == '\'') {
            const char close = c == '[' ? ']' : c;
            std::size_t j = i + 1;
            while (j < s.size() && s[j] != close) ++j;
            out.emplace_back(s.substr(i, std::min(j + 1, s.size()) - i));
            i = j + 1;
        } else if (isWord(c)) {
            std::size_t j = i;
            while (j < s.size() && isWord(s[j])) ++j;
            out.emplace_back(s.substr(i, j - i));
            i = j;
        } else {
            out.emplace_back(1, c);
            ++i;
        }
    }
    return out;
}

bool Is(const std::string& token, std::string_view word) {
    return text::EqualsNoCase(token, word);
}

}  // namespace

std::string SingleTableOf(std::string_view sql) {
    const auto t = Tokens(sql);
    std::size_t i = 0;
    if (i >= t.size() || !Is(t[i], "SELECT")) return {};
    ++i;
    // The column list: plain names or *, nothing computed or renamed.
    for (; i < t.size() && !Is(t[i], "FROM"); ++i) {
        if (t[i] == "(" || Is(t[i], "AS") || Is(t[i], "DISTINCT") || Is(t[i], "INTO")) return {};
    }
    if (i >= t.size()) return {};
    ++i;
    std::string table;
    while (i < t.size()) {
        table += t[i++];
        if (i < t.size() && t[i] == ".") {
            table += t[i++];
            continue;
        }
        break;
    }
    if (table.empty() || table.back() == '.' || table == "(") return {};
    if (i < t.size() && t[i] != ";" && !Is(t[i], "WHERE") && !Is(t[i], "ORDER")) return {};
    int depth = 0;
    for (; i < t.size(); ++i) {
        if (t[i] == "(") ++depth;
        if (t[i] == ")") --depth;
        if (depth == 0 && (Is(t[i], "UNION") || Is(t[i], "GROUP") || Is(t[i], "HAVING"))) {
            return {};
        }
    }
    return table;
}

}  // namespace adodb::odbc
