// Times one batch of the purge's deletion on a million-row table through the embedded
// engine's dialect translation, against a plain DELETE of the same rows, and prints the
// figures. Usage: bench_sqlite_batch_delete [rows]   (default 1000000)
#include <sqlite3.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>

#include "demo/schema.h"
#include "platform/adodb/sqlite/sqlite_provider.h"

namespace {

using Clock = std::chrono::steady_clock;
using DbPtr = std::unique_ptr<sqlite3, int (*)(sqlite3*)>;

double Ms(Clock::time_point since) {
    return std::chrono::duration<double, std::milli>(Clock::now() - since).count();
}

DbPtr OpenDirect(const std::string& file, int flags) {
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(file.c_str(), &raw, flags, nullptr);
    DbPtr db(raw, sqlite3_close_v2);
    if (rc != SQLITE_OK) throw std::runtime_error("cannot open " + file);
    return db;
}

void Exec(sqlite3* db, const std::string& sql) {
    char* message = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
        const std::string text = message != nullptr ? message : "?";
        sqlite3_free(message);
        throw std::runtime_error(text + " in: " + sql);
    }
}

// Vouchers and accounting entries dated evenly over 2000-2009, so that a cut-off at the
// end of 2004 matches half of them. Built without syncing, indexes after the rows: only the
// timings below matter.
void Fill(sqlite3* db, long rows) {
    const std::string n = std::to_string(rows);
    Exec(db, "PRAGMA journal_mode=OFF");
    Exec(db, "PRAGMA synchronous=OFF");
    Exec(db, demo::TablesSql());
    Exec(db, "BEGIN");
    Exec(db, "WITH RECURSIVE s(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM s WHERE i < " + n +
                 ") INSERT INTO V_MV_CPTE (ID, TC, IDCOMPROBANTE, FECHA, CUENTA, Anulado) "
                 "SELECT i, 'FA', printf('%013d', i), strftime('%Y-%m-%d 00:00:00', "
                 "'2000-01-01', '+' || (i % 3652) || ' days'), 'C' || (i % 500), 0 FROM s");
    Exec(db, "WITH RECURSIVE s(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM s WHERE i < " + n +
                 ") INSERT INTO MV_ASIENTOS (Cuenta, Secuencia, Mes_operativo, "
                 "\"NUMERO ASIENTO\", PERIODO, TIPO_REG, FECHA, TC, SUCURSAL, NUMERO, Letra) "
                 "SELECT '1.' || (i % 500), i, i % 12 + 1, i / 10, 2000 + i % 10, 'A', "
                 "strftime('%Y-%m-%d 00:00:00', '2000-01-01', '+' || (i % 3652) || ' days'), "
                 "'FA', '0001', printf('%08d', i), 'A' FROM s");
    Exec(db, "COMMIT");
    Exec(db, demo::IndexesAndViewsSql());
    Exec(db, "ANALYZE");
}

struct Timing {
    long rows = 0;
    double ms = 0;
};

// One dialect statement through the provider, inside a transaction that is rolled back so
// every measurement starts from the same rows.
Timing ThroughDialect(adodb::Provider& p, const std::string& sql, int repeat) {
    Timing t;
    p.BeginTrans();
    for (int i = 0; i < repeat; ++i) {
        const auto start = Clock::now();
        t.rows = p.Execute(sql, 0).recordsAffected;
        t.ms = Ms(start);
    }
    p.RollbackTrans();
    return t;
}

// The rows a first dialect batch would take, deleted with a plain statement by key.
Timing Plain(const std::string& file, const std::string& pick, const std::string& del) {
    DbPtr db = OpenDirect(file, SQLITE_OPEN_READWRITE);
    Exec(db.get(), "BEGIN");
    Exec(db.get(), "CREATE TEMP TABLE picked AS " + pick);
    Timing t;
    const auto start = Clock::now();
    Exec(db.get(), del);
    t.ms = Ms(start);
    t.rows = sqlite3_changes(db.get());
    Exec(db.get(), "ROLLBACK");
    return t;
}

void Print(const char* what, const Timing& t) {
    std::printf("  %-46s %8ld rows %10.1f ms\n", what, t.rows, t.ms);
}

}  // namespace

int main(int argc, char** argv) {
    const long rows = argc > 1 ? std::atol(argv[1]) : 1000000;
    std::random_device seed;
    const auto dir = std::filesystem::temp_directory_path() /
                     ("bench_sqlite_batch_delete_" + std::to_string(seed()));
    std::filesystem::create_directories(dir);
    const std::string file = (dir / "bench.db").string();
    int status = 0;
    try {
        {
            DbPtr db = OpenDirect(file, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
            const auto start = Clock::now();
            Fill(db.get(), rows);
            std::printf("%ld vouchers and %ld accounting entries written in %.0f ms\n", rows, rows,
                        Ms(start));
        }
        auto p = adodb::CreateSqliteProvider();
        p->Open("PROVIDER=SQLOLEDB;Server=local;Database=" + file + ";", "", "", 30);

        const std::string voucherBatch =
            "DELETE V_MV_CPTE FROM (SELECT TOP 5 PERCENT V_MV_CPTE.* FROM V_MV_CPTE WHERE FECHA "
            "<= '31/12/2004') AS T1 WHERE T1.ID = V_MV_CPTE.ID";
        std::printf("V_MV_CPTE, 5 percent of the vouchers dated up to 31/12/2004:\n");
        Print("dialect batch, first time (translate+prepare)", ThroughDialect(*p, voucherBatch, 1));
        Print("dialect batch, again (cached statement)", ThroughDialect(*p, voucherBatch, 2));
        Print(
            "plain DELETE of the same rows by ID",
            Plain(file,
                  "SELECT ID FROM V_MV_CPTE WHERE FECHA <= '2004-12-31 00:00:00' LIMIT (SELECT "
                  "(COUNT(*) * 5 + 99) / 100 FROM V_MV_CPTE WHERE FECHA <= '2004-12-31 00:00:00')",
                  "DELETE FROM V_MV_CPTE WHERE ID IN (SELECT ID FROM temp.picked)"));

        const std::string top = std::to_string(rows / 2 / 10);
        const std::string entryBatch =
            "DELETE mv_asientos from (select TOP " + top +
            " * from MV_ASIENTOS WHERE FECHA <= '31/12/2004') as mv_T1 where mv_asientos.Cuenta = "
            "mv_t1.cuenta and mv_asientos.Secuencia = mv_t1.Secuencia and "
            "mv_asientos.Mes_operativo = mv_t1.mes_operativo and mv_asientos.[NUMERO ASIENTO]= "
            "MV_T1.[NUMERO ASIENTO] AND MV_ASIENTOS.PERIODO = MV_T1.PERIODO AND "
            "MV_ASIENTOS.TIPO_REG = MV_T1.TIPO_REG ";
        std::printf("MV_ASIENTOS, one of the ten batches (TOP %s), six-column key:\n", top.c_str());
        Print("dialect batch, first time (translate+prepare)", ThroughDialect(*p, entryBatch, 1));
        Print("dialect batch, again (cached statement)", ThroughDialect(*p, entryBatch, 2));
        Print(
            "plain DELETE of the same rows by row id",
            Plain(file,
                  "SELECT rowid AS r FROM MV_ASIENTOS WHERE FECHA <= '2004-12-31 00:00:00' LIMIT " +
                      top,
                  "DELETE FROM MV_ASIENTOS WHERE rowid IN (SELECT r FROM temp.picked)"));
        p->Close();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "benchmark failed: %s\n", e.what());
        status = 1;
    }
    std::filesystem::remove_all(dir);
    return status;
}
