#pragma once
// Runs the batches of DELETE t FROM (SELECT TOP p PERCENT ...) AS a WHERE ... without
// evaluating the whole derived table again for every batch.
//
// The first run of such a statement writes the derived table's rows (the row id of t they
// are built on and the columns the outer condition reads) into a temporary table, the memo.
// A batch takes p percent of the memo's rows, rounded up, deletes the rows of t they reach
// and removes from the memo every row built on a deleted row of t: the memo is then what
// the derived table would give if evaluated again. The next run of the same statement uses
// the memo only when nothing else can have changed the database since: no change through
// this connection other than the batch's own (total changes), no commit by another
// connection (data version), no rollback, and the batch changed no row outside t (a trigger
// or a cascade would show in the total). Otherwise the memo is built again.
#include <sqlite3.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/adodb/sqlite/percent_delete_plan.h"

namespace adodb::sqlite {

// The number of rows TOP p PERCENT takes of `rows`: p percent rounded up (SQL Server's rule),
// with p given as scaled / divisor (divisor a power of ten). PercentOf computes it without
// overflowing for any row count; PercentOfSql is the same rule as an SQL expression over the
// count expression `count`, for statements that count their rows themselves.
std::int64_t PercentOf(std::int64_t rows, long long scaled, long long divisor);
std::string PercentOfSql(const std::string& count, long long scaled, long long divisor);

// The script that (re)creates the empty temporary tables for a memo of `memoColumns`
// columns after the row id.
std::string PercentDeleteTablesSql(std::size_t memoColumns);

class PercentDeleteRunner {
  public:
    // Runs one batch of the statement known as `key` (the statement cache's key) and returns
    // the rows of t it deleted. Raises ComError; the database is then as the failing engine
    // statement left it (each is atomic) and the memo is dropped at the next run.
    long Run(sqlite3* db, const std::string& key, const PercentDelete& plan, int timeoutSeconds);

    // The memo no longer describes the database (schema changed, connection closing).
    void Forget() { valid_ = false; }

    // For sqlite3_rollback_hook: a rollback may have undone batches the memo reflects.
    static void OnRollback(void* runner) { static_cast<PercentDeleteRunner*>(runner)->Forget(); }

  private:
    void Exec(sqlite3* db, const std::string& sql, std::int64_t limit = -1) const;
    std::int64_t DataVersion(sqlite3* db) const;
    bool StillValid(sqlite3* db, const std::string& key) const;
    void Build(sqlite3* db, const PercentDelete& plan);
    long Batch(sqlite3* db, const PercentDelete& plan);

    std::string key_;
    bool valid_ = false;
    std::int64_t remaining_ = 0;     // rows of the memo
    std::int64_t totalChanges_ = 0;  // sqlite3_total_changes64 after the last batch
    std::int64_t dataVersion_ = 0;   // PRAGMA data_version after the last batch
    int timeout_ = 30;
};

}  // namespace adodb::sqlite
