// Updatable recordsets on the embedded engine whose query does not select the table's key:
// the key is read as hidden columns, so a change reaches the row it was made on and no
// other row showing the same values.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/adodb/connection.h"
#include "platform/adodb/sqlite/sqlite_provider.h"
#include "sqlite_fixture.h"
#include "support/temp_dir.h"

namespace {

using adodb::ComError;
using adodb::Connection;
using adodb::Recordset;
using adodb::Variant;
using sqlitetest::Rows;

constexpr int kLockOptimistic = 3;

// Every table holds rows that the columns a query shows cannot tell apart.
const char* const kSchema = R"sql(
CREATE TABLE TA_CONFIGURACION (CLAVE VARCHAR(50) COLLATE NOCASE NOT NULL PRIMARY KEY,
  VALOR VARCHAR(255), VALORAUX VARCHAR(255), GRUPO VARCHAR(50));
INSERT INTO TA_CONFIGURACION VALUES ('a', '01/01/2004', '', 'DATOS'),
  ('b', '01/01/2004', '', 'DATOS');
CREATE TABLE MOVIMIENTOS (EJERCICIO INT NOT NULL, NUMERO INT NOT NULL, IMPORTE FLOAT,
  PRIMARY KEY (EJERCICIO, NUMERO));
INSERT INTO MOVIMIENTOS VALUES (2004, 1, 10), (2005, 1, 10);
CREATE TABLE NOTAS (TEXTO VARCHAR(20), N INT);
INSERT INTO NOTAS VALUES ('uno', 1), ('uno', 1), ('dos', 2);
CREATE TABLE RARA (ROWID VARCHAR(5), N INT);
INSERT INTO RARA VALUES ('r', 1), ('r', 1);
)sql";

class SqliteRowKeyTest : public ::testing::Test {
  protected:
    void SetUp() override {
        sqlitetest::CreateDatabase(file_, kSchema);
        conn_.Open(sqlitetest::ConnectionStringFor(file_));
    }

    Recordset Updatable(const std::string& sql) {
        Recordset rs;
        rs.Open(sql, conn_, 0, kLockOptimistic);
        return rs;
    }

    static std::int32_t ErrorNumberOf(const std::function<void()>& op) {
        try {
            op();
        } catch (const ComError& e) {
            return e.Number();
        }
        return 0;
    }

    testsupport::TempDir dir_;
    std::string file_ = dir_.File("claves.db");
    Connection conn_;
};

TEST_F(SqliteRowKeyTest, ChangingAValueSharedWithAnotherRowChangesOnlyTheRowRead) {
    Recordset rs = Updatable("SELECT valor FROM TA_CONFIGURACION WHERE CLAVE = 'a'");
    ASSERT_FALSE(rs.EOF());
    // The key read for the write is no field.
    EXPECT_EQ(rs.FieldCount(), 1);
    EXPECT_EQ(ErrorNumberOf([&] { rs.Fields("CLAVE"); }), adodb::code::kItemNotFound);
    EXPECT_EQ(ErrorNumberOf([&] { rs.Fields(1); }), adodb::code::kItemNotFound);

    rs.Fields("Valor").SetValue("01/01/1900");
    rs.Update();
    EXPECT_EQ(Rows(conn_, "SELECT CLAVE, VALOR FROM TA_CONFIGURACION ORDER BY CLAVE"),
              (std::vector<std::string>{"a|01/01/1900", "b|01/01/2004"}));

    rs.MoveFirst();
    const auto rows = rs.GetRows();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0], std::vector<Variant>{Variant("01/01/1900")});
}

