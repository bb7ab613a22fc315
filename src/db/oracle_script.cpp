// Running a script written for SQL Server on an Oracle connection: one statement at a time,
// with its transaction statements mapped onto the connection's transaction calls.
#include <array>
#include <string>
#include <string_view>
#include <utility>

#include "db/db_dll.h"
#include "platform/adodb/error.h"
#include "platform/text/strings.h"

namespace db {

namespace {

// Applied in this order, letter case ignored.
constexpr std::array<std::pair<std::string_view, std::string_view>, 13> kNormalisation{{
    {"SET NOCOUNT ON", ""},
    {"SET NOCOUNT OFF", ""},
    {" GO ", " "},
    {"\r\nGO ", " "},
    {"\r\nGO ", " "},
    {"\r\nGO\r\n", " "},
    {"\r", " "},
    {"BEGIN TRANSACTION", "SET TRANSACTION"},
    {"BEGIN TRANS", "SET TRANSACTION"},
    {"COMMIT TRANSACTION", "COMMIT"},
    {"COMMIT TRANS", "COMMIT"},
    {"ROLLBACK TRANSACTION", "ROLLBACK"},
    {"ROLLBACK TRANS", "ROLLBACK"},
}};

// Words that begin a statement.
constexpr std::array<std::string_view, 11> kKeywords{
    "INSERT ",         "DELETE ", "UPDATE ",  "CREATE ",      "DROP ",   "ALTER ",
    "SET TRANSACTION", "COMMIT",  "ROLLBACK", "IF NOT EXIST", "IF EXIST"};

constexpr int kNotFound = 1999999;

// Smallest position at or after `start` where a keyword occurs; kNotFound when none does.
int NextKeyword(std::string_view script, int start) {
    int found = kNotFound;
    for (std::string_view keyword : kKeywords) {
        const int p = text::InStr(script, keyword, start);
        if (p > 0 && p < found) found = p;
    }
    return found;
}

// Blanks and the line feeds left over from the script's line breaks removed at both ends, so
// a transaction statement on a line of its own is recognised as one.
std::string TrimStatement(std::string_view s) {
    const auto first = s.find_first_not_of(" \n");
    if (first == std::string_view::npos) return {};
    const auto last = s.find_last_not_of(" \n");
    return std::string(s.substr(first, last - first + 1));
}

}  // namespace

std::string DB_Dll::FiltraSentenciaOracle(std::string& statement) {
    if (text::Contains(statement, "SET NOCOUNT") || text::Contains(statement, "IF NOT EXIST")) {
        statement.clear();
    }
    return statement;
}

void DB_Dll::EjecutaScriptOracle(std::string& script, long& records) {
    for (const auto& [find, replacement] : kNormalisation) {
        script = text::ReplaceAll(script, find, replacement);
    }
    for (;;) {
        const int start = NextKeyword(script, 1);
        if (start == kNotFound) break;
        const int next = NextKeyword(script, start + 1);
        const int end = next == kNotFound ? text::Len(script) : next - 1;
        const std::string statement = TrimStatement(text::Mid(script, start, end - start + 1));

        if (text::EqualsNoCase(statement, "SET TRANSACTION")) {
            gCnn.BeginTrans();
        } else if (text::EqualsNoCase(statement, "COMMIT")) {
            gCnn.CommitTrans();
        } else if (text::EqualsNoCase(statement, "ROLLBACK")) {
            gCnn.RollbackTrans();
        } else {
            std::string translated = ORACLE_Dicc(statement);
            FiltraSentenciaOracle(translated);
            if (!text::Trim(translated).empty()) {
                long count = 0;
                gCnn.Execute(translated, &count, -1);
                records += count;
            }
        }
        script = next == kNotFound ? std::string() : text::Mid(script, next);
    }
    // A statement that returned no result leaves a warning behind, not an error.
    if (gCnn.Errors().Count() == 1 && gCnn.Errors().Item(0).Number == adodb::code::kNoResult) {
        gCnn.Errors().Clear();
    }
}

}  // namespace db
