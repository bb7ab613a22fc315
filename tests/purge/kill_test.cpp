// The program in batch mode, killed at several moments of a purge of a generated database:
// afterwards every step is either wholly done or not done at all, the steps done are the
// first ones in the run's order, and no row dated after the cut-off is gone or changed.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "demo/generator.h"
#include "demo/sqlite_handle.h"
#include "kill_child.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using Row = std::vector<std::string>;

constexpr const char* kCutoff = "'2021-12-31 00:00:00'";  // end of fiscal year 2021
constexpr const char* kCutoffText = "31/12/2021";
constexpr const char* kNewVoucher = "000100000042X";

// SQL over one database file, every value as text ("<null>" for NULL).
class File {
  public:
    explicit File(const std::string& path)
        : db_(demo::detail::OpenDatabase(path, SQLITE_OPEN_READWRITE)) {}
    std::vector<Row> Query(const std::string& sql) const {
        auto stmt = demo::detail::Prepare(db_.get(), sql);
        std::vector<Row> rows;
        const int n = sqlite3_column_count(stmt.get());
        int rc;
        while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW) {
            Row row;
            for (int c = 0; c < n; ++c) {
                const auto* t = sqlite3_column_text(stmt.get(), c);
                row.push_back(t ? reinterpret_cast<const char*>(t) : "<null>");
            }
            rows.push_back(std::move(row));
        }
        if (rc != SQLITE_DONE) demo::detail::ThrowEngineError(db_.get(), sql);
        return rows;
    }
    std::set<std::string> Ids(const std::string& sql) const {
        std::set<std::string> ids;
        for (const Row& r : Query(sql)) ids.insert(r[0]);
        return ids;
    }
    long long Count(const std::string& sql) const { return demo::detail::QueryInt(db_.get(), sql); }

  private:
    demo::detail::DatabaseHandle db_;
};

// What one step deletes, as IDs selected on the untouched database.
struct Step {
    int number;
    std::string table;
    std::string purged;  // SELECT of the IDs the step removes (empty for MV_ASIENTOS)
};

std::string Dependent(const std::string& table, const std::string& header,
                      const std::vector<std::string>& keys) {
    std::string on;
    for (const std::string& k : keys) on += (on.empty() ? "" : " AND ") + ("d." + k + " = h." + k);
    return "SELECT DISTINCT d.ID FROM " + table + " d JOIN " + header + " h ON " + on +
           " WHERE h.FECHA <= " + kCutoff;
}

std::vector<Step> Steps() {
    const std::vector<std::string> v = {"TC", "IDCOMPROBANTE"};
    const std::vector<std::string> c = {"TC", "CUENTA", "IDCOMPROBANTE"};
    return {
        {1, "MV_APLICACION",
         Dependent("MV_APLICACION", "MV_ASIENTOS",
                   {"CUENTA", "TC", "SUCURSAL", "NUMERO", "Letra"})},
        {2, "MV_ASIENTOS", ""},
        {3, "V_MV_STOCK", std::string("SELECT ID FROM V_MV_STOCK WHERE FECHA <= ") + kCutoff},
        {4, "V_MV_CPTEINSUMOS", Dependent("V_MV_CPTEINSUMOS", "V_MV_CPTE", v)},
        {5, "V_MV_CPTE_OBSERV", Dependent("V_MV_CPTE_OBSERV", "V_MV_CPTE", v)},
        {6, "V_MV_CPTETAREAS", Dependent("V_MV_CPTETAREAS", "V_MV_CPTE", v)},
        {7, "V_MV_CPTEDOC", Dependent("V_MV_CPTEDOC", "V_MV_CPTE", v)},
        {8, "V_MV_CPTE", std::string("SELECT ID FROM V_MV_CPTE WHERE FECHA <= ") + kCutoff},
        {9, "C_MV_CPTEINSUMOS", Dependent("C_MV_CPTEINSUMOS", "C_MV_CPTE", c)},
        {10, "C_MV_CPTE_OBSERV", Dependent("C_MV_CPTE_OBSERV", "C_MV_CPTE", c)},
        {11, "C_MV_CPTETAREAS", Dependent("C_MV_CPTETAREAS", "C_MV_CPTE", c)},
        {12, "C_MV_CPTE", std::string("SELECT ID FROM C_MV_CPTE WHERE FECHA <= ") + kCutoff},
    };
}

