// Read-only connections: only queries and transaction calls get through, refused statements
// never reach the provider, the embedded engine opens the file read-only and never writes it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>

#include "contract_backends.h"
#include "platform/adodb/connection.h"
#include "platform/adodb/read_only_guard.h"
#include "platform/adodb/recording/recording_provider.h"
#include "platform/adodb/sqlite/sqlite_provider.h"
#include "sqlite_fixture.h"
#include "support/temp_dir.h"

namespace {

using adodb::ComError;
using adodb::Connection;
using adodb::StatementClass;
namespace fs = std::filesystem;

std::string Bytes(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// The error a call raises: its number and SQL state, "" when it succeeds.
std::string FailureOf(const std::function<void()>& op) {
    try {
        op();
    } catch (const ComError& e) {
        return std::to_string(e.Number()) + " " + e.Detail().SQLState;
    }
    return "";
}

const char* const kRefused[] = {
    "INSERT INTO N (V) VALUES (9)",
    "UPDATE N SET V = 0",
    "DELETE FROM N",
    "delete n where v = 1",
    "CREATE TABLE X (A INT)",
    "DROP TABLE N",
    "ALTER TABLE N ADD W INT NULL",
    "TRUNCATE TABLE N",
    "WITH c AS (SELECT V FROM N) DELETE FROM N WHERE V IN (SELECT V FROM c)",
    "SELECT V INTO COPIA FROM N",
    "SELECT * FROM N; DELETE FROM N",
    "SELECT * FROM N DELETE FROM N",  // a batch of two statements without ';'
    "SELECT 1; SELECT 2",
    "-- consulta\n  /* SELECT */ DELETE FROM N",
    "EXEC sp_borrar 1",
    "sp_borrar 1",
    "EXECUTE ('DELETE FROM N')",
    "SELECT * FROM OPENQUERY(S, 'DELETE FROM N')",
    "SELECT NEXT VALUE FOR contador",
    "SELECT 'abc",                // a literal never closed
    "SELECT 1 /* DELETE FROM N",  // a comment never closed
    "MERGE N USING M ON N.V = M.V WHEN MATCHED THEN DELETE;",
    "SET NOCOUNT ON",
    "BEGIN TRAN DELETE FROM N",
    "PRAGMA journal_mode=DELETE",
    // Words an engine may split where a plain reading would not.
    "SELECT 1DELETE FROM N",
    "SELECT 1e5DELETE FROM N",
    "SELECT $DELETE FROM N",
    "SELECT 1\xC2\xA0"
    "DELETE FROM N",
    "SELECT 1 -- fin\rDELETE FROM N",
    "",
    " ; ",
};

TEST(ReadOnlyGuard, LetsThroughQueriesAndTransactionStatementsOnly) {
    const struct {
        const char* sql;
        StatementClass kind;
    } allowed[] = {
        {"SELECT * FROM N", StatementClass::Query},
        {"  -- lista\n/* todo */ select V from N where V > 0;", StatementClass::Query},
        {"(SELECT V FROM N) UNION (SELECT V FROM N)", StatementClass::Query},
        {"WITH c AS (SELECT V FROM N) SELECT COUNT(*) FROM c", StatementClass::Query},
        // Refused words inside literals, quoted names and comments are only text.
        {"SELECT 'DELETE FROM N; DROP TABLE N' AS [INTO], \"SET\" FROM N -- DELETE",
         StatementClass::Query},
        {"SELECT N'it''s; DELETE' FROM [MV STOCK] WHERE [Update]]x] = 1", StatementClass::Query},
        {"SELECT * FROM N ORDER BY V OFFSET 1 ROWS FETCH NEXT 2 ROWS ONLY", StatementClass::Query},
        {"SELECT DELETE_FLAG, Año, @v, #t.SETS, 1.5e3, $2.50, 0x1F FROM N", StatementClass::Query},
        {"BEGIN TRANSACTION", StatementClass::Transaction},
        {"begin tran paso1", StatementClass::Transaction},
        {"COMMIT", StatementClass::Transaction},
        {"COMMIT TRANSACTION;", StatementClass::Transaction},
        {"ROLLBACK WORK", StatementClass::Transaction},
    };
    for (const auto& c : allowed) {
        SCOPED_TRACE(c.sql);
        EXPECT_EQ(adodb::ClassifyStatement(c.sql).kind, c.kind);
    }
    for (const char* sql : kRefused) {
        SCOPED_TRACE(sql);
        const auto check = adodb::ClassifyStatement(sql);
        EXPECT_EQ(check.kind, StatementClass::Other);
        EXPECT_FALSE(check.reason.empty());
    }
}

TEST(ReadOnlyConnection, RefusedStatementsNeverReachTheProvider) {
    auto rec = std::make_shared<adodb::Recorder>();
    adodb::ScopedRecording scope("ro", rec);
    Connection c;
    c.SetReadOnly(true);
    c.Open(scope.ConnectionString());
    rec->ClearCalls();
    for (const char* sql : kRefused) {
        SCOPED_TRACE(sql);
        EXPECT_EQ(FailureOf([&] { c.Execute(sql); }), "3251 25006");
        ASSERT_EQ(c.Errors().Count(), 1);
        EXPECT_NE(c.Errors().Item(0).Description.find("solo lectura"), std::string::npos);
        adodb::Recordset rs;
        EXPECT_EQ(FailureOf([&] { rs.Open(sql, c, 0, 3); }), "3251 25006");
    }
    c.BeginTrans();
    c.Execute("SELECT V FROM N");
    c.RollbackTrans();
    EXPECT_EQ(rec->Calls(), (std::vector<std::string>{"BeginTrans", "Execute: SELECT V FROM N",
                                                      "RollbackTrans"}));
    // The mode is chosen while closed.
    EXPECT_EQ(FailureOf([&] { c.SetReadOnly(false); }), "3705 ");
    EXPECT_TRUE(c.ReadOnly());
}

TEST(ReadOnlyConnection, RecordsetChangesAreRefused) {
    auto rec = std::make_shared<adodb::Recorder>();
    adodb::ScopedRecording scope("ro", rec);
    auto table = adodb::MakeResult({"V"}, {{std::int32_t{1}}});
    table.baseTable = "N";
    table.keyColumns = {"V"};
    rec->SetDefault(adodb::ScriptedReply::Rows(table));
    Connection c;
    c.SetReadOnly(true);
    c.Open(scope.ConnectionString());
    adodb::Recordset rs;
    rs.Open("SELECT V FROM N", c, 1, 3);
    rs.Fields("V").SetValue(adodb::Variant(std::int32_t{2}));
    EXPECT_EQ(FailureOf([&] { rs.Update(); }), "3251 25006");
    adodb::Recordset added;  // the refused change above stays pending on `rs`
    added.Open("SELECT V FROM N", c, 1, 3);
    added.AddNew();
    added.Fields("V").SetValue(adodb::Variant(std::int32_t{3}));
    EXPECT_EQ(FailureOf([&] { added.Update(); }), "3251 25006");
    EXPECT_TRUE(rec->Changes().empty());
}

class ReadOnlyFile : public ::testing::Test {
  protected:
    testsupport::TempDir dir_;
    std::string file_ = dir_.File("datos.db");

    void SetUp() override {
        sqlitetest::CreateDatabase(file_, "CREATE TABLE N (V INT); INSERT INTO N VALUES (1), (2);");
        // A connection that writes leaves the file in write-ahead-log mode, as in use.
        Connection w;
        w.Open(sqlitetest::ConnectionStringFor(file_));
        w.Execute("INSERT INTO N VALUES (3)");
        w.Close();
    }

    void ExpectReadsAndRefuses(Connection& c) {
        EXPECT_EQ(sqlitetest::Rows(c, "SELECT COUNT(*), SUM(V) FROM N"),
                  (std::vector<std::string>{"3|6"}));
        c.BeginTrans();
        EXPECT_EQ(sqlitetest::Rows(c, "SELECT MAX(V) FROM N"), (std::vector<std::string>{"3"}));
        c.CommitTrans();
        c.Execute("BEGIN TRANSACTION");
        c.Execute("ROLLBACK TRANSACTION");
        for (const char* sql : kRefused) {
            SCOPED_TRACE(sql);
            EXPECT_EQ(FailureOf([&] { c.Execute(sql); }), "3251 25006");
        }
        EXPECT_EQ(sqlitetest::Rows(c, "SELECT COUNT(*) FROM N"), (std::vector<std::string>{"3"}));
    }
};

TEST_F(ReadOnlyFile, ReadsAndKeepsItsBytesWhetherTheSystemMakesItReadOnlyOrNot) {
    for (const bool systemReadOnly : {true, false}) {
        SCOPED_TRACE(systemReadOnly ? "file read-only for the system" : "writable file");
        if (systemReadOnly)
            fs::permissions(file_,
                            fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
        const std::string before = Bytes(file_);
        Connection c;
        c.SetReadOnly(true);
        c.Open(sqlitetest::ConnectionStringFor(file_));
        ExpectReadsAndRefuses(c);
        c.Close();
        EXPECT_EQ(Bytes(file_), before);
        fs::permissions(file_, fs::perms::owner_write, fs::perm_options::add);
    }
}

TEST_F(ReadOnlyFile, EngineRefusesWritesBehindTheConnectionToo) {
    // The provider alone, without the Connection's check: the engine itself will not write.
    auto p = adodb::CreateSqliteProvider();
    p->SetReadOnly(true);
    p->Open(sqlitetest::ConnectionStringFor(file_), "", "", 5);
    EXPECT_THROW(p->Execute("DELETE FROM N", 5), ComError);
    EXPECT_EQ(sqlitetest::Rows(*p, "SELECT COUNT(*) FROM N"), (std::vector<std::string>{"3"}));
}

TEST(ReadOnlyConnectionOpen, MissingFileIsNotCreated) {
    testsupport::TempDir dir;
    const std::string file = dir.File("falta.db");
    Connection c;
    c.SetReadOnly(true);
    EXPECT_NE(FailureOf([&] { c.Open(sqlitetest::ConnectionStringFor(file)); }).find("08001"),
              std::string::npos);
    EXPECT_FALSE(fs::exists(file));
}

TEST(ReadOnlyConnectionOdbc, DriverConnectionReadsAndRefusesWrites) {
    if (!adodbtest::SqliteOdbcDriverAvailable()) GTEST_SKIP() << "SQLite ODBC driver missing";
    testsupport::TempDir dir;
    const std::string file = dir.File("odbc.db");
    adodbtest::CreateContractDatabase(file);
    const std::string before = Bytes(file);
    Connection c;
    c.SetReadOnly(true);
    c.Open(adodbtest::SqliteOdbcConnectionString(file));
    EXPECT_EQ(sqlitetest::Rows(c, "SELECT COUNT(*) FROM ARTICULOS"),
              (std::vector<std::string>{"3"}));
    EXPECT_EQ(FailureOf([&] { c.Execute("DELETE FROM ARTICULOS"); }), "3251 25006");
    c.Close();
    EXPECT_EQ(Bytes(file), before);
}

}  // namespace
