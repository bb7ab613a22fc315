// The purge's deleting statements, translated for the embedded engine, must reach their rows
// through the demo schema's indexes: each batch costs about its own rows, never a pass over
// a whole table.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <memory>
#include <string>
#include <vector>

#include "demo/schema.h"
#include "platform/adodb/sqlite/functions.h"
#include "platform/adodb/sqlite/percent_delete.h"
#include "platform/adodb/sqlite/schema_loader.h"
#include "platform/adodb/sqlite/translator.h"
#include "platform/collation/suite_collation.h"
#include "platform/text/strings.h"

namespace {

using DbPtr = std::unique_ptr<sqlite3, int (*)(sqlite3*)>;

DbPtr DemoDatabase() {
    sqlite3* raw = nullptr;
    sqlite3_open(":memory:", &raw);
    DbPtr db(raw, sqlite3_close_v2);
    demo::CreateSchema(db.get());
    adodb::sqlite::RegisterSuiteFunctions(db.get());
    return db;
}

// Lines of the engine's query plan for `sql`.
std::vector<std::string> Plan(sqlite3* db, const std::string& sql) {
    sqlite3_stmt* raw = nullptr;
    const std::string explain = "EXPLAIN QUERY PLAN " + sql;
    EXPECT_EQ(sqlite3_prepare_v2(db, explain.c_str(), -1, &raw, nullptr), SQLITE_OK)
        << sqlite3_errmsg(db);
    std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> stmt(raw, sqlite3_finalize);
    std::vector<std::string> lines;
    while (sqlite3_step(stmt.get()) == SQLITE_ROW) {
        lines.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(stmt.get(), 3)));
    }
    return lines;
}

TEST(SqliteIndexUse, PurgeDeletionsSearchInsteadOfScanningTables) {
    DbPtr db = DemoDatabase();
    const adodb::sqlite::SchemaSnapshot schema = adodb::sqlite::LoadSchema(db.get());
    // The join keys and their indexes are in the suite's text order, which the translated
    // comparisons use: the searches below go through those indexes.
    for (const char* table : {"MV_APLICACION", "MV_ASIENTOS", "V_MV_CPTEINSUMOS", "C_MV_CPTE"}) {
        EXPECT_EQ(schema.Find(table)->FindColumn("TC")->collation, collation::kSuiteCollation)
            << table;
    }
    const std::string cut = "31/12/2004";
    const std::vector<std::string> statements = {
        "DELETE MV_APLICACION FROM (SELECT TOP 5 PERCENT MV_APLICACION.* FROM MV_APLICACION "
        "INNER JOIN MV_ASIENTOS ON MV_ASIENTOS.CUENTA = MV_APLICACION.CUENTA AND "
        "                    MV_ASIENTOS.TC = MV_APLICACION.TC AND "
        "                    MV_ASIENTOS.SUCURSAL = MV_APLICACION.SUCURSAL AND "
        "                    MV_ASIENTOS.NUMERO = MV_APLICACION.NUMERO AND "
        "                    MV_ASIENTOS.Letra = MV_APLICACION.Letra WHERE MV_ASIENTOS.FECHA <= '" +
            cut + "') AS T1 WHERE T1.ID = MV_APLICACION.ID ",
        "DELETE V_MV_CPTEINSUMOS FROM (SELECT TOP 5 PERCENT V_MV_CPTEINSUMOS.* FROM "
        "V_MV_CPTEINSUMOS INNER JOIN V_MV_CPTE                 ON V_MV_CPTEINSUMOS.TC = "
        "V_MV_CPTE.TC AND                    V_MV_CPTEINSUMOS.IDCOMPROBANTE = "
        "V_MV_CPTE.IDCOMPROBANTE WHERE V_MV_CPTE.FECHA <= '" +
            cut + "') AS T1 WHERE T1.ID = V_MV_CPTEINSUMOS.ID",
        "DELETE V_MV_CPTE FROM (SELECT TOP 5 PERCENT V_MV_CPTE.* FROM V_MV_CPTE WHERE FECHA <= '" +
            cut + "') AS T1 WHERE T1.ID = V_MV_CPTE.ID",
        "DELETE C_MV_CPTETAREAS FROM (SELECT TOP 5 PERCENT C_MV_CPTETAREAS.* FROM C_MV_CPTETAREAS "
        "INNER JOIN C_MV_CPTE ON               C_MV_CPTETAREAS.TC = C_MV_CPTE.TC AND "
        "              C_MV_CPTETAREAS.CUENTA = C_MV_CPTE.CUENTA AND "
        "              C_MV_CPTETAREAS.IDCOMPROBANTE = C_MV_CPTE.IDCOMPROBANTE WHERE "
        "C_MV_CPTE.FECHA <='" +
            cut + "') AS T1 WHERE T1.ID = C_MV_CPTETAREAS.ID",
        "DELETE mv_asientos from (select TOP 120 * from MV_ASIENTOS WHERE FECHA <= '" + cut +
            "') as mv_T1 where mv_asientos.Cuenta = mv_t1.cuenta and mv_asientos.Secuencia = "
            "mv_t1.Secuencia and mv_asientos.Mes_operativo = mv_t1.mes_operativo and "
            "mv_asientos.[NUMERO ASIENTO]= MV_T1.[NUMERO ASIENTO] AND MV_ASIENTOS.PERIODO = "
            "MV_T1.PERIODO AND MV_ASIENTOS.TIPO_REG = MV_T1.TIPO_REG ",
        "DELETE MV_ASIENTOS WHERE FECHA <= '" + cut + "'",
        "Delete v_mv_stock where fecha <= '" + cut + "'",
        "select count(fecha) as registros from mv_asientos where FECHA <= '" + cut + "'",
    };
    for (const std::string& sql : statements) {
        SCOPED_TRACE(sql);
        const adodb::sqlite::Plan plan =
            adodb::sqlite::Translate(sql, schema, text::RegionalSettings{});
        std::vector<std::string> engineStatements = plan.sql;
        if (plan.percentDelete) {
            // The batches run over the memo of the derived table: its statements are checked
            // with the temporary tables they use in place.
            const adodb::sqlite::PercentDelete& pd = *plan.percentDelete;
            const std::string setup = adodb::sqlite::PercentDeleteTablesSql(pd.memoColumns);
            ASSERT_EQ(sqlite3_exec(db.get(), setup.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
            engineStatements = {pd.memoSelect, pd.chooseSql, pd.deleteSql};
        }
        ASSERT_EQ(engineStatements.size(), 1u + (plan.percentDelete ? 2u : 0u));
        for (const std::string& statement : engineStatements) {
            for (const std::string& line : Plan(db.get(), statement)) {
                // "SCAN <table>" reads a whole table (or a whole index); only the derived
                // tables, already limited to the batch, and the temporary tables may be read
                // that way.
                if (!text::StartsWith(line, "SCAN ")) continue;
                const std::string name = line.substr(5, line.find(' ', 5) - 5);
                EXPECT_EQ(schema.Find(name), nullptr) << "full scan: " << line;
            }
        }
    }
}

}  // namespace
