// The purge run: validation and confirmation, the cut-off date text, the twelve steps in
// order with the progress bar, and the completion message; on a generated database.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <chrono>
#include <thread>

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/clocks.h"
#include "platform/ui/ports.h"
#include "platform/ui/scripted_prompter.h"
#include "purge/purge_run.h"
#include "run_support.h"

namespace {

using purge::PurgeRun;
using purge::StepOutcome;
using runtest::RecordingPort;

const std::string kTitle = "Aviso al operador";
const std::string kConfirmation =
    "Se eliminarán físicamente los registros correspondientes al ejercicio seleccionado.\r\r"
    "Antes de realizar este proceso es recomendable realizar una copia de resguardo de la\r"
    "                 base de datos y Emitir los listados correspondientes.              \r\r"
    "                     ¿Realmente desea ejecutar este proceso?                        \r";
const std::string kCompleted =
    "El proceso finalizó con éxito!!!        \r"
    "Luego del proceso de depuración es recomendable realizar una compactación de la base de "
    "datos.";

class RecordingPointer : public ui::BusyPointer {
  public:
    void SetBusy(bool busy) override { calls.push_back(busy); }
    std::vector<bool> calls;
};

// The rows of each table that a purge up to 31/12/2021 (00:00) must leave, worked out
// directly on the file.
const std::map<std::string, std::string> kKeptRows = {
    {"MV_APLICACION",
     "SELECT ID FROM MV_APLICACION x WHERE NOT EXISTS (SELECT 1 FROM MV_ASIENTOS a WHERE "
     "a.Cuenta = x.CUENTA AND a.TC = x.TC AND a.SUCURSAL = x.SUCURSAL AND a.NUMERO = x.NUMERO "
     "AND a.Letra = x.Letra AND a.FECHA <= '2021-12-31 00:00:00')"},
    {"V_MV_CPTE", "SELECT ID FROM V_MV_CPTE WHERE IFNULL(FECHA <= '2021-12-31 00:00:00', 0) = 0"},
    {"C_MV_CPTE", "SELECT ID FROM C_MV_CPTE WHERE IFNULL(FECHA <= '2021-12-31 00:00:00', 0) = 0"},
};

std::string KeptRowsQuery(const std::string& table) {
    if (auto it = kKeptRows.find(table); it != kKeptRows.end()) return it->second;
    const bool compras = table.rfind("C_", 0) == 0;
    const std::string header = compras ? "C_MV_CPTE" : "V_MV_CPTE";
    return "SELECT ID FROM " + table + " x WHERE NOT EXISTS (SELECT 1 FROM " + header +
           " h WHERE h.TC = x.TC AND h.IDCOMPROBANTE = x.IDCOMPROBANTE" +
           (compras ? " AND h.CUENTA = x.CUENTA" : "") + " AND h.FECHA <= '2021-12-31 00:00:00')";
}

const std::vector<std::string> kBatchedTables = {
    "MV_APLICACION", "V_MV_CPTEINSUMOS", "V_MV_CPTE_OBSERV", "V_MV_CPTETAREAS", "V_MV_CPTEDOC",
    "V_MV_CPTE",     "C_MV_CPTEINSUMOS", "C_MV_CPTE_OBSERV", "C_MV_CPTETAREAS", "C_MV_CPTE"};

std::map<std::string, std::vector<long long>> Ids(const std::string& path, bool keptOnly) {
    std::map<std::string, std::vector<long long>> ids;
    for (const std::string& t : kBatchedTables) {
        const std::string query = keptOnly ? KeptRowsQuery(t) : "SELECT ID FROM " + t;
        ids[t] = runtest::QueryIds(path, query + " ORDER BY ID");
    }
    return ids;
}

class PurgeRunTest : public ::testing::Test {
  protected:
    PurgeRunTest() {
        port.fiscalYear = "2021";
        // 2030: closed but without an end date.
        runtest::Exec(demo.Path(),
                      "INSERT INTO MV_EJERCICIOS (PERIODO, Descripcion, CIERRE, CERRADO) "
                      "VALUES (2030, 'Ejercicio 2030', 1, 1)");
    }

    purge::RunResult Run(const std::string& connectionString) {
        runtest::OpenDb db(connectionString);
        db.Get().gCnn.SetStatementTrace([this](const std::string& s) { trace.push_back(s); });
        PurgeRun run(port, db.Get());
        return run.Run();
    }
    purge::RunResult Run() { return Run(runtest::ConnectionStringFor(demo.Path())); }

