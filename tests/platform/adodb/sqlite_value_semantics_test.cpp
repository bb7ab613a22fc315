// Texts compare, sort and group in the suite's order everywhere in a statement, and values
// are typed from what they are, on tables declared as the suite's schema declares them and
// on tables made elsewhere with the engine's BINARY or NOCASE collations.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/adodb/connection.h"
#include "platform/collation/suite_collation.h"
#include "platform/text/strings.h"
#include "sqlite_fixture.h"
#include "support/temp_dir.h"

namespace {

using Rows = std::vector<std::string>;

// {C} stands for the text columns' collation clause.
const char* const kTables = R"sql(
CREATE TABLE H (ID INTEGER PRIMARY KEY, TC VARCHAR(4) {C}, NUMERO VARCHAR(8) {C},
  FECHA DATETIME, Importe NUMERIC(18,4));
CREATE INDEX IX_H ON H (TC, NUMERO);
INSERT INTO H VALUES (1, 'FC', '0001', '2003-06-01 00:00:00', 7),
  (2, 'fc', '0002', '2003-12-31 00:00:00', 1.5), (3, 'ND', '0003', '2004-02-01 00:00:00', 2),
  (4, 'ÑC', '0001', '2003-01-15 00:00:00', 3), (5, 'FC  ', '0004', '2005-01-01 00:00:00', 4);
CREATE TABLE D (ID INTEGER PRIMARY KEY, TC VARCHAR(4) {C}, NUMERO VARCHAR(8) {C});
INSERT INTO D VALUES (1, 'FC', '0001'), (2, 'fc', '0002'), (3, 'ñc', '0001'),
  (4, 'FC', '0004  '), (5, 'ND', '0003'), (6, 'Fc', '0002'), (7, 'XX', '0001');
CREATE TABLE P (NOMBRE VARCHAR(10) {C});
INSERT INTO P VALUES ('oso'), ('Ñu'), ('zorro'), ('ábaco'), ('nube'), ('Abeja'), ('azul'),
  ('ñandú');
CREATE TABLE Q (ID INTEGER PRIMARY KEY, FECHA VARCHAR(10) {C});
INSERT INTO Q VALUES (1, 'abc'), (2, 'def');
CREATE VIEW VX AS SELECT TC || '' AS T FROM H;
)sql";

struct Variant {
    const char* name;
    std::string collation;
};

const Variant kVariants[] = {
    {"suite schema", collation::WithSuiteCollation("COLLATE NOCASE")},
    {"BINARY", ""},
    {"NOCASE", "COLLATE NOCASE"},
};

struct Case {
    const char* sql;
    Rows rows;
};

class SqliteValueSemantics : public ::testing::Test {
  protected:
    void ExpectOnEveryVariant(const std::vector<Case>& cases) {
        for (const Variant& v : kVariants) {
            adodb::Connection c = Open(v);
            for (const Case& k : cases) {
                SCOPED_TRACE(std::string(v.name) + ": " + k.sql);
                EXPECT_EQ(sqlitetest::Rows(c, k.sql), k.rows);
            }
        }
    }

    adodb::Connection Open(const Variant& v) {
        const std::string file = dir_.File(std::string("v") + std::to_string(next_++) + ".db");
        sqlitetest::CreateDatabase(file, text::ReplaceAllExact(kTables, "{C}", v.collation));
        adodb::Connection c;
        c.Open(sqlitetest::ConnectionStringFor(file));
        return c;
    }

    testsupport::TempDir dir_;
    int next_ = 0;
};

TEST_F(SqliteValueSemantics, TextsCompareSortAndGroupInTheSuitesOrder) {
    const std::vector<Case> cases = {
        {"SELECT D.ID FROM D INNER JOIN H ON H.TC = D.TC AND H.NUMERO = D.NUMERO ORDER BY D.ID",
         {"1", "2", "3", "4", "5", "6"}},
        {"SELECT D.ID FROM D, H WHERE H.TC = D.TC AND H.NUMERO = D.NUMERO ORDER BY D.ID",
         {"1", "2", "3", "4", "5", "6"}},
        {"SELECT D.ID FROM D WHERE NOT EXISTS (SELECT 1 FROM H WHERE H.TC = D.TC AND "
         "H.NUMERO = D.NUMERO)",
         {"7"}},
        {"SELECT ID FROM D WHERE TC IN (SELECT TC FROM H WHERE NUMERO = '0001') ORDER BY ID",
         {"1", "2", "3", "4", "6"}},
        {"SELECT COUNT(*) FROM H WHERE CASE TC WHEN 'FC' THEN 1 ELSE 0 END = 1", {"3"}},
        {"SELECT COUNT(*) FROM (SELECT TC FROM H UNION SELECT TC FROM D) AS u", {"4"}},
        {"SELECT COUNT(DISTINCT TC) FROM H", {"3"}},
        {"SELECT COUNT(*) FROM H GROUP BY TC ORDER BY COUNT(*)", {"1", "1", "3"}},
        {"SELECT COUNT(*) FROM (SELECT DISTINCT TC FROM D) AS x", {"4"}},
        {"SELECT NOMBRE FROM P ORDER BY NOMBRE",
         {"ábaco", "Abeja", "azul", "nube", "ñandú", "Ñu", "oso", "zorro"}},
        {"SELECT MIN(NOMBRE), MAX(NOMBRE) FROM P", {"ábaco|zorro"}},
        {"SELECT COUNT(*) FROM H WHERE TC LIKE 'FC'", {"3"}},
        {"SELECT COUNT(*) FROM P WHERE NOMBRE LIKE '[n-o]%'", {"4"}},
        {"SELECT COUNT(*) FROM H WHERE LTRIM(RTRIM(TC)) = 'ñc'", {"1"}},
        {"SELECT COUNT(*) FROM H WHERE TC BETWEEN 'fc' AND 'FC'", {"3"}},
        {"SELECT COUNT(*) FROM D WHERE TC IN ('ÑC', 'fC')", {"5"}},
    };
    ExpectOnEveryVariant(cases);
}

