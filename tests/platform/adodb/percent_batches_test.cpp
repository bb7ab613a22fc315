// Repeated "DELETE t FROM (SELECT TOP p PERCENT ...) AS a" batches on the embedded engine,
// which keeps the derived table's rows between batches: every batch must still take p percent
// of what the database holds at that moment and never delete a row that no longer matches,
// whatever changed between two batches.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "platform/adodb/connection.h"
#include "sqlite_fixture.h"
#include "support/temp_dir.h"

namespace {

using sqlitetest::Rows;

// N: IDs 1-101 dated in 2004, IDs 102-111 in 2005. The engine walks rows of the same date in
// ID order, so the first batch deletes IDs 1-6.
const char* const kSchema = R"sql(
CREATE TABLE N (ID INTEGER PRIMARY KEY, FECHA DATETIME);
CREATE INDEX IX_N_FECHA ON N (FECHA);
WITH RECURSIVE s(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM s WHERE i < 111)
INSERT INTO N SELECT i, CASE WHEN i <= 101 THEN '2004-06-30 00:00:00' ELSE '2005-01-01 00:00:00' END FROM s;
)sql";

// After a deletion, the row 6 IDs further on moves out of the range (a trigger changing the
// rows the batch's derived table reads).
const char* const kMovingTrigger = R"sql(
CREATE TRIGGER N_MOVES AFTER DELETE ON N BEGIN
  UPDATE N SET FECHA = '2005-01-01 00:00:00' WHERE ID = OLD.ID + 6;
END;
)sql";

const char* const kBatch =
    "DELETE N FROM (SELECT TOP 5 PERCENT N.* FROM N WHERE FECHA <= '31/12/2004') AS T1 "
    "WHERE T1.ID = N.ID";

long Affected(adodb::Connection& c, const std::string& sql) {
    long affected = -1;
    c.Execute(sql, &affected);
    return affected;
}

std::string Count(adodb::Connection& c, const std::string& where) {
    return Rows(c, "SELECT COUNT(*) FROM N WHERE " + where).at(0);
}

TEST(PercentBatches, EachBatchCountsWhatTheDatabaseHoldsThen) {
    struct Case {
        const char* name;
        const char* extraSchema;
        // Runs the first batch (which must delete 6 rows) and whatever happens before the
        // second; `file` is the database, for a second connection.
        std::function<void(adodb::Connection&, const std::string& file)> first;
        long second;            // rows the second batch deletes
        const char* keptWhere;  // rows that must still be there afterwards
        const char* keptCount;
    };
    auto firstBatch = [](adodb::Connection& c) { EXPECT_EQ(Affected(c, kBatch), 6); };
    const Case cases[] = {
        {"nothing in between: 95 rows, 4.75 -> 5", "",
         [&](adodb::Connection& c, const std::string&) { firstBatch(c); }, 5, "ID > 101", "10"},
        {"this connection brings 10 rows into the range: 105 -> 6", "",
         [&](adodb::Connection& c, const std::string&) {
             firstBatch(c);
             c.Execute("UPDATE N SET FECHA = '30/06/2004' WHERE ID > 101");
         },
         6, "ID > 101", "10"},
        {"another connection brings 10 rows into the range: 105 -> 6", "",
         [&](adodb::Connection& c, const std::string& file) {
             firstBatch(c);
             adodb::Connection other;
             other.Open(sqlitetest::ConnectionStringFor(file));
             other.Execute("UPDATE N SET FECHA = '30/06/2004' WHERE ID > 101");
         },
         6, "ID > 101", "10"},
        {"this connection moves IDs 1-60 out of the range: 41 -> 3", "",
         [&](adodb::Connection& c, const std::string&) {
             firstBatch(c);
             c.Execute("UPDATE N SET FECHA = '01/01/2005' WHERE ID <= 60");
         },
         3, "ID BETWEEN 7 AND 60", "54"},
        {"the first batch is rolled back: 101 -> 6 again", "",
         [&](adodb::Connection& c, const std::string&) {
             c.Execute("BEGIN TRANSACTION");
             firstBatch(c);
             c.Execute("ROLLBACK TRANSACTION");
         },
         6, "ID > 6", "105"},
        {"a trigger moves IDs 7-12 out of the range: 89 -> 5", kMovingTrigger,
         [&](adodb::Connection& c, const std::string&) { firstBatch(c); }, 5, "ID BETWEEN 7 AND 12",
         "6"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testsupport::TempDir dir;
        const std::string file = dir.File("n.db");
        sqlitetest::CreateDatabase(file, std::string(kSchema) + c.extraSchema);
        adodb::Connection conn;
        conn.Open(sqlitetest::ConnectionStringFor(file));
        c.first(conn, file);
        EXPECT_EQ(Affected(conn, kBatch), c.second);
        EXPECT_EQ(Count(conn, c.keptWhere), c.keptCount);
    }
}

// C rows 1-30; P holds two rows for each K, dated 2004 for K 1-20 and 2005 for K 21-30, so
// every C row of the range stands twice in the derived table.
TEST(PercentBatches, RowsReachedTwiceThroughTheJoinAreCountedTwiceAndDeletedOnce) {
    testsupport::TempDir dir;
    const std::string file = dir.File("j.db");
    sqlitetest::CreateDatabase(file, R"sql(
CREATE TABLE P (ID INTEGER PRIMARY KEY, K INT, FECHA DATETIME);
CREATE INDEX IX_P_FECHA ON P (FECHA);
CREATE INDEX IX_P_K ON P (K);
CREATE TABLE C (ID INTEGER PRIMARY KEY, K INT);
CREATE INDEX IX_C_K ON C (K);
WITH RECURSIVE s(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM s WHERE i < 30)
INSERT INTO C SELECT i, i FROM s;
INSERT INTO P (K, FECHA) SELECT K, CASE WHEN K <= 20 THEN '2004-06-30 00:00:00'
  ELSE '2005-01-01 00:00:00' END FROM C;
INSERT INTO P (K, FECHA) SELECT K, FECHA FROM P;
)sql");
    adodb::Connection conn;
    conn.Open(sqlitetest::ConnectionStringFor(file));
    const std::string batch =
        "DELETE C FROM (SELECT TOP 30 PERCENT C.* FROM C INNER JOIN P ON P.K = C.K "
        "WHERE P.FECHA <= '31/12/2004') AS T1 WHERE T1.ID = C.ID";
    auto matching = [&] {
        return std::stol(Rows(conn, "SELECT COUNT(*) FROM C WHERE K <= 20").at(0));
    };
    conn.Execute("BEGIN TRANSACTION");
    for (int i = 0; i < 40 && matching() > 0; ++i) {
        const long joined = 2 * matching();
        const long taken = (joined * 30 + 99) / 100;
        const long deleted = Affected(conn, batch);
        SCOPED_TRACE("batch " + std::to_string(i + 1));
        EXPECT_GE(deleted, (taken + 1) / 2);
        EXPECT_LE(deleted, taken);
    }
    conn.Execute("COMMIT TRANSACTION");
    EXPECT_EQ(matching(), 0);
    EXPECT_EQ(Rows(conn, "SELECT COUNT(*) FROM C WHERE K > 20"), std::vector<std::string>{"10"});
}

}  // namespace
