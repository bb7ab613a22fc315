// Results the embedded engine must give as SQL Server gives them: TOP n PERCENT rounding,
// dates read in the session's order (never compared as plain text), statements that fail
// changing nothing, and texts compared without letter case.
#include <gtest/gtest.h>

#include "platform/adodb/connection.h"
#include "platform/text/regional.h"
#include "sqlite_fixture.h"
#include "support/temp_dir.h"

namespace {

using sqlitetest::Rows;

// N: 101 rows dated in 2004 (IDs 1-101) and 10 in 2005 (IDs 102-111).
const char* const kSchema = R"sql(
CREATE TABLE N (ID INTEGER PRIMARY KEY, FECHA DATETIME, NOMBRE VARCHAR(20) COLLATE NOCASE);
CREATE INDEX IX_N_FECHA ON N (FECHA);
WITH RECURSIVE s(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM s WHERE i < 111)
INSERT INTO N SELECT i, CASE WHEN i <= 101 THEN '2004-06-30 00:00:00' ELSE '2005-01-01 00:00:00' END,
  CASE i WHEN 1 THEN 'ñandú  ' WHEN 2 THEN 'Ñandú' WHEN 3 THEN 'nandu' ELSE 'n' || i END FROM s;
)sql";

class DialectSemanticsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        sqlitetest::CreateDatabase(file_, kSchema);
        conn_.Open(sqlitetest::ConnectionStringFor(file_));
    }
    std::string Count(const std::string& where) {
        return Rows(conn_, "SELECT COUNT(*) FROM N WHERE " + where).at(0);
    }

    testsupport::TempDir dir_;
    std::string file_ = dir_.File("n.db");
    adodb::Connection conn_;
};

TEST_F(DialectSemanticsTest, TopPercentTakesThePercentOfMatchingRowsRoundedUp) {
    struct Case {
        const char* top;
        const char* where;
        std::size_t rows;
    };
    const Case cases[] = {
        {"5 PERCENT", "FECHA <= '31/12/2004'", 6},  // 5.05 -> 6
        {"5 PERCENT", "ID <= 100", 5},
        {"5 PERCENT", "ID = 1", 1},
        {"5 PERCENT", "ID = 0", 0},
        {"0 PERCENT", "ID > 0", 0},
        {"100 PERCENT", "ID > 0", 111},
        {"12.5 PERCENT", "ID <= 10", 2},  // 1.25 -> 2
        {"(3) PERCENT", "ID <= 10", 1},
        {"0", "ID > 0", 0},
        {"7", "ID > 0", 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.top) + " / " + c.where);
        EXPECT_EQ(
            Rows(conn_, std::string("SELECT TOP ") + c.top + " * FROM N WHERE " + c.where).size(),
            c.rows);
    }
    // Also inside a derived table, and over groups.
    EXPECT_EQ(Rows(conn_,
                   "SELECT COUNT(*) FROM (SELECT TOP 5 PERCENT ID FROM N WHERE ID <= 101) "
                   "AS X"),
              std::vector<std::string>{"6"});
    EXPECT_EQ(Rows(conn_,
                   "SELECT TOP 50 PERCENT FECHA, COUNT(*) AS C FROM N GROUP BY FECHA "
                   "ORDER BY FECHA")
                  .size(),
              1u);
}

TEST_F(DialectSemanticsTest, BatchOverAHundredAndOneMatchingRowsDeletesSix) {
    const std::string batch =
        "DELETE N FROM (SELECT TOP 5 PERCENT N.* FROM N WHERE FECHA <= '31/12/2004') AS T1 "
        "WHERE T1.ID = N.ID";
    long affected = 0;
    conn_.Execute(batch, &affected);
    EXPECT_EQ(affected, 6);
    EXPECT_EQ(Count("FECHA <= '31/12/2004'"), "95");
    conn_.Execute(batch, &affected);  // 4.75 -> 5
    EXPECT_EQ(affected, 5);
    EXPECT_EQ(Count("FECHA > '31/12/2004'"), "10");
}

