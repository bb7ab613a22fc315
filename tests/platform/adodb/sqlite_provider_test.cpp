// The embedded engine behind the provider interface: opening, error reporting, results,
// schema rowsets and changes written back from recordsets.
#include "platform/adodb/sqlite/sqlite_provider.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

#include "platform/adodb/connection.h"
#include "platform/adodb/sqlite/engine_error.h"
#include "sqlite_fixture.h"
#include "support/temp_dir.h"

namespace {

using adodb::ComError;
using adodb::Variant;
using sqlitetest::Rows;

const char* const kSchema = R"sql(
CREATE TABLE T (ID INTEGER PRIMARY KEY, NOMBRE VARCHAR(20) COLLATE NOCASE NOT NULL,
  CANT INT, PRECIO NUMERIC(18,4), PESO FLOAT, ACTIVO BIT, IMPORTE MONEY, FECHA DATETIME,
  NOTA TEXT);
CREATE TABLE SINCLAVE (TEXTO VARCHAR(10) COLLATE NOCASE, N INT);
CREATE VIEW VT AS SELECT ID, NOMBRE FROM T;
INSERT INTO T VALUES (1, 'ñandú  ', 3, 12.5, 0.25, 1, 10.1234, '2004-12-31 00:00:00', 'x'),
  (2, 'abc', NULL, NULL, NULL, NULL, NULL, NULL, NULL);
INSERT INTO SINCLAVE VALUES ('uno', 1), ('uno', 1), ('dos', 2);
)sql";

class SqliteProviderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        sqlitetest::CreateDatabase(file_, kSchema);
        provider_->Open(sqlitetest::ConnectionStringFor(file_), "u", "", 30);
    }

    adodb::Provider& P() { return *provider_; }

    // The error a call raises (fails the test when it raises none).
    static adodb::Error ErrorOf(const std::function<void()>& call) {
        try {
            call();
        } catch (const ComError& e) {
            return e.Detail();
        }
        ADD_FAILURE() << "no error raised";
        return {};
    }

    testsupport::TempDir dir_;
    std::string file_ = dir_.File("t.db");
    std::unique_ptr<adodb::Provider> provider_ = adodb::CreateSqliteProvider();
};

std::string FileBytes(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A file that is missing, empty or no database is refused, says why in Spanish and is left
// byte for byte as it was.
TEST(SqliteProviderOpen, FileThatCannotBeOpenedIsRefusedAndLeftAsItWas) {
    testsupport::TempDir dir;
    auto write = [&](const char* name, const std::string& bytes) {
        std::ofstream(dir.File(name), std::ios::binary) << bytes;
        return dir.File(name);
    };
    std::string header = "SQLite format 3";
    header.push_back('\0');
    struct Case {
        const char* name;
        std::string file;
        const char* says;
    };
    const Case cases[] = {
        {"missing file", dir.File("falta.db"), "no existe"},
        {"zero-length file", write("vacio.db", ""), "vacío"},
        {"text file", write("texto.db", "esto no es una base de datos, solo texto\n"),
         "no es una base de datos"},
        {"shorter than a header", write("corto.db", "SQLite"), "no es una base de datos"},
        {"header then garbage", write("roto.db", header + std::string(5000, 'x')), "base de datos"},
        {"a folder", dir.Path().string(), "no es un archivo"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const bool existed = std::filesystem::exists(c.file);
        const bool regular = std::filesystem::is_regular_file(c.file);
        const std::string before = regular ? FileBytes(c.file) : std::string();
        auto p = adodb::CreateSqliteProvider();
        try {
            p->Open(sqlitetest::ConnectionStringFor(c.file), "", "", 5);
            ADD_FAILURE() << "opened";
        } catch (const ComError& e) {
            EXPECT_EQ(e.Detail().SQLState, "08001");
            EXPECT_NE(e.Detail().Description.find(c.file), std::string::npos)
                << e.Detail().Description;
            EXPECT_NE(e.Detail().Description.find(c.says), std::string::npos)
                << e.Detail().Description;
        }
        p.reset();
        EXPECT_EQ(std::filesystem::exists(c.file), existed);
        if (regular) {
            EXPECT_EQ(FileBytes(c.file), before);
            EXPECT_FALSE(std::filesystem::exists(c.file + "-wal"));
        }
    }
    auto p = adodb::CreateSqliteProvider();
    EXPECT_THROW(p->Open("PROVIDER=SQLOLEDB;Server=x;", "", "", 5), ComError);
}

TEST_F(SqliteProviderTest, EngineErrorsFillTheErrorsCollectionWithTheirNumbers) {
    struct Case {
        const char* sql;
        std::int32_t number;
        const char* state;
    };
    const Case cases[] = {
        {"SELECT * FROM NOPE", adodb::code::kNoTable, "42S02"},
        {"SELECT NOPE FROM T", adodb::code::kErrorsInCommand, "42S22"},
        {"SELECT * FROM T WHERE", adodb::code::kErrorsInCommand, "42000"},
        {"INSERT INTO T (ID, NOMBRE) VALUES (1, 'otro')", adodb::code::kIntegrity, "23000"},
        {"INSERT INTO T (ID) VALUES (3)", adodb::code::kIntegrity, "23000"},
        {"SELECT CONVERT(INT, NOMBRE) FROM T", adodb::code::kCantConvert, "22018"},
        {"SELECT * FROM T WHERE FECHA = '32/13/2004'", adodb::code::kCantConvert, "22007"},
        {"SELECT CONVERT(DATETIME, NOMBRE) FROM T", adodb::code::kCantConvert, "22007"},
        {"SELECT * FROM T WHERE FECHA = 1e30", adodb::code::kCantConvert, "22007"},
        {"SELECT * FROM T WHERE FECHA > '01/01/1700'", adodb::code::kCantConvert, "22007"},
        {"SELECT FECHA + 1e9 FROM T", adodb::code::kCantConvert, "22008"},
        {"SELECT CONVERT(INT, 1e30)", adodb::code::kCantConvert, "22003"},
        {"SELECT DATEDIFF(d, FECHA, GETDATE()) FROM T", adodb::code::kErrorsInCommand, "42000"},
        {"COMMIT TRANSACTION", adodb::code::kFail, "25000"},
    };
    adodb::Connection conn;
    conn.Open(sqlitetest::ConnectionStringFor(file_));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sql);
        EXPECT_THROW(conn.Execute(c.sql), ComError);
        ASSERT_EQ(conn.Errors().Count(), 1);
        EXPECT_EQ(conn.Errors().Item(0).Number, c.number);
        EXPECT_EQ(conn.Errors().Item(0).SQLState, c.state);
        EXPECT_FALSE(conn.Errors().Item(0).Description.empty());
    }
    EXPECT_EQ(Rows(conn, "SELECT COUNT(*) FROM T"), std::vector<std::string>{"2"});
}