const char* kEntriesUpToCutoff =
    "SELECT COUNT(*) FROM MV_ASIENTOS WHERE FECHA <= '2021-12-31 00:00:00'";
const char* kEntriesKept =
    "SELECT * FROM MV_ASIENTOS WHERE NOT (FECHA <= '2021-12-31 00:00:00') OR FECHA IS NULL "
    "ORDER BY Cuenta, Secuencia, Mes_operativo, \"NUMERO ASIENTO\", PERIODO, TIPO_REG";
const char* kBalances =
    "SELECT IDARTICULO, IDUNIDAD, IdDeposito, IdPosicion, NroSerie, NroLote, "
    "printf('%.4f', round(total(CANTIDAD), 4)), printf('%.4f', round(total(CantidadUD), 4)) "
    "FROM V_MV_STOCK WHERE Anulado = 0 GROUP BY 1, 2, 3, 4, 5, 6 "
    "HAVING round(total(CANTIDAD), 4) <> 0 OR round(total(CantidadUD), 4) <> 0 "
    "ORDER BY 1, 2, 3, 4, 5, 6";
const char* kKeys =
    "SELECT CLAVE, VALOR FROM TA_CONFIGURACION WHERE CLAVE IN ('fechaoperdesde', "
    "'fechaoperhasta') ORDER BY CLAVE";
const char* kPurgeDate = "SELECT VALOR FROM TA_CONFIGURACION WHERE CLAVE = 'FECHAULTIMADEPURACION'";

// The untouched database, against which a killed one is judged.
struct Original {
    explicit Original(const File& f) {
        for (const Step& s : Steps()) {
            if (s.purged.empty()) continue;
            purged[s.number] = f.Ids(s.purged);
            for (const Row& r : f.Query("SELECT * FROM " + s.table + " ORDER BY ID"))
                if (!purged[s.number].count(r[0])) kept[s.number].push_back(r);
        }
        entries = f.Count(kEntriesUpToCutoff);
        entriesKept = f.Query(kEntriesKept);
        balances = f.Query(kBalances);
        keys = f.Query(kKeys);
    }
    std::map<int, std::set<std::string>> purged;
    std::map<int, std::vector<Row>> kept;
    long long entries = 0;
    std::vector<Row> entriesKept;
    std::vector<Row> balances;
    std::vector<Row> keys;
};

enum class State { NotDone, Done, Either };

// The state of each step in `path`; any step half done, or any kept row touched, fails the
// test with the step named.
std::map<int, State> Inspect(const std::string& path, const Original& o) {
    File f(path);
    EXPECT_EQ(f.Query("PRAGMA integrity_check"), std::vector<Row>{{"ok"}});
    std::map<int, State> states;
    const auto judge = [&](int step, std::size_t left, std::size_t all, bool extraDone,
                           bool extraNotDone) {
        SCOPED_TRACE("paso " + std::to_string(step));
        const bool done = left == 0 && extraDone;
        const bool notDone = left == all && extraNotDone;
        EXPECT_TRUE(done || notDone) << left << " de " << all << " filas quedan";
        states[step] = done && notDone ? State::Either : done ? State::Done : State::NotDone;
    };
    for (const Step& s : Steps()) {
        SCOPED_TRACE(s.table);
        if (s.number == 2) {
            const long long left = f.Count(kEntriesUpToCutoff);
            EXPECT_EQ(f.Query(kEntriesKept), o.entriesKept);
            const auto date = f.Query(kPurgeDate);
            // The purge date is recorded exactly when the entries went; the operating range
            // is never left widened.
            const bool recorded = date == std::vector<Row>{{kCutoffText}};
            EXPECT_TRUE(recorded || date.empty());
            EXPECT_EQ(f.Query(kKeys), o.keys);
            judge(2, static_cast<std::size_t>(left), static_cast<std::size_t>(o.entries), recorded,
                  !recorded);
            continue;
        }
        const std::set<std::string>& purged = o.purged.at(s.number);
        std::size_t left = 0;
        std::vector<Row> kept;
        long long balancesWritten = 0;
        for (const Row& r : f.Query("SELECT * FROM " + s.table + " ORDER BY ID")) {
            if (purged.count(r[0]))
                ++left;
            else if (s.number == 3 && r[2] == kNewVoucher)
                ++balancesWritten;
            else
                kept.push_back(r);
        }
        EXPECT_EQ(kept, o.kept.at(s.number));
        if (s.number == 3) {
            // Stock totals are the same whether the step happened or not.
            EXPECT_EQ(f.Query(kBalances), o.balances);
            judge(3, left, purged.size(), balancesWritten > 0, balancesWritten == 0);
        } else {
            judge(s.number, left, purged.size(), true, true);
        }
    }
    // The run stops where it was killed: the steps done come first.
    bool stillDone = true;
    for (const auto& [step, state] : states) {
        if (state == State::NotDone) stillDone = false;
        if (state == State::Done) {
            EXPECT_TRUE(stillDone) << "paso " << step << " hecho tras uno pendiente";
        }
    }
    return states;
}

