// The accounting step on generated data: the entries up to the cut-off go, the operating range
// is widened only while they are deleted, the purge date is recorded only when the deletion
// committed, and every answer to the error message leaves a consistent database.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "asientos_stock_fixture.h"
#include "purge/depura_asientos.h"

namespace {

using purge::StepOutcome;
using purgetest::PurgeDatabase;
using purgetest::Row;

constexpr const char* kCutoffIso = "2020-12-31 00:00:00";

std::vector<Row> Entries(const PurgeDatabase& db, const char* op) {
    return db.Query(std::string("SELECT * FROM MV_ASIENTOS WHERE FECHA ") + op + " '" + kCutoffIso +
                    "' ORDER BY Cuenta, Secuencia, Mes_operativo, \"NUMERO ASIENTO\", PERIODO, "
                    "TIPO_REG");
}

long long EntriesUpToCutoff(const PurgeDatabase& db) {
    return db.Count(std::string("SELECT COUNT(*) FROM MV_ASIENTOS WHERE FECHA <= '") + kCutoffIso +
                    "'");
}

// CLAVE, VALOR, valoraux, Grupo of the three keys the step touches (keys compare without
// letter case, so the purge date sorts last).
std::vector<Row> Keys(const PurgeDatabase& db) {
    return db.Query(
        "SELECT CLAVE, VALOR, valoraux, Grupo FROM TA_CONFIGURACION WHERE CLAVE IN "
        "('fechaoperdesde', 'fechaoperhasta', 'FECHAULTIMADEPURACION') ORDER BY CLAVE");
}

const Row kDesde = {"fechaoperdesde", "01/01/2024", std::nullopt, "DATOS"};
const Row kHasta = {"fechaoperhasta", "31/12/2025", std::nullopt, "DATOS"};
const Row kPurgeDate = {"FECHAULTIMADEPURACION", "31/12/2020", std::nullopt, "DATOS"};

std::vector<std::string> Deletions(const PurgeDatabase& db) {
    std::vector<std::string> out;
    std::copy_if(db.statements.begin(), db.statements.end(), std::back_inserter(out),
                 [](const std::string& s) { return s.rfind("DELETE", 0) == 0; });
    return out;
}

const std::vector<double> kFullBar = {100, 110, 120, 130, 140, 150, 160, 170, 180, 190, 200};

// Values of the range keys as the program's own connection sees them.
std::vector<Row> RangeSeenByProgram(const PurgeDatabase& db) {
    adodb::Recordset rs = db.Db().gCnn.Execute(
        "SELECT CLAVE, VALOR FROM TA_CONFIGURACION WHERE CLAVE IN ('fechaoperdesde', "
        "'fechaoperhasta') ORDER BY CLAVE");
    std::vector<Row> rows;
    for (; !rs.EOF(); rs.MoveNext())
        rows.push_back({rs.Fields(0).Value().ToString(), rs.Fields(1).Value().ToString()});
    return rows;
}

TEST(AsientosStep, DeletesSeveralHundredEntriesOfTheFiscalYear) {
    PurgeDatabase db(0.2);
    ASSERT_EQ(Keys(db), (std::vector<Row>{kDesde, kHasta}));
    const long long count = EntriesUpToCutoff(db);
    ASSERT_GT(count, 200);
    const auto later = Entries(db, ">");
    db.port.byFiscalYear = true;
    std::vector<Row> rangeDuring;
    std::vector<Row> keysSeenOutside;
    db.port.onEvents = [&](int call) {
        if (call != 0) return;
        rangeDuring = RangeSeenByProgram(db);
        keysSeenOutside = Keys(db);
    };

    const purge::StepReport report = purge::DepuraAsientos("2020", db.port, db.Db());

    EXPECT_EQ(report.step, 2);
    EXPECT_EQ(report.outcome, StepOutcome::Committed);
    EXPECT_EQ(report.rows, count);
    EXPECT_EQ(EntriesUpToCutoff(db), 0);
    EXPECT_EQ(Entries(db, ">"), later);
    // Widened for the step's own statements, but only inside its transaction: nobody else
    // ever sees a widened range, and a step cut short cannot leave one behind.
    EXPECT_EQ(rangeDuring, (std::vector<Row>{{"fechaoperdesde", "01/01/1900"},
                                             {"fechaoperhasta", "31/12/2020"}}));
    EXPECT_EQ(keysSeenOutside, (std::vector<Row>{kDesde, kHasta}));
    EXPECT_EQ(Keys(db), (std::vector<Row>{kDesde, kHasta, kPurgeDate}));
    EXPECT_EQ(db.port.progress, kFullBar);
    EXPECT_FALSE(db.port.trashVisible);
    EXPECT_TRUE(db.prompter->Boxes().empty());

    // Ten batches of a tenth of the count, then the rest in one statement.
    const auto deletions = Deletions(db);
    ASSERT_EQ(deletions.size(), 11u);
    const std::string top = "select TOP " + std::to_string(count / 10) +
                            " * from MV_ASIENTOS WHERE FECHA <= '31/12/2020'";
    for (std::size_t i = 0; i < 10; ++i)
        EXPECT_NE(deletions[i].find(top), std::string::npos) << deletions[i];
    EXPECT_EQ(deletions.back(), "DELETE MV_ASIENTOS WHERE FECHA <= '31/12/2020'");
    EXPECT_TRUE(purgetest::FileIsFree(db.Path()));
}

TEST(AsientosStep, FewerThanTenEntriesGoInTheFinalStatement) {
    PurgeDatabase db(0.05);
    db.Exec(std::string("DELETE FROM MV_ASIENTOS WHERE FECHA <= '") + kCutoffIso +
            "' AND rowid NOT IN (SELECT rowid FROM MV_ASIENTOS WHERE FECHA <= '" + kCutoffIso +
            "' LIMIT 7)");
    ASSERT_EQ(EntriesUpToCutoff(db), 7);
    // Date mode: the cut-off comes from the date box, with a four-digit year.
    db.port.date = "  31/12/20 ";

    const purge::StepReport report = purge::DepuraAsientos("", db.port, db.Db());

    EXPECT_EQ(report.outcome, StepOutcome::Committed);
    EXPECT_EQ(report.rows, 7);
    EXPECT_EQ(EntriesUpToCutoff(db), 0);
    const auto deletions = Deletions(db);
    ASSERT_EQ(deletions.size(), 11u);
    EXPECT_NE(deletions[0].find("select TOP 0 * from MV_ASIENTOS WHERE FECHA <= '31/12/2020'"),
              std::string::npos);
    EXPECT_EQ(db.port.progress, kFullBar);
    EXPECT_EQ(Keys(db), (std::vector<Row>{kDesde, kHasta, kPurgeDate}));
}

TEST(AsientosStep, ConfigurationKeys) {
    struct Case {
        const char* name;
        const char* setup;
        std::vector<Row> after;
    };
    const std::vector<Case> cases = {
        {"range keys missing: nothing written for them",
         "DELETE FROM TA_CONFIGURACION WHERE CLAVE IN ('fechaoperdesde', 'fechaoperhasta')",
         {kPurgeDate}},
        {"purge date already recorded: the row is rewritten",
         "INSERT INTO TA_CONFIGURACION (CLAVE, VALOR, valoraux, Grupo) "
         "VALUES ('FECHAULTIMADEPURACION', '31/12/2010', 'aux', 'VARIOS')",
         {kDesde, kHasta, {"FECHAULTIMADEPURACION", "31/12/2020", "aux", "DATOS"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PurgeDatabase db(0.05);
        db.Exec(c.setup);
        db.port.date = "31/12/2020";

        EXPECT_EQ(purge::DepuraAsientos("", db.port, db.Db()).outcome, StepOutcome::Committed);

        EXPECT_EQ(Keys(db), c.after);
        EXPECT_EQ(EntriesUpToCutoff(db), 0);
    }
}

// A trigger refuses deletions of entries once the test throws its switch; the port throws it
// before batch 3 (the fourth), inside the step's transaction.
void RefuseDeletionsFromBatch3(PurgeDatabase& db) {
    db.Exec(
        "CREATE TABLE test_switch (fail INT); INSERT INTO test_switch VALUES (0); "
        "CREATE TRIGGER refuse_delete BEFORE DELETE ON MV_ASIENTOS "
        "WHEN (SELECT fail FROM test_switch) = 1 BEGIN SELECT RAISE(ABORT, 'rechazado'); END");
    db.port.onEvents = [&db](int call) {
        if (call == 3) db.Db().gCnn.Execute("UPDATE test_switch SET fail = 1");
    };
}

TEST(AsientosStep, EachAnswerToAnErrorLeavesAConsistentState) {
    struct Case {
        const char* name;
        std::vector<int> answers;
        StepOutcome outcome;
        bool deleted;
        std::vector<double> bar;
        bool trashVisible;
    };
    const std::vector<Case> cases = {
        // Retry, after the cause went away: the batch runs again and the step completes.
        {"retry", {ui::kRetry}, StepOutcome::Committed, true, kFullBar, false},
        // Ignore: the loop stops, the final statement still runs (and fails too), all of it
        // is rolled back.
        {"ignore",
         {ui::kIgnore, ui::kIgnore},
         StepOutcome::RolledBack,
         false,
         {100, 110, 120, 200},
         false},
        // Abort: the step ends at once, its transaction rolled back and the range restored.
        {"abort", {ui::kAbort}, StepOutcome::Abandoned, false, {100, 110, 120}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PurgeDatabase db(0.05);
        RefuseDeletionsFromBatch3(db);
        const auto before = Entries(db, "<=");
        const auto later = Entries(db, ">");
        ASSERT_GT(before.size(), 10u);
        for (int a : c.answers) db.prompter->Answer(a);
        auto prompter = std::make_shared<purgetest::CallbackPrompter>(db.prompter, [&] {
            if (c.answers.front() == ui::kRetry)
                db.Db().gCnn.Execute("UPDATE test_switch SET fail = 0");
        });
        ui::ScopedPrompter scope(prompter);
        db.port.date = "31/12/2020";

        const purge::StepReport report = purge::DepuraAsientos("", db.port, db.Db());

        EXPECT_EQ(report.outcome, c.outcome);
        EXPECT_EQ(db.prompter->PendingAnswers(), 0u);
        for (const ui::RecordedBox& box : db.prompter->Boxes()) {
            EXPECT_EQ(box.prompt.rfind("Se ha producido el siguiente error:", 0), 0u);
            EXPECT_NE(box.prompt.find("rechazado"), std::string::npos) << box.prompt;
            EXPECT_EQ(box.buttons, ui::Buttons::AbortRetryIgnore);
            EXPECT_EQ(box.icon, ui::Icon::Critical);
            EXPECT_EQ(box.title, "Aviso al operador");
        }
        if (c.deleted) {
            EXPECT_EQ(EntriesUpToCutoff(db), 0);
            EXPECT_EQ(Keys(db), (std::vector<Row>{kDesde, kHasta, kPurgeDate}));
        } else {
            EXPECT_EQ(Entries(db, "<="), before);
            EXPECT_EQ(Keys(db), (std::vector<Row>{kDesde, kHasta}));
            EXPECT_EQ(report.rows, 0);
        }
        EXPECT_EQ(Entries(db, ">"), later);
        EXPECT_EQ(db.port.progress, c.bar);
        EXPECT_EQ(db.port.trashVisible, c.trashVisible);
        EXPECT_TRUE(purgetest::FileIsFree(db.Path()));
    }
}

}  // namespace
