#include "platform/adodb/sqlite/percent_delete.h"

#include "platform/adodb/sqlite/engine_calls.h"
#include "platform/adodb/sqlite/engine_error.h"
#include "platform/collation/suite_collation.h"

namespace adodb::sqlite {

namespace {

const std::string kMemo = std::string("temp.") + kPercentMemoTable;
const std::string kChosen = std::string("temp.") + kPercentChosenTable;

// p percent of `rows`, rounded up, without overflowing for any row count.
std::int64_t PercentOf(std::int64_t rows, long long scaled, long long divisor) {
    const std::int64_t denominator = 100 * divisor;
    const std::int64_t whole = rows / denominator * scaled;
    return whole + ((rows % denominator) * scaled + denominator - 1) / denominator;
}

}  // namespace

std::string PercentDeleteTablesSql(std::size_t memoColumns) {
    std::string columns = "tr";
    // The kept values compare as the columns they come from: texts in the suite's order.
    for (std::size_t i = 1; i <= memoColumns; ++i) {
        columns += ", c" + std::to_string(i) + " COLLATE " + collation::kSuiteCollation;
    }
    return "DROP TABLE IF EXISTS " + kMemo + "; CREATE TEMP TABLE " + kPercentMemoTable + " (" +
           columns + "); CREATE TEMP TABLE IF NOT EXISTS " + kPercentChosenTable +
           " (r INTEGER PRIMARY KEY);";
}

// Runs a statement that returns no rows; `limit`, when given, is bound to ?1.
void PercentDeleteRunner::Exec(sqlite3* db, const std::string& sql, std::int64_t limit) const {
    StatementHandle stmt = PrepareStatement(db, sql, timeout_);
    if (limit >= 0) sqlite3_bind_int64(stmt.get(), 1, limit);
    StepToEnd(db, stmt.get(), timeout_);
}

std::int64_t PercentDeleteRunner::DataVersion(sqlite3* db) const {
    StatementHandle stmt = PrepareStatement(db, "PRAGMA main.data_version", timeout_);
    const int rc = sqlite3_step(stmt.get());
    if (rc != SQLITE_ROW) throw ComError(EngineError(db, rc, timeout_));
    return sqlite3_column_int64(stmt.get(), 0);
}

bool PercentDeleteRunner::StillValid(sqlite3* db, const std::string& key) const {
    if (!valid_ || key != key_) return false;
    if (sqlite3_total_changes64(db) != totalChanges_) return false;
    return DataVersion(db) == dataVersion_;
}

void PercentDeleteRunner::Build(sqlite3* db, const PercentDelete& plan) {
    ExecStatements(db, PercentDeleteTablesSql(plan.memoColumns).c_str(), timeout_);
    Exec(db, "INSERT INTO " + kMemo + " " + plan.memoSelect);
    remaining_ = sqlite3_changes64(db);
    Exec(db, "CREATE INDEX temp.suite_top_memo_tr ON " + std::string(kPercentMemoTable) + " (tr)");
}

long PercentDeleteRunner::Batch(sqlite3* db, const PercentDelete& plan) {
    Exec(db, "DELETE FROM " + kChosen);
    Exec(db, plan.chooseSql, PercentOf(remaining_, plan.percentScaled, plan.percentDivisor));
    const std::int64_t before = sqlite3_total_changes64(db);
    Exec(db, plan.deleteSql);
    const std::int64_t deleted = sqlite3_changes64(db);
    // Anything else the deletion changed (a trigger, a cascade) may have changed the
    // derived table in ways the memo cannot follow.
    const bool onlyTarget = sqlite3_total_changes64(db) - before == deleted;
    Exec(db, "DELETE FROM " + kMemo + " WHERE tr IN (SELECT r FROM " + kChosen + ")");
    remaining_ -= sqlite3_changes64(db);
    Exec(db, "DELETE FROM " + kChosen);
    valid_ = onlyTarget;
    return static_cast<long>(deleted);
}

long PercentDeleteRunner::Run(sqlite3* db, const std::string& key, const PercentDelete& plan,
                              int timeoutSeconds) {
    timeout_ = timeoutSeconds;
    // Outside a transaction the batch still reads and deletes as one statement would.
    const bool own = sqlite3_get_autocommit(db) != 0;
    if (own) Exec(db, "BEGIN IMMEDIATE");
    long deleted = 0;
    try {
        if (!StillValid(db, key)) {
            valid_ = false;
            Build(db, plan);
            key_ = key;
        }
        deleted = Batch(db, plan);
        if (own) Exec(db, "COMMIT");
    } catch (...) {
        valid_ = false;
        if (own && sqlite3_get_autocommit(db) == 0)
            sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
    totalChanges_ = sqlite3_total_changes64(db);
    dataVersion_ = DataVersion(db);
    return deleted;
}

}  // namespace adodb::sqlite