TEST_F(DialectSemanticsTest, CutOffDateIsReadAsADateAndABadOneChangesNothing) {
    EXPECT_EQ(Count("FECHA <= '31/12/2004'"), "101");
    EXPECT_EQ(Count("FECHA >= '1/1/05'"), "10");
    EXPECT_EQ(Count("FECHA BETWEEN '30/06/2004' AND '30/06/2004'"), "101");
    EXPECT_EQ(Count("FECHA IN ('01/01/2005', '02/01/2005')"), "10");

    // The purge step's pattern: an error after an earlier change in the same transaction
    // shows in the error collection and the rollback undoes the earlier change too.
    conn_.Execute("BEGIN TRANSACTION");
    conn_.Execute("DELETE N WHERE ID = 111");
    try {
        conn_.Execute(
            "DELETE N FROM (SELECT TOP 5 PERCENT N.* FROM N WHERE FECHA <= "
            "'32/13/2004') AS T1 WHERE T1.ID = N.ID");
        ADD_FAILURE() << "a date that does not exist was accepted";
    } catch (const adodb::ComError&) {
    }
    ASSERT_EQ(conn_.Errors().Count(), 1);
    EXPECT_EQ(conn_.Errors().Item(0).Number, adodb::code::kCantConvert);
    EXPECT_EQ(conn_.Errors().Item(0).SQLState, "22007");
    conn_.Execute("ROLLBACK TRANSACTION");
    EXPECT_EQ(Count("ID > 0"), "111");

    // A statement failing part-way leaves no row changed.
    EXPECT_THROW(conn_.Execute("INSERT INTO N (ID, FECHA) VALUES (200, '01/01/2006'), (201, "
                               "'31/02/2006')"),
                 adodb::ComError);
    EXPECT_THROW(conn_.Execute("UPDATE N SET FECHA = CONVERT(DATETIME, NOMBRE) WHERE ID >= 100"),
                 adodb::ComError);
    EXPECT_EQ(Count("ID >= 200"), "0");
    EXPECT_EQ(Count("FECHA > '31/12/2004'"), "10");
    conn_.Execute("UPDATE N SET FECHA = '15/03/2003 08:30' WHERE ID = 1");
    EXPECT_EQ(Rows(conn_, "SELECT FECHA FROM N WHERE ID = 1"),
              std::vector<std::string>{"2003-03-15 08:30:00"});
}

TEST_F(DialectSemanticsTest, DateOrderFollowsSetDateformatAndTheRegionalSettings) {
    const std::string query = "SELECT COUNT(*) FROM N WHERE FECHA < '06/07/2004'";
    EXPECT_EQ(Rows(conn_, query).at(0), "101");  // 6 July 2004
    conn_.Execute("SET DATEFORMAT mdy");
    EXPECT_EQ(Rows(conn_, query).at(0), "0");  // the same text, now 7 June 2004
    conn_.Execute("SET DATEFORMAT dmy");
    EXPECT_EQ(Rows(conn_, query).at(0), "101");
    conn_.Execute("SET NOCOUNT ON");

    const text::RegionalSettings saved = text::RegionalSettings::Current();
    text::RegionalSettings mdy = saved;
    mdy.dateOrder = text::DateOrder::MDY;
    text::RegionalSettings::SetCurrent(mdy);
    adodb::Connection other;
    other.Open(sqlitetest::ConnectionStringFor(file_));
    EXPECT_EQ(Rows(other, query).at(0), "0");
    EXPECT_THROW(other.Execute("SELECT * FROM N WHERE FECHA = '31/12/2004'"), adodb::ComError);
    text::RegionalSettings::SetCurrent(saved);
}

TEST_F(DialectSemanticsTest, TextsCompareWithoutCaseOrTrailingBlanks) {
    struct Case {
        const char* where;
        const char* count;
    };
    const Case cases[] = {
        {"NOMBRE = 'ÑANDÚ'", "2"},
        {"'ÑANDÚ' = NOMBRE", "2"},
        {"RTRIM(LTRIM(NOMBRE)) = 'ÑANDÚ'", "2"},
        {"UPPER(NOMBRE) = 'ñandú'", "2"},
        {"NOMBRE = 'nandu'", "1"},
        {"NOMBRE <> 'ÑANDÚ' AND ID <= 3", "1"},
        {"NOMBRE IN ('ÑANDÚ', 'X')", "2"},
        {"NOMBRE LIKE 'ÑAND%'", "2"},
        {"NOMBRE LIKE 'nand_'", "1"},
        {"NOMBRE NOT LIKE 'n%'", "2"},
        {"NOMBRE BETWEEN 'N1' AND 'N2'", "22"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.where);
        EXPECT_EQ(Count(c.where), c.count);
    }
}

}  // namespace
