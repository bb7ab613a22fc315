// The loadable extension gives the engine's shell the suite's collation on a database made
// with the suite's schema; without it the engine's error names the collation to load.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <memory>
#include <string>

#include "demo/schema.h"
#include "platform/collation/suite_collation.h"
#include "support/temp_dir.h"

namespace {

using DbPtr = std::unique_ptr<sqlite3, int (*)(sqlite3*)>;

DbPtr Open(const std::string& file) {
    sqlite3* raw = nullptr;
    sqlite3_open_v2(file.c_str(), &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    return DbPtr(raw, sqlite3_close_v2);
}

// The single text a query gives, or the engine's error.
std::string Query(sqlite3* db, const char* sql) {
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &raw, nullptr) != SQLITE_OK) return sqlite3_errmsg(db);
    std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> stmt(raw, sqlite3_finalize);
    if (sqlite3_step(stmt.get()) != SQLITE_ROW) return sqlite3_errmsg(db);
    return reinterpret_cast<const char*>(sqlite3_column_text(stmt.get(), 0));
}

TEST(SqliteCollationExtension, ShellSortsAndComparesAsTheProgramOnlyWithIt) {
    testsupport::TempDir dir;
    const std::string file = dir.File("demo.db");
    {
        DbPtr db = Open(file);
        demo::CreateSchema(db.get());
        sqlite3_exec(db.get(),
                     "INSERT INTO MA_CUENTAS (Codigo, Descripcion, Tipo) VALUES ('1', 'oso', 'C'),"
                     "('2', 'Ñu', 'C'), ('3', 'ábaco', 'C'), ('4', 'nube', 'C'), "
                     "('5', 'Abeja', 'C'), ('6', 'ñandú', 'C')",
                     nullptr, nullptr, nullptr);
    }
    const char* const sorted =
        "SELECT group_concat(Descripcion, ',') FROM (SELECT Descripcion FROM MA_CUENTAS "
        "ORDER BY Descripcion)";
    DbPtr shell = Open(file);
    EXPECT_EQ(Query(shell.get(), sorted),
              std::string("no such collation sequence: ") + collation::kSuiteCollation);

    sqlite3_enable_load_extension(shell.get(), 1);
    const std::string module = std::string(DEPURACIONES_BINARY_DIR) + "/src/platform/collation/" +
                               collation::kSuiteCollation;
    char* error = nullptr;
    ASSERT_EQ(sqlite3_load_extension(shell.get(), module.c_str(), nullptr, &error), SQLITE_OK)
        << (error != nullptr ? error : "");
    EXPECT_EQ(Query(shell.get(), sorted), "ábaco,Abeja,nube,ñandú,Ñu,oso");
    EXPECT_EQ(Query(shell.get(), "SELECT COUNT(*) FROM MA_CUENTAS WHERE Descripcion = 'ÑANDÚ  '"),
              "1");
}

}  // namespace