TEST_F(SqliteProviderTest, BusyDatabaseWaitsForTheTimeoutThenFails) {
    auto other = adodb::CreateSqliteProvider();
    other->Open(sqlitetest::ConnectionStringFor(file_), "", "", 30);
    other->BeginTrans();
    other->Execute("INSERT INTO SINCLAVE (TEXTO) VALUES ('tres')", 30);
    const auto start = std::chrono::steady_clock::now();
    const adodb::Error e = ErrorOf([&] { P().Execute("DELETE SINCLAVE", 1); });
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(e.Number, adodb::code::kTimeout);
    EXPECT_EQ(e.SQLState, "HYT00");
    EXPECT_GE(waited, std::chrono::milliseconds(900));
    EXPECT_LT(waited, std::chrono::seconds(10));
    other->RollbackTrans();
    EXPECT_EQ(P().Execute("DELETE SINCLAVE", 1).recordsAffected, 3);
}

TEST_F(SqliteProviderTest, FieldsAreTypedFromTheirDeclarations) {
    const adodb::ResultSet rs = *P().Execute("SELECT * FROM T WHERE ID = 1", 30).result;
    struct Expected {
        const char* name;
        int type;
        long size;
        const char* value;
    };
    const Expected fields[] = {
        {"ID", adodb::dtype::kInteger, 4, "1"},
        {"NOMBRE", adodb::dtype::kVarChar, 20, "ñandú  "},
        {"CANT", adodb::dtype::kInteger, 4, "3"},
        {"PRECIO", adodb::dtype::kNumeric, 19, "12.5"},
        {"PESO", adodb::dtype::kDouble, 8, "0.25"},
        {"ACTIVO", adodb::dtype::kBoolean, 2, "true"},
        {"IMPORTE", adodb::dtype::kCurrency, 8, "10.1234"},
        {"FECHA", adodb::dtype::kDBTimeStamp, 16, "2004-12-31 00:00:00"},
        {"NOTA", adodb::dtype::kLongVarChar, 2147483647, "x"},
    };
    ASSERT_EQ(rs.columns.size(), std::size(fields));
    for (std::size_t i = 0; i < rs.columns.size(); ++i) {
        SCOPED_TRACE(fields[i].name);
        EXPECT_EQ(rs.columns[i].name, fields[i].name);
        EXPECT_EQ(rs.columns[i].type, fields[i].type);
        EXPECT_EQ(rs.columns[i].definedSize, fields[i].size);
        EXPECT_EQ(sqlitetest::Render(rs.rows[0][i]), fields[i].value);
    }
    EXPECT_EQ(rs.rows[0][7].Type(), adodb::VarType::Date);
    EXPECT_EQ(rs.rows[0][6].Type(), adodb::VarType::Currency);
    EXPECT_FALSE(rs.columns[1].nullable);
    EXPECT_TRUE(rs.columns[2].nullable);
    EXPECT_EQ(rs.baseTable, "T");
    EXPECT_EQ(rs.keyColumns, std::vector<std::string>{"ID"});
}

