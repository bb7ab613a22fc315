#pragma once
// Owning handles for the SQLite C API and the few calls the demo code makes through them.
#include <sqlite3.h>

#include <memory>
#include <string>
#include <string_view>

namespace demo::detail {

struct DatabaseCloser {
    void operator()(sqlite3* db) const { sqlite3_close(db); }
};
struct StatementFinalizer {
    void operator()(sqlite3_stmt* stmt) const { sqlite3_finalize(stmt); }
};
using DatabaseHandle = std::unique_ptr<sqlite3, DatabaseCloser>;
using StatementHandle = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

// Opens (flags as for sqlite3_open_v2); throws std::runtime_error naming the file on failure.
DatabaseHandle OpenDatabase(const std::string& path, int flags);

// Runs one or more statements without results; throws std::runtime_error with the engine's
// message on failure.
void Exec(sqlite3* db, const std::string& sql);

StatementHandle Prepare(sqlite3* db, std::string_view sql);

// Single value of a query that returns one integer (COUNT and the like).
long long QueryInt(sqlite3* db, const std::string& sql);

// Throws std::runtime_error with the engine's last message, prefixed by `what`.
[[noreturn]] void ThrowEngineError(sqlite3* db, std::string_view what);

}  // namespace demo::detail
