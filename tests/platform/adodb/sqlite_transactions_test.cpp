// Transactions by statement and by call on one connection, nesting as SQL Server nests them:
// only the outermost commit commits, a rollback undoes everything and resets the count, and
// a commit or rollback with none open is an error.
#include <gtest/gtest.h>

#include <sstream>

#include "platform/adodb/connection.h"
#include "sqlite_fixture.h"
#include "support/temp_dir.h"

namespace {

struct Case {
    const char* ops;        // blank-separated; a leading '!' means the operation must fail
    const char* committed;  // rows another connection sees afterwards
};

// B/b/T: BEGIN TRANSACTION, BeginTrans, BEGIN TRAN; C/c/K: COMMIT TRANSACTION, CommitTrans,
// COMMIT; R/r/Q: ROLLBACK TRANSACTION, RollbackTrans, ROLLBACK; I: insert one row.
void Apply(adodb::Connection& c, char op, int& next) {
    switch (op) {
        case 'B':
            c.Execute("BEGIN TRANSACTION");
            break;
        case 'b':
            c.BeginTrans();
            break;
        case 'T':
            c.Execute("BEGIN TRAN");
            break;
        case 'C':
            c.Execute("COMMIT TRANSACTION");
            break;
        case 'c':
            c.CommitTrans();
            break;
        case 'K':
            c.Execute("COMMIT");
            break;
        case 'R':
            c.Execute("ROLLBACK TRANSACTION");
            break;
        case 'r':
            c.RollbackTrans();
            break;
        case 'Q':
            c.Execute("ROLLBACK");
            break;
        case 'I':
            c.Execute("INSERT INTO N (V) VALUES (" + std::to_string(next++) + ")");
            break;
        default:
            FAIL() << "unknown operation " << op;
    }
}

TEST(SqliteTransactions, NestingByStatementAndByCall) {
    const Case cases[] = {
        {"B I C", "1"},       {"b I c", "1"},
        {"T I K", "1"},       {"B b I C", "0"},  // the inner commit only lowers the count
        {"B b I C c", "1"},   {"b B I c I C", "2"},
        {"B I b I R", "0"},   // a rollback undoes the outer work too
        {"B I b R !C", "0"},  // ... and leaves no transaction to commit
        {"B I R I", "1"},     // after the rollback, statements commit on their own
        {"B I Q B I C", "1"}, {"!C", "0"},
        {"!R", "0"},          {"!c I", "1"},
        {"!r", "0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ops);
        testsupport::TempDir dir;
        const std::string file = dir.File("tx.db");
        sqlitetest::CreateDatabase(file, "CREATE TABLE N (V INT);");
        adodb::Connection conn, observer;
        conn.Open(sqlitetest::ConnectionStringFor(file));
        observer.Open(sqlitetest::ConnectionStringFor(file));
        std::istringstream ops(c.ops);
        std::string op;
        int next = 1;
        while (ops >> op) {
            const bool mustFail = op[0] == '!';
            const char name = op[mustFail ? 1 : 0];
            bool failed = false;
            try {
                Apply(conn, name, next);
            } catch (const adodb::ComError&) {
                failed = true;
                EXPECT_EQ(conn.Errors().Count(), 1);
            }
            EXPECT_EQ(failed, mustFail) << "operation " << op;
        }
        EXPECT_EQ(sqlitetest::Rows(observer, "SELECT COUNT(*) FROM N"),
                  std::vector<std::string>{c.committed});
    }
}

TEST(SqliteTransactions, ClosingWithATransactionOpenRollsItBack) {
    testsupport::TempDir dir;
    const std::string file = dir.File("tx.db");
    sqlitetest::CreateDatabase(file, "CREATE TABLE N (V INT);");
    {
        adodb::Connection conn;
        conn.Open(sqlitetest::ConnectionStringFor(file));
        conn.Execute("BEGIN TRANSACTION");
        conn.Execute("INSERT INTO N (V) VALUES (1)");
        conn.Close();
    }
    adodb::Connection observer;
    observer.Open(sqlitetest::ConnectionStringFor(file));
    EXPECT_EQ(sqlitetest::Rows(observer, "SELECT COUNT(*) FROM N"), std::vector<std::string>{"0"});
}

}  // namespace
