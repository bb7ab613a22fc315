#include <gtest/gtest.h>

#include <string>

#include "db/db_dll.h"
#include "platform/text/runtime_error.h"

namespace {

constexpr const char* kOracle =
    "Provider=OraOLEDB.Oracle.1;Data Source=ORCL;User Id=ana;Password=pw;";
constexpr const char* kFechaDay = "TO_DATE(TO_CHAR(FECHA,'DD/MM/YYYY'),'DD/MM/YYYY')";

std::string Day(const std::string& date) {
    return "TO_DATE('" + date + "','DD/MM/YYYY')";
}

struct DiccCase {
    std::string connection;
    std::string statement;
    std::string expected;
};

TEST(OracleDialect, TranslatesStatements) {
    const std::string ss = "PROVIDER=SQLOLEDB;Server=SRV1;Database =EMPRESA;UId=ana;Pwd=;";
    const DiccCase cases[] = {
        // Elsewhere the statement is only upper-cased.
        {ss, "select * from movs where fecha >= '31/12/2004'",
         "SELECT * FROM MOVS WHERE FECHA >= '31/12/2004'"},
        // Single words.
        {kOracle, "len", "LENGTH"},
        {kOracle, "Codigo", "CODIGO"},
        {kOracle, "Peñaÿ", "PEÑAŸ"},  // ÿ to Ÿ, as Windows-1252 upper-cases it
        // TOP: letter case kept, the limit before GROUP BY / ORDER BY, WHERE rebuilt.
        {kOracle, "SELECT TOP 10 Codigo FROM ARTICULOS ORDER BY Codigo",
         "SELECT  Codigo FROM ARTICULOS WHERE ROWNUM <= 10 ORDER BY Codigo"},
        {kOracle,
         "select top 5 Cuenta, sum(Importe) from mv_asientos where Importe > 0 group by Cuenta "
         "order by Cuenta",
         "select  Cuenta, sum(Importe) from mv_asientos where Importe > 0 AND ROWNUM <= 5 group "
         "by Cuenta order by Cuenta"},
        // "top " is a plain substring: a name ending in TOP triggers the step.
        {kOracle, "SELECT * FROM LAPTOP WHERE A = 1",
         "SELECT * FROM LAP A = 1  AND ROWNUM <= WHERE"},
        // Date columns compared by day, date literals into TO_DATE, wherever they stand.
        {kOracle, "select * from movs where fecha >= '31/12/2004'",
         std::string("SELECT * FROM MOVS WHERE ") + kFechaDay + " >= " + Day("31/12/2004")},
        {kOracle, "INSERT INTO T (A, B) VALUES ('1/2/2005', 'abc')",
         "INSERT INTO T (A, B) VALUES (" + Day("01/02/2005") + ", 'ABC')"},
        // An operator attached to the column, or a parenthesis before it: not wrapped.
        {kOracle, "SELECT * FROM T WHERE FECHA= '01/02/2005'",
         "SELECT * FROM T WHERE FECHA= " + Day("01/02/2005")},
        {kOracle, "SELECT * FROM T WHERE (FECHA <= '31/12/2004')",
         "SELECT * FROM T WHERE (FECHA <= " + Day("31/12/2004") + " )"},
        // Runs of blanks in the WHERE part shrink, quoted tokens keep theirs.
        {kOracle, "SELECT * FROM T WHERE  NOMBRE  =  'A  B'",
         "SELECT * FROM T WHERE NOMBRE = 'A  B'"},
        // A doubled quote stays inside its literal.
        {kOracle, "SELECT * FROM T WHERE NOMBRE = 'O''Brien' AND X = 1",
         "SELECT * FROM T WHERE NOMBRE = 'O''BRIEN' AND X = 1"},
        // Brackets become quotes; the quoted FECHA DESDE is a date column.
        {kOracle, "SELECT * FROM T WHERE [Fecha Desde] <= '31/12/2004'",
         "SELECT * FROM T WHERE TO_DATE(TO_CHAR(\"FECHA DESDE\",'DD/MM/YYYY'),'DD/MM/YYYY') "
         "<= " +
             Day("31/12/2004")},
        // LEN with up to four blanks before "(", not after "("; Charindex into InStr.
        {kOracle, "SELECT LEN(Codigo), Charindex('A', Nombre) FROM T",
         "SELECT LENGTH(CODIGO), InStr('A', NOMBRE) FROM T"},
        {kOracle, "SELECT LEN    (X), MAX(LEN(Y)) FROM T", "SELECT LENGTH(X), MAX(LEN(Y)) FROM T"},
        // Texts that do not read as dates stay.
        {kOracle, "UPDATE T SET A = '32/13/2004', B = '2004'",
         "UPDATE T SET A = '32/13/2004', B = '2004'"},
    };
    for (const DiccCase& c : cases) {
        db::DB_Dll db;
        db.gConnString = c.connection;
        EXPECT_EQ(db.ORACLE_Dicc(c.statement), c.expected) << c.statement;
    }
}

TEST(OracleDialect, MalformedStatementsFailToTheCaller) {
    db::DB_Dll db;
    db.gConnString = kOracle;
    for (const std::string statement :
         {"SELECT * FROM T WHERE A = 'X", "UPDATE T SET A = 'X''", "SELECT TOP 10"}) {
        try {
            db.ORACLE_Dicc(statement);
            ADD_FAILURE() << statement << " did not fail";
        } catch (const text::RuntimeError& e) {
            EXPECT_EQ(e.Number(), text::errnum::kInvalidArgument) << statement;
        }
    }
}

TEST(OracleDialect, WrapsEachDateLiteralOnce) {
    db::DB_Dll db;
    db.gConnString = kOracle;
    // The same literal three times, and one already inside TO_DATE.
    EXPECT_EQ(db.ORACLE_Dicc("INSERT INTO T VALUES ('31/12/2004', '31/12/2004', '31/12/2004')"),
              "INSERT INTO T VALUES (" + Day("31/12/2004") + ", " + Day("31/12/2004") + ", " +
                  Day("31/12/2004") + ")");
    EXPECT_EQ(
        db.ORACLE_Dicc("INSERT INTO T VALUES (TO_DATE( '1/2/2005','DD/MM/YYYY'), '1/2/2005')"),
        "INSERT INTO T VALUES (TO_DATE( '1/2/2005','DD/MM/YYYY'), " + Day("01/02/2005") + ")");
    // A thousand repetitions grow the statement linearly.
    std::string many = "INSERT INTO T VALUES ('31/12/2004'";
    for (int i = 1; i < 1000; ++i) many += ", '31/12/2004'";
    EXPECT_LT(db.ORACLE_Dicc(many + ")").size(), many.size() * 4);
}

}  // namespace
