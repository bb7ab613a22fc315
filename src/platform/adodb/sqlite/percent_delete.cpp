#include "platform/adodb/sqlite/percent_delete.h"

#include "platform/adodb/sqlite/engine_error.h"
#include "platform/adodb/sqlite/handles.h"

namespace adodb::sqlite {

namespace {

const std::string kMemo = std::string("temp.") + kPercentMemoTable;
const std::string kChosen = std::string("temp.") + kPercentChosenTable;

class Engine {
  public:
    Engine(sqlite3* db, int timeoutSeconds) : db_(db), timeout_(timeoutSeconds) {}

    [[noreturn]] void Fail(int rc) const { throw ComError(EngineError(db_, rc, timeout_)); }

    StatementHandle Prepare(const std::string& sql) const {
        sqlite3_stmt* raw = nullptr;
        const int rc =
            sqlite3_prepare_v2(db_, sql.c_str(), static_cast<int>(sql.size()), &raw, nullptr);
        StatementHandle stmt(raw);
        if (rc != SQLITE_OK) Fail(rc);
        return stmt;
    }

    // Runs a statement that returns no rows; `limit`, when given, is bound to ?1.
    void Run(const std::string& sql, std::int64_t limit = -1) const {
        StatementHandle stmt = Prepare(sql);
        if (limit >= 0) sqlite3_bind_int64(stmt.get(), 1, limit);
        int rc = SQLITE_ROW;
        while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW) {
        }
        if (rc != SQLITE_DONE) Fail(rc);
    }

    std::int64_t DataVersion() const {
        StatementHandle stmt = Prepare("PRAGMA main.data_version");
        const int rc = sqlite3_step(stmt.get());
        if (rc != SQLITE_ROW) Fail(rc);
        return sqlite3_column_int64(stmt.get(), 0);
    }

  private:
    sqlite3* db_;
    int timeout_;
};

// p percent of `rows`, rounded up, without overflowing for any row count.
std::int64_t PercentOf(std::int64_t rows, long long scaled, long long divisor) {
    const std::int64_t denominator = 100 * divisor;
    const std::int64_t whole = rows / denominator * scaled;
    return whole + ((rows % denominator) * scaled + denominator - 1) / denominator;
}

}  // namespace

bool PercentDeleteRunner::StillValid(sqlite3* db, const std::string& key) const {
    if (!valid_ || key != key_) return false;
    if (sqlite3_total_changes64(db) != totalChanges_) return false;
    return Engine(db, timeout_).DataVersion() == dataVersion_;
}

void PercentDeleteRunner::Build(sqlite3* db, const PercentDelete& plan) {
    const Engine engine(db, timeout_);
    std::string columns = "tr";
    for (std::size_t i = 1; i <= plan.memoColumns; ++i) columns += ", c" + std::to_string(i);
    engine.Run("DROP TABLE IF EXISTS " + kMemo);
    engine.Run("CREATE TEMP TABLE " + std::string(kPercentMemoTable) + " (" + columns + ")");
    engine.Run("INSERT INTO " + kMemo + " " + plan.memoSelect);
    remaining_ = sqlite3_changes64(db);
    engine.Run("CREATE INDEX temp.suite_top_memo_tr ON " + std::string(kPercentMemoTable) +
               " (tr)");
    engine.Run("CREATE TEMP TABLE IF NOT EXISTS " + std::string(kPercentChosenTable) +
               " (r INTEGER PRIMARY KEY)");
}

long PercentDeleteRunner::Batch(sqlite3* db, const PercentDelete& plan) {
    const Engine engine(db, timeout_);
    engine.Run("DELETE FROM " + kChosen);
    engine.Run(plan.chooseSql, PercentOf(remaining_, plan.percentScaled, plan.percentDivisor));
    const std::int64_t before = sqlite3_total_changes64(db);
    engine.Run(plan.deleteSql);
    const std::int64_t deleted = sqlite3_changes64(db);
    // Anything else the deletion changed (a trigger, a cascade) may have changed the
    // derived table in ways the memo cannot follow.
    const bool onlyTarget = sqlite3_total_changes64(db) - before == deleted;
    engine.Run("DELETE FROM " + kMemo + " WHERE tr IN (SELECT r FROM " + kChosen + ")");
    remaining_ -= sqlite3_changes64(db);
    engine.Run("DELETE FROM " + kChosen);
    valid_ = onlyTarget;
    return static_cast<long>(deleted);
}

long PercentDeleteRunner::Run(sqlite3* db, const std::string& key, const PercentDelete& plan,
                              int timeoutSeconds) {
    timeout_ = timeoutSeconds;
    const Engine engine(db, timeout_);
    // Outside a transaction the batch still reads and deletes as one statement would.
    const bool own = sqlite3_get_autocommit(db) != 0;
    if (own) engine.Run("BEGIN IMMEDIATE");
    long deleted = 0;
    try {
        if (!StillValid(db, key)) {
            valid_ = false;
            Build(db, plan);
            key_ = key;
        }
        deleted = Batch(db, plan);
        if (own) engine.Run("COMMIT");
    } catch (...) {
        valid_ = false;
        if (own && sqlite3_get_autocommit(db) == 0)
            sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
    totalChanges_ = sqlite3_total_changes64(db);
    dataVersion_ = engine.DataVersion();
    return deleted;
}

}  // namespace adodb::sqlite