TEST_F(SqliteRowKeyTest, QueriesMissingTheirKeyWriteOnlyTheRowTheyChange) {
    struct Case {
        const char* sql;
        int fields;
        const char* field;  // set on the first row
        const char* value;
        const char* check;  // every row of the table, after the update
        std::vector<std::string> expected;
    };
    const std::string config = "SELECT CLAVE, VALOR FROM TA_CONFIGURACION ORDER BY CLAVE";
    const Case cases[] = {
        {"SELECT c.VALOR FROM dbo.TA_CONFIGURACION AS c WHERE c.CLAVE = 'a'",
         1,
         "VALOR",
         "x",
         config.c_str(),
         {"a|x", "b|01/01/2004"}},
        // A field named like the key that does not hold it does not stand for it.
        {"SELECT VALOR, VALORAUX AS CLAVE FROM TA_CONFIGURACION WHERE CLAVE = 'b'",
         2,
         "VALOR",
         "x",
         config.c_str(),
         {"a|01/01/2004", "b|x"}},
        {"SELECT TOP 1 VALOR FROM TA_CONFIGURACION ORDER BY CLAVE DESC",
         1,
         "VALOR",
         "x",
         config.c_str(),
         {"a|01/01/2004", "b|x"}},
        // Part of a two-column key selected.
        {"SELECT NUMERO, IMPORTE FROM MOVIMIENTOS WHERE EJERCICIO = 2005",
         2,
         "IMPORTE",
         "99",
         "SELECT * FROM MOVIMIENTOS ORDER BY EJERCICIO",
         {"2004|1|10", "2005|1|99"}},
        // No key at all: rows are told apart by the engine's row id, also under "*".
        {"SELECT TEXTO FROM NOTAS WHERE N = 1",
         1,
         "TEXTO",
         "una",
         "SELECT TEXTO, N FROM NOTAS ORDER BY N, TEXTO",
         {"una|1", "uno|1", "dos|2"}},
        {"SELECT * FROM NOTAS WHERE N = 1",
         2,
         "N",
         "5",
         "SELECT TEXTO, N FROM NOTAS ORDER BY N",
         {"uno|1", "dos|2", "uno|5"}},
        // A column called ROWID takes that name: the row id is read under another.
        {"SELECT * FROM RARA", 2, "N", "5", "SELECT * FROM RARA ORDER BY N", {"r|1", "r|5"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sql);
        conn_.BeginTrans();
        try {
            Recordset rs = Updatable(c.sql);
            EXPECT_EQ(rs.FieldCount(), c.fields);
            ASSERT_FALSE(rs.EOF());
            rs.Fields(c.field).SetValue(c.value);
            rs.Update();
            EXPECT_EQ(Rows(conn_, c.check), c.expected);
        } catch (const ComError& e) {
            ADD_FAILURE() << e.Description();
        }
        conn_.RollbackTrans();
    }
}

TEST_F(SqliteRowKeyTest, EveryRowOfTheResultIsWrittenToItsOwnRow) {
    Recordset rs = Updatable("SELECT TEXTO FROM NOTAS WHERE TEXTO = 'uno'");
    ASSERT_EQ(rs.RecordCount(), 2);
    rs.Fields("TEXTO").SetValue("primera");
    rs.MoveNext();  // writes the pending change
    rs.Fields("TEXTO").SetValue("segunda");
    rs.Update();
    EXPECT_EQ(Rows(conn_, "SELECT TEXTO FROM NOTAS ORDER BY TEXTO"),
              (std::vector<std::string>{"dos", "primera", "segunda"}));
}

TEST_F(SqliteRowKeyTest, ARowAddedHereCanBeChangedAgain) {
    // The new row's row id is not known to the recordset: it is found by what was written.
    Recordset rs = Updatable("SELECT TEXTO, N FROM NOTAS WHERE N = 3");
    rs.AddNew();
    rs.Fields("TEXTO").SetValue("tres");
    rs.Fields("N").SetValue(std::int32_t{3});
    rs.Update();
    rs.Fields("TEXTO").SetValue("cuatro");
    rs.Update();
    EXPECT_EQ(Rows(conn_, "SELECT TEXTO, N FROM NOTAS ORDER BY N"),
              (std::vector<std::string>{"uno|1", "uno|1", "dos|2", "cuatro|3"}));
}

// Only updatable opens read the hidden key, and never where it would change the rows shown.
TEST_F(SqliteRowKeyTest, TheHiddenKeyLeavesTheVisibleResultAsItIs) {
    struct Case {
        const char* sql;
        int hidden;
    };
    const Case cases[] = {
        {"SELECT VALOR FROM TA_CONFIGURACION ORDER BY 1", 1},
        {"SELECT TOP 50 PERCENT VALOR FROM TA_CONFIGURACION", 1},
        {"SELECT * FROM TA_CONFIGURACION", 0},
        {"SELECT NUMERO FROM MOVIMIENTOS", 1},
        {"SELECT * FROM NOTAS", 1},
        {"SELECT DISTINCT VALOR FROM TA_CONFIGURACION", 0},
        {"SELECT VALOR, COUNT(*) AS N FROM TA_CONFIGURACION GROUP BY VALOR", 0},
        {"SELECT MAX(IMPORTE) FROM MOVIMIENTOS", 0},
        {"SELECT N FROM NOTAS UNION SELECT N FROM NOTAS", 0},
        {"SELECT m.IMPORTE FROM MOVIMIENTOS m INNER JOIN NOTAS n ON n.N = m.NUMERO", 0},
    };
    auto provider = adodb::CreateSqliteProvider();
    provider->Open(sqlitetest::ConnectionStringFor(file_), "", "", 30);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sql);
        try {
            const adodb::ResultSet plain = *provider->Execute(c.sql, 30).result;
            adodb::ResultSet keyed = *provider->ExecuteForUpdate(c.sql, 30).result;
            EXPECT_EQ(plain.hiddenColumns, 0);
            ASSERT_EQ(keyed.hiddenColumns, c.hidden);
            ASSERT_EQ(keyed.columns.size(), plain.columns.size() + c.hidden);
            for (auto& row : keyed.rows) row.resize(plain.columns.size());
            keyed.columns.resize(plain.columns.size());
            EXPECT_EQ(Rows(keyed), Rows(plain));
            for (std::size_t i = 0; i < plain.columns.size(); ++i) {
                EXPECT_EQ(keyed.columns[i].name, plain.columns[i].name);
                EXPECT_EQ(keyed.columns[i].type, plain.columns[i].type);
            }
        } catch (const ComError& e) {
            ADD_FAILURE() << e.Description();
        }
    }
}

}  // namespace