    bool AnyStatementStartingWith(const std::string& prefix) const {
        return std::any_of(trace.begin(), trace.end(),
                           [&](const std::string& s) { return s.rfind(prefix, 0) == 0; });
    }

    runtest::ScopedRegional dmy;
    std::shared_ptr<ui::ScriptedPrompter> boxes = std::make_shared<ui::ScriptedPrompter>();
    ui::ScopedPrompter scopedBoxes{boxes};
    std::shared_ptr<RecordingPointer> pointer = std::make_shared<RecordingPointer>();
    ui::ScopedBusyPointer scopedPointer{pointer};
    ui::ScopedClock today{std::make_shared<ui::FixedClock>(text::DateTime{2025, 6, 15})};
    runtest::DemoDatabase demo;
    RecordingPort port;
    std::vector<std::string> trace;
};

struct Refusal {
    const char* name;
    bool byFiscalYear;
    std::string input;
    std::string message;
    ui::Icon icon;
    std::string title;
};

class PurgeRunRefusalTest : public PurgeRunTest, public ::testing::WithParamInterface<Refusal> {};

TEST_P(PurgeRunRefusalTest, RefusesBeforeConfirmingAndChangesNothing) {
    const Refusal& r = GetParam();
    port.byFiscalYear = r.byFiscalYear;
    (r.byFiscalYear ? port.fiscalYear : port.date) = r.input;
    boxes->Answer(ui::kOK);

    const purge::RunResult result = Run();

    EXPECT_FALSE(result.started);
    ASSERT_EQ(boxes->Boxes().size(), 1u);
    EXPECT_EQ(boxes->Boxes()[0].prompt, r.message);
    EXPECT_EQ(boxes->Boxes()[0].icon, r.icon);
    EXPECT_EQ(boxes->Boxes()[0].title, r.title);
    EXPECT_EQ(boxes->Boxes()[0].buttons, ui::Buttons::OK);
    EXPECT_EQ(port.focusMoves, 1);
    EXPECT_TRUE(port.progress.empty());
    EXPECT_TRUE(pointer->calls.empty());
    EXPECT_FALSE(AnyStatementStartingWith("DELETE"));
    EXPECT_FALSE(AnyStatementStartingWith("BEGIN"));
}

const std::string kBadDate = "Debe informar una fecha válida hasta donde quiere depurar!!!";

INSTANTIATE_TEST_SUITE_P(
    Inputs, PurgeRunRefusalTest,
    ::testing::Values(
        Refusal{"EmptyCode", true, "   ", "Debe informar el número de ejercicio a depurar",
                ui::Icon::None, ""},
        // The code goes unquoted into a statement: only a whole number is looked up.
        Refusal{"CodeNotANumber", true, "2021 OR 1=1", "Ejercicio inexistente!!!",
                ui::Icon::Critical, kTitle},
        Refusal{"CodeWithoutRow", true, "1999", "Ejercicio inexistente!!!", ui::Icon::Critical,
                kTitle},
        Refusal{"YearNotClosed", true, "2022", "El Ejercicio a depurar debe estar cerrado",
                ui::Icon::Critical, kTitle},
        Refusal{"YearWithoutEndDate", true, "2030",
                "El Ejercicio a depurar no tiene Fecha Fin del Ejercicio!!!", ui::Icon::Critical,
                kTitle},
        Refusal{"BlankDate", false, "   ", kBadDate, ui::Icon::None, ""},
        Refusal{"ImpossibleDate", false, "31/02/2004", kBadDate, ui::Icon::None, ""},
        // The database's dates begin in 1753.
        Refusal{"DateBefore1753", false, "01/01/0099", kBadDate, ui::Icon::None, ""},
        Refusal{"YearOneThousand", false, "31/12/1752", kBadDate, ui::Icon::None, ""},
        Refusal{"DateAfterToday", false, "16/06/2025",
                "La fecha hasta donde quiere depurar no puede ser posterior a la fecha de hoy!!!",
                ui::Icon::None, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PurgeRunTest, AnsweringNoCancelsWithoutTouchingAnything) {
    const auto before = Ids(demo.Path(), false);
    boxes->Answer(ui::kNo);
    boxes->Answer(ui::kOK);

    const purge::RunResult result = Run();

    EXPECT_FALSE(result.started);
    ASSERT_EQ(boxes->Boxes().size(), 2u);
    EXPECT_EQ(boxes->Boxes()[0].prompt, kConfirmation);
    EXPECT_EQ(boxes->Boxes()[0].buttons, ui::Buttons::YesNo);
    EXPECT_EQ(boxes->Boxes()[0].icon, ui::Icon::Information);
    EXPECT_EQ(boxes->Boxes()[0].title, kTitle);
    EXPECT_EQ(boxes->Boxes()[1].prompt, "Depuración Cancelada!!!");
    EXPECT_EQ(boxes->Boxes()[1].icon, ui::Icon::Information);
    EXPECT_EQ(boxes->Boxes()[1].title, kTitle);
    EXPECT_TRUE(port.progress.empty());
    EXPECT_TRUE(pointer->calls.empty());
    EXPECT_EQ(Ids(demo.Path(), false), before);
}

struct CutOffCase {
    const char* regional;
    bool byFiscalYear;
    std::string input;
    std::string cutOff;
};

TEST_F(PurgeRunTest, CutOffTextFollowsTheModeAndTheRegionalFormat) {
    const CutOffCase cases[] = {
        {"DMY,/,.,,", true, "2021", "31/12/2021"},
        {"MDY,/,,,.", true, "2021", "12/31/2021"},
        {"YMD,-,.,,", true, " 2020 ", "2020-12-31"},
        // The typed date reaches the steps in the regional order with a four-digit year, so
        // that the database cannot read its two-digit year as another century.
        {"DMY,/,.,,", false, "  1/3/04 ", "01/03/2004"},
        {"DMY,/,.,,", false, "1/1/20", "01/01/2020"},
        {"MDY,/,,,.", false, "12/31/2019", "12/31/2019"},
    };
    runtest::OpenDb db(runtest::ConnectionStringFor(demo.Path()));
    for (const CutOffCase& c : cases) {
        SCOPED_TRACE(c.input + " " + c.regional);
        runtest::ScopedRegional regional(c.regional);
        port.byFiscalYear = c.byFiscalYear;
        (c.byFiscalYear ? port.fiscalYear : port.date) = c.input;
        PurgeRun run(port, db.Get());
        EXPECT_EQ(run.ObtieneFechaHasta(c.input), c.cutOff);
    }
}

// Finds `block` as a contiguous run in `seq` at or after `from`; returns the position after
// it, or npos.
std::size_t FindBlock(const std::vector<double>& seq, const std::vector<double>& block,
                      std::size_t from) {
    const auto it = std::search(seq.begin() + static_cast<std::ptrdiff_t>(from), seq.end(),
                                block.begin(), block.end());
    return it == seq.end() ? std::string::npos
                           : static_cast<std::size_t>(it - seq.begin()) + block.size();
}

TEST_F(PurgeRunTest, PurgesUpToTheFiscalYearsEndInTwelveStepsWithTheBarFollowing) {
    const auto expectedKept = Ids(demo.Path(), true);
    const auto orphansBefore = runtest::QueryInt(
        demo.Path(),
        "SELECT COUNT(*) FROM V_MV_CPTEINSUMOS x WHERE NOT EXISTS (SELECT 1 FROM V_MV_CPTE h "
        "WHERE h.TC = x.TC AND h.IDCOMPROBANTE = x.IDCOMPROBANTE)");
    ASSERT_GT(orphansBefore, 0);
    boxes->Answer(ui::kYes);
    boxes->Answer(ui::kOK);

    const purge::RunResult result = Run();

    ASSERT_TRUE(result.started);
    ASSERT_EQ(result.steps.size(), 12u);
    const char* tables[] = {"MV_APLICACION",    "MV_ASIENTOS",      "V_MV_STOCK",
                            "V_MV_CPTEINSUMOS", "V_MV_CPTE_OBSERV", "V_MV_CPTETAREAS",
                            "V_MV_CPTEDOC",     "V_MV_CPTE",        "C_MV_CPTEINSUMOS",
                            "C_MV_CPTE_OBSERV", "C_MV_CPTETAREAS",  "C_MV_CPTE"};
    for (int k = 0; k < 12; ++k) {
        EXPECT_EQ(result.steps[k].step, k + 1);
        EXPECT_EQ(result.steps[k].table, tables[k]);
        EXPECT_EQ(result.steps[k].outcome, StepOutcome::Committed) << tables[k];
    }
    ASSERT_EQ(boxes->Boxes().size(), 2u);
    EXPECT_EQ(boxes->Boxes()[1].prompt, kCompleted);
    EXPECT_EQ(boxes->Boxes()[1].icon, ui::Icon::Information);
    EXPECT_EQ(boxes->Boxes()[1].title, kTitle);
    EXPECT_EQ(pointer->calls, (std::vector<bool>{true, false}));

    EXPECT_EQ(Ids(demo.Path(), false), expectedKept);
    EXPECT_EQ(runtest::QueryInt(demo.Path(),
                                "SELECT COUNT(*) FROM V_MV_CPTEINSUMOS x WHERE NOT EXISTS "
                                "(SELECT 1 FROM V_MV_CPTE h WHERE h.TC = x.TC AND "
                                "h.IDCOMPROBANTE = x.IDCOMPROBANTE)"),
              orphansBefore);

    // The bar: 0, then each batched step's band followed by the run setting the band's end,
    // steps 2 and 3 inside 100..300, and back to 0 after the message.
    EXPECT_EQ(port.range, (std::pair<int, int>{0, 1200}));
    const std::vector<double>& p = port.progress;
    ASSERT_GE(p.size(), 3u);
    EXPECT_EQ(p.front(), 0.0);
    EXPECT_EQ(p.back(), 0.0);
    EXPECT_EQ(p[p.size() - 2], 1200.0);
    EXPECT_TRUE(std::is_sorted(p.begin(), p.end() - 1));
    std::size_t at = 1;
    for (int step : {1, 4, 5, 6, 7, 8, 9, 10, 11, 12}) {
        std::vector<double> block = runtest::BatchedStepProgress(100 * (step - 1));
        block.push_back(100.0 * step);
        at = FindBlock(p, block, at);
        ASSERT_NE(at, std::string::npos) << "step " << step;
    }
}

TEST_F(PurgeRunTest, AStepThatFailsIsUndoneItsHeadersWaitAndTheMessageNamesBoth) {
    const auto before = runtest::QueryIds(demo.Path(), "SELECT ID FROM V_MV_CPTEDOC ORDER BY ID");
    const auto headers = runtest::QueryIds(demo.Path(), "SELECT ID FROM V_MV_CPTE ORDER BY ID");
    runtest::FaultyDatabase faulty(demo.Path(), "DELETE V_MV_CPTEDOC", 8);
    boxes->Answer(ui::kYes);
    boxes->Answer(ui::kOK);

    const purge::RunResult result = Run(faulty.ConnectionString());

    ASSERT_EQ(result.steps.size(), 12u);
    for (const auto& s : result.steps) {
        const StepOutcome expected = s.step == 7   ? StepOutcome::RolledBack
                                     : s.step == 8 ? StepOutcome::Omitted
                                                   : StepOutcome::Committed;
        EXPECT_EQ(s.outcome, expected) << s.table;
    }
    EXPECT_EQ(result.steps[7].waitedFor, 7);
    // The documents stay, and so do the headers through which a later purge finds them.
    EXPECT_EQ(runtest::QueryIds(demo.Path(), "SELECT ID FROM V_MV_CPTEDOC ORDER BY ID"), before);
    EXPECT_EQ(runtest::QueryIds(demo.Path(), "SELECT ID FROM V_MV_CPTE ORDER BY ID"), headers);
    ASSERT_EQ(boxes->Boxes().size(), 2u);
    EXPECT_EQ(boxes->Boxes()[1].prompt,
              "El proceso finalizó con errores!!!\rNo se completaron los pasos: 7 "
              "(V_MV_CPTEDOC), 8 (V_MV_CPTE, omitido: esperaba el paso 7).");
    EXPECT_EQ(boxes->Boxes()[1].icon, ui::Icon::Exclamation);
    EXPECT_EQ(boxes->Boxes()[1].title, kTitle);
    EXPECT_EQ(port.progress.back(), 0.0);
}

TEST_F(PurgeRunTest, AStepWhoseTransactionCannotBeginIsReportedAndTheRunGoesOn) {
    const auto before = runtest::QueryIds(demo.Path(), "SELECT ID FROM MV_APLICACION ORDER BY ID");
    runtest::FaultyDatabase faulty(demo.Path(), "BEGIN TRANSACTION", 1);
    boxes->Answer(ui::kYes);
    boxes->Answer(ui::kOK);
    boxes->Answer(ui::kOK);

    const purge::RunResult result = Run(faulty.ConnectionString());

    ASSERT_EQ(result.steps.size(), 12u);
    EXPECT_EQ(result.steps[0].outcome, StepOutcome::Abandoned);
    EXPECT_EQ(result.steps[3].outcome, StepOutcome::Committed);
    EXPECT_EQ(runtest::QueryIds(demo.Path(), "SELECT ID FROM MV_APLICACION ORDER BY ID"), before);
    ASSERT_EQ(boxes->Boxes().size(), 3u);
    EXPECT_EQ(boxes->Boxes()[1].prompt,
              "No se pudo realizar el paso 1 de la depuración (MV_APLICACION):\r"
              "Fallo provocado por la prueba");
    EXPECT_EQ(boxes->Boxes()[1].icon, ui::Icon::Critical);
    EXPECT_EQ(boxes->Boxes()[1].title, kTitle);
    EXPECT_EQ(boxes->Boxes()[2].prompt,
              "El proceso finalizó con errores!!!\rNo se completaron los pasos: 1 "
              "(MV_APLICACION), 2 (MV_ASIENTOS, omitido: esperaba el paso 1).");
    // Nothing of step 1 ran: the bar goes from 0 straight to its end.
    ASSERT_GE(port.progress.size(), 2u);
    EXPECT_EQ(port.progress[0], 0.0);
    EXPECT_EQ(port.progress[1], 100.0);
}

TEST_F(PurgeRunTest, EntriesWaitForTheirApplicationRowsAndTheNextPurgeFinishesTheJob) {
    const std::string orphanable =
        "SELECT COUNT(*) FROM MV_APLICACION A JOIN MV_ASIENTOS S ON S.CUENTA = A.CUENTA AND "
        "S.TC = A.TC AND S.SUCURSAL = A.SUCURSAL AND S.NUMERO = A.NUMERO AND S.Letra = A.Letra "
        "WHERE S.FECHA <= '2021-12-31'";
    const long long entries = runtest::QueryInt(demo.Path(), "SELECT COUNT(*) FROM MV_ASIENTOS");
    ASSERT_GT(runtest::QueryInt(demo.Path(), orphanable), 0);
    {
        // Step 1's final statement fails (a lock held too long, a full temporary folder).
        runtest::FaultyDatabase faulty(demo.Path(), "DELETE MV_APLICACION", 21);
        boxes->Answer(ui::kYes);
        boxes->Answer(ui::kOK);
        const purge::RunResult result = Run(faulty.ConnectionString());
        ASSERT_EQ(result.steps.size(), 12u);
        EXPECT_EQ(result.steps[0].outcome, StepOutcome::RolledBack);
        EXPECT_EQ(result.steps[1].outcome, StepOutcome::Omitted);
        EXPECT_EQ(result.steps[1].waitedFor, 1);
        EXPECT_EQ(result.steps[2].outcome, StepOutcome::Committed);
        EXPECT_EQ(runtest::QueryInt(demo.Path(), "SELECT COUNT(*) FROM MV_ASIENTOS"), entries);
    }
    boxes->Answer(ui::kYes);
    boxes->Answer(ui::kOK);
    const purge::RunResult again = Run();
    for (const auto& s : again.steps) EXPECT_EQ(s.outcome, StepOutcome::Committed) << s.table;
    EXPECT_EQ(runtest::QueryInt(demo.Path(), orphanable), 0);
    EXPECT_EQ(runtest::QueryInt(demo.Path(),
                                "SELECT COUNT(*) FROM MV_ASIENTOS WHERE FECHA <= '2021-12-31'"),
              0);
}

TEST_F(PurgeRunTest, AStatementWaitingForAnotherConnectionsLockSaysSo) {
    // Another connection holds the write lock for a while, then lets go.
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open_v2(demo.Path().c_str(), &other, SQLITE_OPEN_READWRITE, nullptr),
              SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
    std::thread release([other] {
        std::this_thread::sleep_for(std::chrono::milliseconds(800));
        sqlite3_exec(other, "COMMIT", nullptr, nullptr, nullptr);
    });
    boxes->Answer(ui::kYes);
    boxes->Answer(ui::kOK);

    const purge::RunResult result = Run();
    release.join();
    sqlite3_close(other);

    for (const auto& s : result.steps) EXPECT_EQ(s.outcome, StepOutcome::Committed) << s.table;
    ASSERT_GE(port.waits.size(), 2u);
    EXPECT_EQ(port.waits[0], true);
    EXPECT_EQ(port.waits[1], false);
}

}  // namespace