TEST_F(SqliteProviderTest, ComputedColumnsAndSqlServerFunctions) {
    struct Case {
        const char* expr;
        int type;
        const char* value;
    };
    const Case cases[] = {
        {"COUNT(*)", adodb::dtype::kInteger, "1"},
        {"MAX(FECHA)", adodb::dtype::kDBTimeStamp, "2004-12-31 00:00:00"},
        {"FECHA + 1", adodb::dtype::kDBTimeStamp, "2005-01-01 00:00:00"},
        {"CONVERT(VARCHAR(10), FECHA, 103)", adodb::dtype::kVarChar, "31/12/2004"},
        {"CONVERT(DATETIME, '01/02/2005')", adodb::dtype::kDBTimeStamp, "2005-02-01 00:00:00"},
        {"CONVERT(INT, ' 2004 ')", adodb::dtype::kInteger, "2004"},
        {"CONVERT(DECIMAL(10,2), '3.14159')", adodb::dtype::kNumeric, "3.14"},
        {"LEN(NOMBRE)", adodb::dtype::kInteger, "5"},
        {"CHARINDEX('DÚ', NOMBRE)", adodb::dtype::kInteger, "4"},
        {"ISNULL(NULL, 'x')", adodb::dtype::kVarChar, "x"},
        {"LTRIM(RTRIM('  a  '))", adodb::dtype::kVarChar, "a"},
        {"UPPER(NOMBRE)", adodb::dtype::kVarChar, "ÑANDÚ  "},
        {"'a' + 'b'", adodb::dtype::kVarChar, "ab"},
        {"CANT + '2'", adodb::dtype::kInteger, "5"},
        {"RIGHT('abcdef', 2) + LEFT('abcdef', 2)", adodb::dtype::kVarChar, "efab"},
        {"SUBSTRING('abcdef', 2, 3)", adodb::dtype::kVarChar, "bcd"},
        {"REPLACE('Tornillo', 'TOR', 'x')", adodb::dtype::kVarChar, "xnillo"},
        {"YEAR(FECHA) * 100 + MONTH(FECHA)", adodb::dtype::kInteger, "200412"},
        {"CASE WHEN ACTIVO = 1 THEN 'si' ELSE 'no' END", adodb::dtype::kVarChar, "si"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expr);
        try {
            const adodb::ResultSet rs =
                *P().Execute(std::string("SELECT ") + c.expr + " FROM T WHERE ID = 1", 30).result;
            ASSERT_EQ(rs.columns.size(), 1u);
            EXPECT_EQ(rs.columns[0].name, "");  // an unnamed computed column has no name
            EXPECT_EQ(rs.columns[0].type, c.type);
            EXPECT_EQ(sqlitetest::Render(rs.rows.at(0)[0]), c.value);
        } catch (const ComError& e) {
            ADD_FAILURE() << e.Description();
        }
    }
    const adodb::ResultSet now = *P().Execute("SELECT GETDATE() AS AHORA", 30).result;
    EXPECT_EQ(now.columns[0].name, "AHORA");
    EXPECT_EQ(now.rows[0][0].Type(), adodb::VarType::Date);
    const adodb::ResultSet join =
        *P().Execute("SELECT T.ID FROM T INNER JOIN SINCLAVE ON SINCLAVE.N = T.ID", 30).result;
    EXPECT_TRUE(join.baseTable.empty());
}

TEST_F(SqliteProviderTest, SchemaRowsetsListTablesViewsAndColumns) {
    const std::vector<Variant> none;
    EXPECT_EQ(Rows(P().OpenSchema(20, none)),
              (std::vector<std::string>{"t|dbo|SINCLAVE|TABLE", "t|dbo|T|TABLE", "t|dbo|VT|VIEW"}));
    EXPECT_EQ(Rows(P().OpenSchema(20, {Variant(), Variant(), Variant("vt")})),
              std::vector<std::string>{"t|dbo|VT|VIEW"});
    const adodb::ResultSet cols =
        P().OpenSchema(4, {Variant("otra"), Variant(), Variant("t"), Variant()});
    ASSERT_EQ(cols.rows.size(), 9u);
    EXPECT_EQ(cols.columns[3].name, "COLUMN_NAME");
    EXPECT_EQ(Rows(cols)[1], "t|dbo|T|NOMBRE|2|200|20|false");
    EXPECT_EQ(Rows(cols)[2], "t|dbo|T|CANT|3|3|NULL|true");
    EXPECT_EQ(Rows(P().OpenSchema(4, {Variant(), Variant(), Variant("T"), Variant("fecha")})),
              std::vector<std::string>{"t|dbo|T|FECHA|8|135|NULL|true"});
}