TEST_F(SqliteValueSemantics, ValuesAreTypedFromWhatTheyAre) {
    const std::vector<Case> cases = {
        {"SELECT COUNT(*) FROM (SELECT FECHA AS F FROM H) a WHERE a.F <= '31/12/2003'", {"3"}},
        {"SELECT COUNT(*) FROM H WHERE FECHA <= '31/12' + '/2003'", {"3"}},
        {"SELECT COUNT(*) FROM H WHERE FECHA <= CASE WHEN 1 = 1 THEN '31/12/2003' END", {"3"}},
        {"SELECT COUNT(*) FROM H WHERE FECHA <= (SELECT '31/12/2003')", {"3"}},
        {"SELECT COUNT(*) FROM Q WHERE FECHA = 'abc'", {"1"}},
        {"SELECT Importe / 2 FROM H WHERE ID = 1", {"3.5"}},
        {"SELECT COUNT(*) FROM H WHERE NUMERO = 4", {"1"}},
        {"SELECT COUNT(*) FROM H WHERE Importe = '1.5'", {"1"}},
        {"SELECT SUBSTRING('abcdef', -1, 3), SUBSTRING('abcdef', 2, 3), SUBSTRING('ab', 5, 1)",
         {"a|bcd|"}},
        {"SELECT ISNULL(CONVERT(varchar(2), NULL), 'abcdef')", {"ab"}},
    };
    ExpectOnEveryVariant(cases);
}

// A literal that is not a date, compared with a date however the date is reached, is a
// conversion error that changes nothing; so are other conversions that fail, and a
// comparison whose value cannot be typed is refused.
TEST_F(SqliteValueSemantics, FailedConversionsAndUntypableComparisonsChangeNothing) {
    const std::string x = "'31/02/2003'";
    const std::vector<std::string> statements = {
        "DELETE H FROM (SELECT ID, FECHA AS F FROM H) AS a WHERE a.ID = H.ID AND a.F <= " + x,
        "DELETE FROM H WHERE FECHA <= (SELECT " + x + ")",
        "DELETE FROM H WHERE CASE WHEN ID > 0 THEN FECHA END <= " + x,
        "DELETE FROM H WHERE (SELECT MAX(FECHA) FROM H) <= " + x,
        "DELETE FROM H WHERE FECHA <= CASE WHEN 1 = 1 THEN " + x + " END",
        "DELETE FROM H WHERE FECHA <= COALESCE(NULL, " + x + ")",
        "DELETE FROM H WHERE FECHA <= ISNULL(NULL, " + x + ")",
        "DELETE FROM H WHERE FECHA <= NULLIF(" + x + ", 'z')",
        "DELETE FROM H WHERE FECHA <= UPPER(" + x + ")",
        "DELETE FROM H WHERE FECHA <= LTRIM(RTRIM(" + x + "))",
        "DELETE FROM H WHERE FECHA <= SUBSTRING(" + x + ", 1, 10)",
        "DELETE FROM H WHERE FECHA <= CONVERT(varchar, " + x + ")",
        "DELETE FROM H WHERE FECHA <= (" + x + ")",
        "DELETE FROM H WHERE FECHA <= " + x + " + ''",
        "DELETE FROM H WHERE FECHA BETWEEN '01/01/2000' AND UPPER(" + x + ")",
        "DELETE FROM H WHERE FECHA IN (" + x + ")",
        "UPDATE H SET FECHA = UPPER(" + x + ")",
        "DELETE FROM Q WHERE FECHA = 4",
        "DELETE FROM H WHERE Importe = 'abc'",
        "DELETE FROM D WHERE TC = 1",
        "DELETE FROM H WHERE EXISTS (SELECT 1 FROM VX WHERE T = 'FC')",
    };
    for (const Variant& v : kVariants) {
        adodb::Connection c = Open(v);
        for (const std::string& sql : statements) {
            SCOPED_TRACE(std::string(v.name) + ": " + sql);
            EXPECT_THROW(c.Execute(sql), adodb::ComError);
            EXPECT_EQ(sqlitetest::Rows(c, "SELECT COUNT(*), MIN(FECHA) FROM H"),
                      Rows{"5|2003-01-15 00:00:00"});
            EXPECT_EQ(sqlitetest::Rows(c, "SELECT COUNT(*) FROM Q"), Rows{"2"});
        }
    }
}

}  // namespace
