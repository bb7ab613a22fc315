#include "demo/sqlite_handle.h"

#include <stdexcept>

#include "platform/collation/suite_collation.h"

namespace demo::detail {

void ThrowEngineError(sqlite3* db, std::string_view what) {
    std::string message(what);
    message += ": ";
    message += db != nullptr ? sqlite3_errmsg(db) : "sin conexión";
    throw std::runtime_error(message);
}

DatabaseHandle OpenDatabase(const std::string& path, int flags) {
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(path.c_str(), &raw, flags, nullptr);
    DatabaseHandle db(raw);  // owned before anything can throw, also on failure
    if (rc != SQLITE_OK) ThrowEngineError(db.get(), "No se pudo abrir " + path);
    sqlite3_extended_result_codes(db.get(), 1);
    // The suite's text columns sort and compare by the suite's collation.
    collation::RegisterSuiteCollation(db.get());
    return db;
}

void Exec(sqlite3* db, const std::string& sql) {
    char* error = nullptr;
    const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error);
    if (rc != SQLITE_OK) {
        std::string message = error != nullptr ? error : sqlite3_errstr(rc);
        sqlite3_free(error);
        throw std::runtime_error(message + " [" + sql.substr(0, 120) + "]");
    }
}

StatementHandle Prepare(sqlite3* db, std::string_view sql) {
    sqlite3_stmt* raw = nullptr;
    const int rc = sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &raw, nullptr);
    StatementHandle stmt(raw);
    if (rc != SQLITE_OK) ThrowEngineError(db, std::string(sql.substr(0, 120)));
    return stmt;
}

long long QueryInt(sqlite3* db, const std::string& sql) {
    StatementHandle stmt = Prepare(db, sql);
    const int rc = sqlite3_step(stmt.get());
    if (rc == SQLITE_ROW) return sqlite3_column_int64(stmt.get(), 0);
    if (rc == SQLITE_DONE) return 0;
    ThrowEngineError(db, sql);
}

}  // namespace demo::detail
