#pragma once
// Owning handles of the engine's C objects, and a guard that readies a cached statement
// for its next use.
#include <sqlite3.h>

#include <memory>

namespace adodb::sqlite {

struct DatabaseCloser {
    void operator()(sqlite3* db) const noexcept { sqlite3_close_v2(db); }
};
using DatabaseHandle = std::unique_ptr<sqlite3, DatabaseCloser>;

struct StatementFinalizer {
    void operator()(sqlite3_stmt* stmt) const noexcept { sqlite3_finalize(stmt); }
};
using StatementHandle = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

// Resets the statement and clears its parameters when the use ends, so a cached statement
// holds no read lock and no stale values between uses.
class StatementUse {
  public:
    explicit StatementUse(sqlite3_stmt* stmt) : stmt_(stmt) {}
    ~StatementUse() {
        sqlite3_reset(stmt_);
        sqlite3_clear_bindings(stmt_);
    }
    StatementUse(const StatementUse&) = delete;
    StatementUse& operator=(const StatementUse&) = delete;

  private:
    sqlite3_stmt* stmt_;
};

}  // namespace adodb::sqlite
