#include "engine_fixture.h"

#include <sqlite3.h>

#include <array>
#include <cstdlib>
#include <memory>
#include <stdexcept>

#include "demo/generator.h"
#include "demo/schema.h"
#include "platform/adodb/error.h"
#include "platform/collation/suite_collation.h"
#include "platform/text/regional.h"
#include "support/fuzz_check.h"

namespace fuzzsupport {

namespace {

constexpr std::array<const char*, 12> kPurgedTables{
    "MV_APLICACION",    "MV_ASIENTOS",      "V_MV_STOCK",      "V_MV_CPTEINSUMOS",
    "V_MV_CPTE_OBSERV", "V_MV_CPTETAREAS",  "V_MV_CPTEDOC",    "V_MV_CPTE",
    "C_MV_CPTEINSUMOS", "C_MV_CPTE_OBSERV", "C_MV_CPTETAREAS", "C_MV_CPTE"};

struct Closer {
    void operator()(sqlite3* db) const { sqlite3_close(db); }
};

// Keeps the first `rows` rows of every table.
void CutDown(const std::string& path, int rows) {
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open(path.c_str(), &raw);
    const std::unique_ptr<sqlite3, Closer> db(raw);
    if (rc != SQLITE_OK || collation::RegisterSuiteCollation(db.get()) != SQLITE_OK)
        throw std::runtime_error("cannot open the demo database");
    for (const std::string& table : demo::TableNames()) {
        const std::string sql = "DELETE FROM \"" + table +
                                "\" WHERE rowid NOT IN (SELECT rowid FROM \"" + table +
                                "\" ORDER BY rowid LIMIT " + std::to_string(rows) + ")";
        if (sqlite3_exec(db.get(), sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
            throw std::runtime_error(sqlite3_errmsg(db.get()));
    }
}

std::string CountSql() {
    std::string sql = "SELECT ";
    for (std::size_t i = 0; i < kPurgedTables.size(); ++i) {
        if (i > 0) sql += " + ";
        sql += std::string("(SELECT COUNT(*) FROM ") + kPurgedTables[i] + ")";
    }
    return sql + " AS N";
}

}  // namespace

long long EngineFixture::PurgedRows() {
    static const std::string sql = CountSql();
    adodb::Recordset rs = connection.Execute(sql);
    return static_cast<long long>(rs.Fields(0).Value().ToDouble());
}

EngineFixture& Engine(int rowsPerTable) {
    static EngineFixture* fixture = [rowsPerTable] {
        // Dates in statements are read day/month/year whatever the locale says.
        text::RegionalSettings::SetCurrent(*text::RegionalSettings::Parse("DMY,/,.,,"));
        const std::string path = ScratchFolder() + "/engine.db";
        demo::GeneratorOptions options;
        options.scale = demo::kMinimumScale;
        options.replace = true;
        demo::GenerateDemoDatabase(path, options);
        if (rowsPerTable > 0) CutDown(path, rowsPerTable);
        static EngineFixture made;
        made.connection.Open("PROVIDER=SQLOLEDB;Server=local;Database =" + path + ";UId=u;Pwd=;");
        return &made;
    }();
    return *fixture;
}

bool RunAndUndo(EngineFixture& engine, const std::string& sql, long long& changed) {
    engine.connection.BeginTrans();
    const long long before = engine.PurgedRows();
    bool ran = true;
    try {
        long affected = 0;
        adodb::Recordset rs = engine.connection.Execute(sql, &affected);
        if (rs.State() == adodb::kStateOpen) {
            (void)rs.RecordCount();
            if (!rs.EOF()) (void)rs.GetRows();
        }
    } catch (const text::RuntimeError&) {
        ran = false;
    }
    changed = engine.PurgedRows() - before;
    engine.connection.RollbackTrans();
    return ran;
}

}  // namespace fuzzsupport