TEST_F(SqliteProviderTest, ChangesAreWrittenWithTheColumnsTypes) {
    adodb::RowChange update;
    update.table = "t";
    update.setColumns = {"FECHA", "CANT", "NOMBRE"};
    update.setValues = {Variant("01/02/2005"), Variant("7"), Variant("O'Hara")};
    update.whereColumns = {"ID"};
    update.whereValues = {Variant(std::int32_t{2})};
    EXPECT_EQ(P().ApplyChange(update), 1);
    EXPECT_EQ(Rows(P(), "SELECT FECHA, CANT, NOMBRE FROM T WHERE ID = 2"),
              std::vector<std::string>{"2005-02-01 00:00:00|7|O'Hara"});

    adodb::RowChange insert;
    insert.kind = adodb::RowChange::Kind::Insert;
    insert.table = "T";
    insert.setColumns = {"ID", "NOMBRE", "FECHA"};
    insert.setValues = {Variant(std::int32_t{5}), Variant("nuevo"),
                        Variant(text::DateTime{2004, 6, 30, 10, 0, 0})};
    EXPECT_EQ(P().ApplyChange(insert), 1);
    EXPECT_EQ(Rows(P(), "SELECT FECHA FROM T WHERE ID = 5"),
              std::vector<std::string>{"2004-06-30 10:00:00"});

    // A text that is no date, or no number, is refused and nothing is written.
    for (const char* column : {"FECHA", "CANT"}) {
        update.setColumns = {column};
        update.setValues = {Variant("32/13/2004")};
        EXPECT_EQ(ErrorOf([&] { P().ApplyChange(update); }).Number, adodb::code::kCantConvert);
    }
    EXPECT_EQ(Rows(P(), "SELECT FECHA, CANT FROM T WHERE ID = 2"),
              std::vector<std::string>{"2005-02-01 00:00:00|7"});

    // A row that is gone changes nothing.
    update.setColumns = {"CANT"};
    update.setValues = {Variant(std::int32_t{1})};
    update.whereValues = {Variant(std::int32_t{99})};
    EXPECT_EQ(P().ApplyChange(update), 0);
}

TEST_F(SqliteProviderTest, UpdateFoundByValuesThatSeveralRowsShareIsRefused) {
    adodb::RowChange update;
    update.table = "SINCLAVE";
    update.setColumns = {"N"};
    update.setValues = {Variant(std::int32_t{9})};
    update.whereColumns = {"TEXTO", "N"};
    update.whereValues = {Variant("uno"), Variant(std::int32_t{1})};
    EXPECT_EQ(ErrorOf([&] { P().ApplyChange(update); }).Number, adodb::code::kFail);
    EXPECT_EQ(Rows(P(), "SELECT N FROM SINCLAVE ORDER BY N"),
              (std::vector<std::string>{"1", "1", "2"}));
    update.whereValues = {Variant("DOS"), Variant(std::int32_t{2})};  // found exactly, not by case
    EXPECT_EQ(P().ApplyChange(update), 0);
    update.whereValues = {Variant("dos"), Variant(std::int32_t{2})};
    EXPECT_EQ(P().ApplyChange(update), 1);
}

}  // namespace

namespace {

// The engine's common failures are described in Spanish, its own text kept after them.
TEST(SqliteEngineErrors, CommonFailuresAreDescribedInSpanish) {
    struct Case {
        int rc;
        const char* starts;
    };
    const Case cases[] = {
        {SQLITE_CANTOPEN, "No se puede abrir"},
        {SQLITE_READONLY, "La base de datos es de sólo"},
        {SQLITE_FULL, "El disco está lleno"},
        {SQLITE_NOTADB, "El archivo no es una base"},
        {SQLITE_CORRUPT, "La base de datos está dañada"},
        {SQLITE_IOERR_WRITE, "Error de lectura o escritura"},
        {SQLITE_BUSY, "La base de datos está ocupada"},
    };
    for (const Case& c : cases) {
        const adodb::Error e = adodb::sqlite::EngineError(nullptr, c.rc, 30);
        SCOPED_TRACE(e.Description);
        EXPECT_EQ(e.Description.rfind(c.starts, 0), 0u);
        EXPECT_NE(e.Description.find(sqlite3_errstr(c.rc)), std::string::npos);
    }
}

}  // namespace