int StepsDone(const std::map<int, State>& states) {
    int done = 0;
    for (const auto& [step, state] : states)
        if (state == State::Done) done = step;
    return done;
}

std::string Program() {
    return std::string(DEPURACIONES_BINARY_DIR) + "/src/app/depuraciones";
}

std::string Copy(const std::string& from, const testsupport::TempDir& dir,
                 const std::string& name) {
    const std::string to = dir.File(name);
    fs::copy_file(from, to);
    return to;
}

killtest::ChildProcess StartPurge(const std::string& db) {
    return killtest::ChildProcess(
        {Program(), "--batch", "--fiscal-year", "2021", "--yes",
         "@Server=local;@DbName=" + db + ";@Usuario=admin;@Password=;@UsuarioLogeado=admin;"},
        {"DEPURACIONES_REGIONAL=DMY,/,.,,"});
}

TEST(KillDuringPurge, EveryStepIsWhollyDoneOrNotDone) {
    ASSERT_TRUE(fs::exists(Program())) << "build the program first: " << Program();
    testsupport::TempDir dir;
    const std::string original = dir.File("original.db");
    demo::GenerateDemoDatabase(original, demo::GeneratorOptions{});
    {
        // One file, without a write-ahead log beside it, that copies cleanly.
        auto raw = demo::detail::OpenDatabase(original, SQLITE_OPEN_READWRITE);
        demo::detail::Exec(raw.get(), "PRAGMA journal_mode = DELETE");
    }
    const Original before{File(original)};
    for (const auto& [step, ids] : before.purged) ASSERT_FALSE(ids.empty()) << "paso " << step;

    // Undisturbed, the run completes every step.
    const std::string whole = Copy(original, dir, "whole.db");
    const auto start = std::chrono::steady_clock::now();
    killtest::ChildProcess full = StartPurge(whole);
    ASSERT_EQ(full.Wait(), 0) << full.Err();
    const auto runTime = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(StepsDone(Inspect(whole, before)), 12);

    struct KillPoint {
        std::string name;
        std::string text;  // kill once this appears on standard error ...
        double share;      // ... or after this share of the undisturbed run
    };
    const std::vector<KillPoint> points = {
        {"comienzo del paso 2", "paso 2 de 12", 0},
        {"saldos iniciales", "Generando Saldo Inicial", 0},
        {"borrado del stock", "Eliminando Movimientos de Stock", 0},
        {"comienzo del paso 6", "paso 6 de 12", 0},
        {"comienzo del paso 10", "paso 10 de 12", 0},
        {"15% del tiempo", "", 0.15},
        {"50% del tiempo", "", 0.5},
        {"85% del tiempo", "", 0.85},
    };
    std::set<int> reached;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const KillPoint& p = points[i];
        SCOPED_TRACE(p.name);
        const std::string db = Copy(original, dir, "kill" + std::to_string(i) + ".db");
        killtest::ChildProcess child = StartPurge(db);
        if (!p.text.empty()) {
            ASSERT_TRUE(child.WaitForText(p.text)) << child.Err();
        } else {
            std::this_thread::sleep_for(
                std::chrono::duration_cast<std::chrono::milliseconds>(runTime * p.share));
        }
        child.Kill();
        reached.insert(StepsDone(Inspect(db, before)));
    }
    // At least one kill landed in the middle of the run.
    EXPECT_TRUE(std::any_of(reached.begin(), reached.end(), [](int k) { return k > 0 && k < 12; }))
        << "no kill interrupted the run";
}

}  // namespace
