#include "platform/adodb/sqlite/engine_calls.h"

#include "platform/adodb/sqlite/engine_error.h"

namespace adodb::sqlite {

StatementHandle PrepareStatement(sqlite3* db, std::string_view sql, int timeoutSeconds) {
    sqlite3_stmt* raw = nullptr;
    const int rc = sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &raw, nullptr);
    StatementHandle stmt(raw);
    if (rc != SQLITE_OK) throw ComError(EngineError(db, rc, timeoutSeconds));
    return stmt;
}

void StepToEnd(sqlite3* db, sqlite3_stmt* stmt, int timeoutSeconds) {
    StatementUse use(stmt);
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE) throw ComError(EngineError(db, rc, timeoutSeconds));
}

void ExecStatements(sqlite3* db, const char* sql, int timeoutSeconds) {
    const int rc = sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) throw ComError(EngineError(db, rc, timeoutSeconds));
}

}  // namespace adodb::sqlite
