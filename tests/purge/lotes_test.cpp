// The batched deletion of the ten tables: the exact statements sent, which rows go, and how
// an error in a batch or at commit leaves the table.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "db/db_dll.h"
#include "platform/ui/ports.h"
#include "platform/ui/scripted_prompter.h"
#include "purge/batched_tables.h"
#include "purge/depura_en_lotes.h"
#include "run_support.h"

namespace {

using purge::BatchedTables;
using purge::DepuraEnLotes;
using purge::StepOutcome;
using runtest::RecordingPort;

struct ExpectedStatements {
    const char* table;
    const char* batch;
    const char* final;
};

// Every statement as the database must receive it for the cut-off 31/12/2004, in the order
// of the run.
const ExpectedStatements kExpected[] = {
    {"MV_APLICACION",
     "DELETE MV_APLICACION FROM (SELECT TOP 5 PERCENT MV_APLICACION.* FROM MV_APLICACION INNER "
     "JOIN MV_ASIENTOS ON MV_ASIENTOS.CUENTA = MV_APLICACION.CUENTA AND                     "
     "MV_ASIENTOS.TC = MV_APLICACION.TC AND                     MV_ASIENTOS.SUCURSAL = "
     "MV_APLICACION.SUCURSAL AND                     MV_ASIENTOS.NUMERO = MV_APLICACION.NUMERO AND "
     "                    MV_ASIENTOS.Letra = MV_APLICACION.Letra WHERE MV_ASIENTOS.FECHA <= "
     "'31/12/2004') AS T1 WHERE T1.ID = MV_APLICACION.ID ",
     "DELETE MV_APLICACION FROM (SELECT MV_APLICACION.* FROM MV_APLICACION INNER JOIN MV_ASIENTOS "
     "ON MV_ASIENTOS.CUENTA = MV_APLICACION.CUENTA AND                     MV_ASIENTOS.TC = "
     "MV_APLICACION.TC AND                     MV_ASIENTOS.SUCURSAL = MV_APLICACION.SUCURSAL AND   "
     "                  MV_ASIENTOS.NUMERO = MV_APLICACION.NUMERO AND                     "
     "MV_ASIENTOS.Letra = MV_APLICACION.Letra WHERE MV_ASIENTOS.FECHA <= '31/12/2004') AS T1 WHERE "
     "T1.ID = MV_APLICACION.ID "},
    {"V_MV_CPTEINSUMOS",
     "DELETE V_MV_CPTEINSUMOS FROM (SELECT TOP 5 PERCENT V_MV_CPTEINSUMOS.* FROM V_MV_CPTEINSUMOS "
     "INNER JOIN V_MV_CPTE                 ON V_MV_CPTEINSUMOS.TC = V_MV_CPTE.TC AND               "
     "     V_MV_CPTEINSUMOS.IDCOMPROBANTE = V_MV_CPTE.IDCOMPROBANTE WHERE V_MV_CPTE.FECHA <= "
     "'31/12/2004') AS T1 WHERE T1.ID = V_MV_CPTEINSUMOS.ID",
     "DELETE V_MV_CPTEINSUMOS FROM (SELECT V_MV_CPTEINSUMOS.* FROM V_MV_CPTEINSUMOS INNER JOIN "
     "V_MV_CPTE                 ON V_MV_CPTEINSUMOS.TC = V_MV_CPTE.TC AND                    "
     "V_MV_CPTEINSUMOS.IDCOMPROBANTE = V_MV_CPTE.IDCOMPROBANTE WHERE V_MV_CPTE.FECHA <= "
     "'31/12/2004') AS T1 WHERE T1.ID = V_MV_CPTEINSUMOS.ID"},
    {"V_MV_CPTE_OBSERV",
     "DELETE V_MV_CPTE_OBSERV FROM (SELECT TOP 5 PERCENT V_MV_CPTE_OBSERV.* FROM V_MV_CPTE_OBSERV "
     "INNER JOIN V_MV_CPTE ON               V_MV_CPTE_OBSERV.TC = V_MV_CPTE.TC AND               "
     "V_MV_CPTE_OBSERV.IDCOMPROBANTE = V_MV_CPTE.IDCOMPROBANTE WHERE V_MV_CPTE.FECHA <= "
     "'31/12/2004') AS T1 WHERE T1.ID = V_MV_CPTE_OBSERV.ID",
     "DELETE V_MV_CPTE_OBSERV FROM (SELECT V_MV_CPTE_OBSERV.* FROM V_MV_CPTE_OBSERV INNER JOIN "
     "V_MV_CPTE ON               V_MV_CPTE_OBSERV.TC = V_MV_CPTE.TC AND               "
     "V_MV_CPTE_OBSERV.IDCOMPROBANTE = V_MV_CPTE.IDCOMPROBANTE WHERE V_MV_CPTE.FECHA <= "
     "'31/12/2004') AS T1 WHERE T1.ID = V_MV_CPTE_OBSERV.ID"},
    {"V_MV_CPTETAREAS",
     "DELETE V_MV_CPTETAREAS FROM (SELECT TOP 5 PERCENT V_MV_CPTETAREAS.* FROM V_MV_CPTETAREAS "
     "INNER JOIN V_MV_CPTE ON               V_MV_CPTETAREAS.TC = V_MV_CPTE.TC AND               "
     "V_MV_CPTETAREAS.IDCOMPROBANTE = V_MV_CPTE.IDCOMPROBANTE WHERE V_MV_CPTE.FECHA <= "
     "'31/12/2004') AS T1 WHERE T1.ID = V_MV_CPTETAREAS.ID",
     "DELETE V_MV_CPTETAREAS FROM (SELECT V_MV_CPTETAREAS.* FROM V_MV_CPTETAREAS INNER JOIN "
     "V_MV_CPTE ON               V_MV_CPTETAREAS.TC = V_MV_CPTE.TC AND               "
     "V_MV_CPTETAREAS.IDCOMPROBANTE = V_MV_CPTE.IDCOMPROBANTE WHERE V_MV_CPTE.FECHA <= "
     "'31/12/2004') AS T1 WHERE T1.ID = V_MV_CPTETAREAS.ID"},
    {"V_MV_CPTEDOC",
     "DELETE V_MV_CPTEDOC FROM (SELECT TOP 5 PERCENT V_MV_CPTEDOC.* FROM V_MV_CPTEDOC INNER JOIN "
     "V_MV_CPTE ON               V_MV_CPTEDOC.TC = V_MV_CPTE.TC AND               "
     "V_MV_CPTEDOC.IDCOMPROBANTE = V_MV_CPTE.IDCOMPROBANTE WHERE V_MV_CPTE.FECHA <= '31/12/2004') "
     "AS T1 WHERE T1.ID = V_MV_CPTEDOC.ID",
     "DELETE V_MV_CPTEDOC FROM (SELECT V_MV_CPTEDOC.* FROM V_MV_CPTEDOC INNER JOIN V_MV_CPTE ON    "
     "           V_MV_CPTEDOC.TC = V_MV_CPTE.TC AND               V_MV_CPTEDOC.IDCOMPROBANTE = "
     "V_MV_CPTE.IDCOMPROBANTE WHERE V_MV_CPTE.FECHA <= '31/12/2004') AS T1 WHERE T1.ID = "
     "V_MV_CPTEDOC.ID"},
    {"V_MV_CPTE",
     "DELETE V_MV_CPTE FROM (SELECT TOP 5 PERCENT V_MV_CPTE.* FROM V_MV_CPTE WHERE FECHA <= "
     "'31/12/2004') AS T1 WHERE T1.ID = V_MV_CPTE.ID",
     "DELETE V_MV_CPTE FROM (SELECT V_MV_CPTE.* FROM V_MV_CPTE WHERE FECHA <= '31/12/2004') AS T1 "
     "WHERE T1.ID = V_MV_CPTE.ID"},
    {"C_MV_CPTEINSUMOS",
     "DELETE C_MV_CPTEINSUMOS FROM (SELECT TOP 5 PERCENT C_MV_CPTEINSUMOS.* FROM C_MV_CPTEINSUMOS "
     "INNER JOIN C_MV_CPTE ON               C_MV_CPTEINSUMOS.TC = C_MV_CPTE.TC AND               "
     "C_MV_CPTEINSUMOS.CUENTA = C_MV_CPTE.CUENTA AND               C_MV_CPTEINSUMOS.IDCOMPROBANTE "
     "= C_MV_CPTE.IDCOMPROBANTE WHERE C_MV_CPTE.FECHA <= '31/12/2004') AS T1 WHERE T1.ID = "
     "C_MV_CPTEINSUMOS.ID",
     "DELETE C_MV_CPTEINSUMOS FROM (SELECT C_MV_CPTEINSUMOS.* FROM C_MV_CPTEINSUMOS INNER JOIN "
     "C_MV_CPTE ON               C_MV_CPTEINSUMOS.TC = C_MV_CPTE.TC AND               "
     "C_MV_CPTEINSUMOS.CUENTA = C_MV_CPTE.CUENTA AND               C_MV_CPTEINSUMOS.IDCOMPROBANTE "
     "= C_MV_CPTE.IDCOMPROBANTE WHERE C_MV_CPTE.FECHA <= '31/12/2004') AS T1 WHERE T1.ID = "
     "C_MV_CPTEINSUMOS.ID"},
    {"C_MV_CPTE_OBSERV",
     "DELETE C_MV_CPTE_OBSERV FROM (SELECT TOP 5 PERCENT C_MV_CPTE_OBSERV.* FROM C_MV_CPTE_OBSERV "
     "INNER JOIN C_MV_CPTE ON               C_MV_CPTE_OBSERV.TC = C_MV_CPTE.TC AND               "
     "C_MV_CPTE_OBSERV.CUENTA = C_MV_CPTE.CUENTA AND               C_MV_CPTE_OBSERV.IDCOMPROBANTE "
     "= C_MV_CPTE.IDCOMPROBANTE WHERE C_MV_CPTE.FECHA <= '31/12/2004') AS T1 WHERE T1.ID = "
     "C_MV_CPTE_OBSERV.ID",
     "DELETE C_MV_CPTE_OBSERV FROM (SELECT C_MV_CPTE_OBSERV.* FROM C_MV_CPTE_OBSERV INNER JOIN "
     "C_MV_CPTE ON               C_MV_CPTE_OBSERV.TC = C_MV_CPTE.TC AND               "
     "C_MV_CPTE_OBSERV.CUENTA = C_MV_CPTE.CUENTA AND               C_MV_CPTE_OBSERV.IDCOMPROBANTE "
     "= C_MV_CPTE.IDCOMPROBANTE WHERE C_MV_CPTE.FECHA <= '31/12/2004') AS T1 WHERE T1.ID = "
     "C_MV_CPTE_OBSERV.ID"},
    {"C_MV_CPTETAREAS",
     "DELETE C_MV_CPTETAREAS FROM (SELECT TOP 5 PERCENT C_MV_CPTETAREAS.* FROM C_MV_CPTETAREAS "
     "INNER JOIN C_MV_CPTE ON               C_MV_CPTETAREAS.TC = C_MV_CPTE.TC AND               "
     "C_MV_CPTETAREAS.CUENTA = C_MV_CPTE.CUENTA AND               C_MV_CPTETAREAS.IDCOMPROBANTE = "
     "C_MV_CPTE.IDCOMPROBANTE WHERE C_MV_CPTE.FECHA <='31/12/2004') AS T1 WHERE T1.ID = "
     "C_MV_CPTETAREAS.ID",
     "DELETE C_MV_CPTETAREAS FROM (SELECT C_MV_CPTETAREAS.* FROM C_MV_CPTETAREAS INNER JOIN "
     "C_MV_CPTE ON               C_MV_CPTETAREAS.TC = C_MV_CPTE.TC AND               "
     "C_MV_CPTETAREAS.CUENTA = C_MV_CPTE.CUENTA AND               C_MV_CPTETAREAS.IDCOMPROBANTE = "
     "C_MV_CPTE.IDCOMPROBANTE WHERE C_MV_CPTE.FECHA <='31/12/2004') AS T1 WHERE T1.ID = "
     "C_MV_CPTETAREAS.ID"},
    {"C_MV_CPTE",
     "DELETE C_MV_CPTE FROM (SELECT TOP 5 PERCENT C_MV_CPTE.* FROM C_MV_CPTE WHERE FECHA <= "
     "'31/12/2004') AS T1 WHERE T1.ID = C_MV_CPTE.ID",
     "DELETE C_MV_CPTE FROM (SELECT C_MV_CPTE.* FROM C_MV_CPTE WHERE FECHA <= '31/12/2004') AS T1 "
     "WHERE T1.ID = C_MV_CPTE.ID"},
};

// A database connection with every statement it is sent recorded in order.
struct TracedDb {
    explicit TracedDb(const std::string& connectionString) {
        db.gCnn.Open(connectionString);
        db.gCnn.SetStatementTrace([this](const std::string& s) { trace.push_back(s); });
    }
    db::DB_Dll db;
    std::vector<std::string> trace;
};

class DepuraEnLotesTest : public ::testing::Test {
  protected:
    runtest::ScopedRegional dmy_;
    // No box is expected from these steps: one would fail the test.
    std::shared_ptr<ui::ScriptedPrompter> boxes_ = std::make_shared<ui::ScriptedPrompter>();
    ui::ScopedPrompter scopedBoxes_{boxes_};
};

TEST_F(DepuraEnLotesTest, SendsTheExactStatementsOfEachTableInOneTransaction) {
    runtest::EmptyDatabase empty;
    TracedDb traced(runtest::ConnectionStringFor(empty.Path()));
    const std::vector<int> steps = {1, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    ASSERT_EQ(BatchedTables().size(), std::size(kExpected));
    for (std::size_t i = 0; i < std::size(kExpected); ++i) {
        const auto& table = BatchedTables()[i];
        const auto& expected = kExpected[i];
        SCOPED_TRACE(expected.table);
        traced.trace.clear();
        RecordingPort port;

        const purge::StepReport report = DepuraEnLotes(table, "31/12/2004", port, traced.db);

        std::vector<std::string> statements{"BEGIN TRANSACTION"};
        statements.insert(statements.end(), 20, expected.batch);
        statements.push_back(expected.final);
        statements.push_back("COMMIT TRANSACTION");
        EXPECT_EQ(traced.trace, statements);
        EXPECT_EQ(report.step, steps[i]);
        EXPECT_EQ(report.table, expected.table);
        EXPECT_EQ(report.outcome, StepOutcome::Committed);
        EXPECT_EQ(report.rows, 0);
        // Nothing matched: the bar still walks the whole band.
        EXPECT_EQ(port.progress, runtest::BatchedStepProgress(100 * (steps[i] - 1)));
        EXPECT_EQ(port.pumps, 20);
    }
}

// Headers dated on either side of the cut-off (31/12/2004 at 00:00), dependent rows of each,
// rows that match a header on all but one join column, and rows without any header.
void FillSmallFixture(const std::string& path) {
    std::string sql =
        "INSERT INTO MV_ASIENTOS (Cuenta, Secuencia, Mes_operativo, \"NUMERO ASIENTO\", PERIODO,"
        " TIPO_REG, FECHA, TC, SUCURSAL, NUMERO, Letra) VALUES"
        " ('1101', 1, 1, 1, 2004, 'A', '2004-03-01 00:00:00', 'FC', '0001', '00000001', 'A'),"
        " ('1101', 2, 1, 2, 2005, 'A', '2005-03-01 00:00:00', 'FC', '0001', '00000001', 'B');"
        "INSERT INTO MV_APLICACION (ID, CUENTA, TC, SUCURSAL, NUMERO, Letra) VALUES"
        " (1, '1101', 'FC', '0001', '00000001', 'A'),"  // entry of 2004: goes
        " (2, '1101', 'FC', '0001', '00000001', 'A'),"  // goes
        " (3, '1101', 'FC', '0001', '00000001', 'B'),"  // entry of 2005: stays
        " (4, '1101', 'FC', '0002', '00000001', 'A'),"  // other branch, no entry: stays
        " (5, '9999', 'FC', '0001', '00000001', 'A');"  // other account, no entry: stays
        "INSERT INTO V_MV_CPTE (ID, TC, IDCOMPROBANTE, FECHA) VALUES"
        " (1, 'FC', '000100000001A', '2004-12-31 00:00:00'),"  // on the cut-off: goes
        " (2, 'FC', '000100000002A', '2004-12-31 19:45:00'),"  // later that day: stays
        " (3, 'NC', '000100000001A', '2005-01-01 00:00:00'),"  // same number, other type
        " (4, 'FC', '000100000003A', '2003-06-15 00:00:00');"  // goes
        "INSERT INTO C_MV_CPTE (ID, TC, CUENTA, IDCOMPROBANTE, FECHA) VALUES"
        " (1, 'FA', 'PROV1', '000100000001A', '2004-05-05 00:00:00'),"   // goes
        " (2, 'FA', 'PROV2', '000100000001A', '2005-05-05 00:00:00');";  // same number: stays
    for (const char* t :
         {"V_MV_CPTEINSUMOS", "V_MV_CPTE_OBSERV", "V_MV_CPTETAREAS", "V_MV_CPTEDOC"}) {
        sql += std::string("INSERT INTO ") + t +
               " (ID, TC, IDCOMPROBANTE) VALUES"
               " (1, 'FC', '000100000001A'), (2, 'FC', '000100000001A'),"  // go
               " (3, 'FC', '000100000002A'), (4, 'NC', '000100000001A'),"  // stay
               " (5, 'FC', '000199999999A'),"                              // no header: stays
               " (6, 'FC', '000100000003A');";                             // goes
    }
    for (const char* t : {"C_MV_CPTEINSUMOS", "C_MV_CPTE_OBSERV", "C_MV_CPTETAREAS"}) {
        sql += std::string("INSERT INTO ") + t +
               " (ID, TC, CUENTA, IDCOMPROBANTE) VALUES"
               " (1, 'FA', 'PROV1', '000100000001A'),"   // goes
               " (2, 'FA', 'PROV2', '000100000001A'),"   // header after the cut-off: stays
               " (3, 'FA', 'PROV3', '000100000001A');";  // no header for that supplier: stays
    }
    runtest::Exec(path, sql);
}

TEST_F(DepuraEnLotesTest, DeletesTheRowsOfHeadersUpToTheCutOffAndNothingElse) {
    runtest::EmptyDatabase fixture;
    FillSmallFixture(fixture.Path());
    TracedDb traced(runtest::ConnectionStringFor(fixture.Path()));
    RecordingPort port;
    std::vector<long> rows;
    for (const auto& table : BatchedTables()) {
        const auto report = DepuraEnLotes(table, "31/12/2004", port, traced.db);
        EXPECT_EQ(report.outcome, StepOutcome::Committed) << table.table;
        rows.push_back(report.rows);
    }

    struct Remaining {
        const char* table;
        std::vector<long long> ids;
    };
    const Remaining expected[] = {
        {"MV_APLICACION", {3, 4, 5}},    {"V_MV_CPTEINSUMOS", {3, 4, 5}},
        {"V_MV_CPTE_OBSERV", {3, 4, 5}}, {"V_MV_CPTETAREAS", {3, 4, 5}},
        {"V_MV_CPTEDOC", {3, 4, 5}},     {"V_MV_CPTE", {2, 3}},
        {"C_MV_CPTEINSUMOS", {2, 3}},    {"C_MV_CPTE_OBSERV", {2, 3}},
        {"C_MV_CPTETAREAS", {2, 3}},     {"C_MV_CPTE", {2}},
    };
    for (const auto& e : expected) {
        EXPECT_EQ(runtest::QueryIds(fixture.Path(),
                                    std::string("SELECT ID FROM ") + e.table + " ORDER BY ID"),
                  e.ids)
            << e.table;
    }
    EXPECT_EQ(rows, (std::vector<long>{2, 3, 3, 3, 3, 2, 1, 1, 1, 1}));
}

// Many rows under dated headers, so that every batch has something to delete.
void FillManyDocuments(const std::string& path, int headers) {
    std::string sql = "INSERT INTO V_MV_CPTE (ID, TC, IDCOMPROBANTE, FECHA) VALUES ";
    for (int h = 1; h <= headers; ++h) {
        sql += (h > 1 ? "," : "") + std::string("(") + std::to_string(h) + ", 'FC', 'N" +
               std::to_string(h) + "', '" + (h % 4 == 0 ? "2006" : "2004") + "-02-01 00:00:00')";
    }
    sql += "; INSERT INTO V_MV_CPTEDOC (ID, TC, IDCOMPROBANTE) VALUES ";
    for (int d = 1; d <= headers * 3; ++d) {
        sql += (d > 1 ? "," : "") + std::string("(") + std::to_string(d) + ", 'FC', 'N" +
               std::to_string((d - 1) / 3 + 1) + "')";
    }
    runtest::Exec(path, sql + ";");
}

const purge::BatchedTable& Table(const std::string& name) {
    for (const auto& t : BatchedTables()) {
        if (name == t.table) return t;
    }
    throw std::logic_error("no such table: " + name);
}

TEST_F(DepuraEnLotesTest, ManyRowsAreDeletedAcrossTheBatchesAndCounted) {
    runtest::EmptyDatabase fixture;
    FillManyDocuments(fixture.Path(), 200);
    TracedDb traced(runtest::ConnectionStringFor(fixture.Path()));
    RecordingPort port;
    const auto report = DepuraEnLotes(Table("V_MV_CPTEDOC"), "31/12/2004", port, traced.db);
    EXPECT_EQ(report.outcome, StepOutcome::Committed);
    EXPECT_EQ(report.rows, 450);  // three documents for each of the 150 headers of 2004
    EXPECT_EQ(runtest::QueryInt(fixture.Path(), "SELECT COUNT(*) FROM V_MV_CPTEDOC"), 150);
    EXPECT_EQ(runtest::QueryInt(fixture.Path(),
                                "SELECT COUNT(*) FROM V_MV_CPTEDOC d JOIN V_MV_CPTE h ON "
                                "h.TC = d.TC AND h.IDCOMPROBANTE = d.IDCOMPROBANTE "
                                "WHERE h.FECHA < '2006-01-01'"),
              0);
}

// An error reported for a batch undoes the step's earlier batches, skips the rest, and shows
// no message; the bar jumps to the band's end.
struct FailureCase {
    const char* name;
    std::string fechaHasta;
    std::string failingPrefix;  // empty: no injected failure
    int occurrence;
    int batchesSent;
    bool finalAndCommitSent;
};

class DepuraEnLotesFailureTest : public DepuraEnLotesTest,
                                 public ::testing::WithParamInterface<FailureCase> {};

TEST_P(DepuraEnLotesFailureTest, LeavesTheTableAsItWas) {
    const FailureCase& c = GetParam();
    runtest::EmptyDatabase fixture;
    FillManyDocuments(fixture.Path(), 200);
    const auto before =
        runtest::QueryIds(fixture.Path(), "SELECT ID FROM V_MV_CPTEDOC ORDER BY ID");
    const auto& table = Table("V_MV_CPTEDOC");
    std::unique_ptr<runtest::FaultyDatabase> faulty;
    std::string cs = runtest::ConnectionStringFor(fixture.Path());
    if (!c.failingPrefix.empty()) {
        faulty = std::make_unique<runtest::FaultyDatabase>(fixture.Path(), c.failingPrefix,
                                                           c.occurrence);
        cs = faulty->ConnectionString();
    }
    TracedDb traced(cs);
    RecordingPort port;

    const auto report = DepuraEnLotes(table, c.fechaHasta, port, traced.db);

    std::vector<std::string> statements{"BEGIN TRANSACTION"};
    statements.insert(statements.end(), c.batchesSent, purge::BatchStatement(table, c.fechaHasta));
    if (c.finalAndCommitSent) {
        statements.push_back(purge::FinalStatement(table, c.fechaHasta));
        statements.push_back("COMMIT TRANSACTION");
    }
    statements.push_back("ROLLBACK TRANSACTION");
    EXPECT_EQ(traced.trace, statements);
    EXPECT_EQ(report.outcome, StepOutcome::RolledBack);
    EXPECT_EQ(report.rows, 0);
    EXPECT_EQ(runtest::QueryIds(fixture.Path(), "SELECT ID FROM V_MV_CPTEDOC ORDER BY ID"), before);
    std::vector<double> progress;
    const int done = c.finalAndCommitSent ? 20 : c.batchesSent - 1;
    for (int i = 0; i < done; ++i) progress.push_back(table.bandBase + 5.0 * i);
    progress.push_back(table.bandBase + 100.0);
    EXPECT_EQ(port.progress, progress);
    EXPECT_TRUE(boxes_->Boxes().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DepuraEnLotesFailureTest,
    ::testing::Values(
        // The database cannot read the cut-off as a date: the first batch fails.
        FailureCase{"CutOffNotADate", "31/13/2004", "", 0, 1, false},
        FailureCase{"BatchSeven", "31/12/2004", "DELETE V_MV_CPTEDOC", 8, 8, false},
        // A refused commit is rolled back rather than reported as done.
        FailureCase{"Commit", "31/12/2004", "COMMIT TRANSACTION", 1, 20, true}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
