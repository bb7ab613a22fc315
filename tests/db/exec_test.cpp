#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "db/db_dll.h"
#include "fixture_db.h"
#include "platform/adodb/error.h"
#include "support/temp_dir.h"

namespace {

using adodb::ScriptedReply;
using dbtest::PrompterScope;
using dbtest::RecordingDb;
using Calls = std::vector<std::string>;

struct RewriteCase {
    std::string statement;
    std::string sent;
};

TEST(EjecutaConsultaSQL, MarkerAndSynonymRules) {
    const RewriteCase cases[] = {
        {"update ma_cuentas set x = 1 where y = 2", "update SS_MA_CUENTAS set x = 1 where y = 2"},
        // DELETE anywhere, in any letter case, keeps every name.
        {"delete from ma_cuentas where x = 1", "delete from ma_cuentas where x = 1"},
        {"update ma_cuentas set nota = 'Deleted' where y = 2",
         "update ma_cuentas set nota = 'Deleted' where y = 2"},
        // The marker in any letter case goes everywhere, and then no name gets a synonym.
        {"update @admin_ma_cuentas set x = 1 from v_ta_cajas c",
         "update ma_cuentas set x = 1 from v_ta_cajas c"},
        {"delete from @ADMIN_mv_asientos where x = 1", "delete from mv_asientos where x = 1"},
    };
    for (const RewriteCase& c : cases) {
        RecordingDb r("exec");
        std::string statement = c.statement;
        long affected = 0;
        r.db.EjecutaConsultaSQL(statement, affected);
        EXPECT_EQ(statement, c.sent) << c.statement;
        EXPECT_EQ(r.recorder->Statements(), Calls{c.sent}) << c.statement;
    }
}

TEST(EjecutaConsultaSQL, ReportsRowsAffectedOnTheEmbeddedEngine) {
    testsupport::TempDir dir;
    dbtest::SqliteDb s(dir.File("rows.db"), {"CREATE TABLE T (A INT PRIMARY KEY)",
                                             "INSERT INTO T VALUES (1), (2), (3)"});
    long affected = 99;
    std::string statement = "DELETE FROM T WHERE A > 1";
    s.db.EjecutaConsultaSQL(statement, affected);
    EXPECT_EQ(affected, 2);
}

struct FailureCase {
    std::int32_t number;
    bool shown;
};

TEST(EjecutaConsultaSQL, FourFailureNumbersAreSilentOthersShowTheDescription) {
    const FailureCase cases[] = {
        {adodb::code::kFail, false},       {adodb::code::kErrorsInCommand, false},
        {adodb::code::kNoTable, false},    {adodb::code::kIntegrity, false},
        {adodb::code::kCantConvert, true}, {adodb::code::kTimeout, true},
    };
    for (const FailureCase& c : cases) {
        PrompterScope p;
        if (c.shown) p.prompter->Answer(ui::kOK);
        RecordingDb r("fail");
        r.recorder->Enqueue(ScriptedReply::Fail(c.number, "No se pudo"));
        r.db.EjecutaConsultaSQL(std::string("UPDATE T SET A = 1"));
        if (c.shown) {
            ASSERT_EQ(p.prompter->Boxes().size(), 1u) << c.number;
            const ui::RecordedBox& box = p.prompter->Boxes()[0];
            EXPECT_EQ(box.prompt, "No se pudo");
            EXPECT_EQ(box.title, "Aviso al operador!!!");
            EXPECT_EQ(box.buttons, ui::Buttons::OK);
            EXPECT_EQ(box.icon, ui::Icon::Critical);
        } else {
            EXPECT_TRUE(p.prompter->Boxes().empty()) << c.number;
        }
    }
}

TEST(EjecutaConsultaSQL, MissingTableOnTheEmbeddedEngineIsSilent) {
    PrompterScope p;
    testsupport::TempDir dir;
    dbtest::SqliteDb s(dir.File("silent.db"), {"CREATE TABLE T (A INT)"});
    s.db.EjecutaConsultaSQL(std::string("INSERT INTO NO_EXISTE VALUES (1)"));
    EXPECT_TRUE(p.prompter->Boxes().empty());
    EXPECT_EQ(s.db.gCnn.Errors().Count(), 1);
    EXPECT_EQ(s.db.gCnn.Errors().Item(0).Number, adodb::code::kNoTable);
}

constexpr const char* kDeleteTranslated =
    "DELETE FROM V_MV_STOCK WHERE TO_DATE(TO_CHAR(FECHA,'DD/MM/YYYY'),'DD/MM/YYYY') <= "
    "TO_DATE('31/12/2004','DD/MM/YYYY')";

TEST(OracleScript, TransactionLinesBecomeTransactionCalls) {
    RecordingDb r("ora", dbtest::kOracleSource);
    r.recorder->Enqueue(ScriptedReply::Affected(12));
    std::string script =
        "BEGIN TRANSACTION\r\nDELETE FROM V_MV_STOCK WHERE FECHA <= '31/12/2004'\r\n"
        "COMMIT TRANSACTION";
    long affected = 5;
    r.db.EjecutaConsultaSQL(script, affected);
    EXPECT_EQ(r.recorder->Calls(),
              (Calls{"BeginTrans", std::string("Execute: ") + kDeleteTranslated, "CommitTrans"}));
    EXPECT_EQ(affected, 17);
    EXPECT_EQ(script, "");
}

TEST(OracleScript, ScriptWithoutKeywordsRunsNothing) {
    RecordingDb r("ora", dbtest::kOracleSource);
    std::string script = "SELECT * FROM T\r\nGO ";
    long affected = 0;
    r.db.EjecutaConsultaSQL(script, affected);
    EXPECT_TRUE(r.recorder->Calls().empty());
    EXPECT_EQ(affected, 0);
    EXPECT_EQ(script, "SELECT * FROM T ");
}

TEST(OracleScript, SkipsIfNotExistsAndSetNocountRunsIfExists) {
    RecordingDb r("ora", dbtest::kOracleSource);
    r.recorder->Enqueue(ScriptedReply::Affected(1));
    r.recorder->Enqueue(ScriptedReply::Affected(0));
    r.recorder->Enqueue(ScriptedReply::Affected(3));
    std::string script =
        "SET NOCOUNT ON\r\nIF NOT EXISTS (SELECT * FROM T WHERE A = 1) INSERT INTO T VALUES (1)"
        "\r\nUPDATE T SET NOCOUNT = 0\r\nIF EXISTS (SELECT * FROM T) UPDATE T SET A = 2";
    long affected = 0;
    r.db.EjecutaConsultaSQL(script, affected);
    EXPECT_EQ(
        r.recorder->Statements(),
        (Calls{"INSERT INTO T VALUES (1)", "IF EXISTS (SELECT * FROM T)", "UPDATE T SET A = 2"}));
    EXPECT_EQ(affected, 4);
}

TEST(OracleScript, FailingStatementStopsTheScriptAndLeavesTheTransactionOpen) {
    PrompterScope p;
    RecordingDb r("ora", dbtest::kOracleSource);
    r.recorder->Enqueue(ScriptedReply::Fail(adodb::code::kIntegrity, "Clave duplicada"));
    std::string script =
        "BEGIN TRANSACTION\r\nDELETE FROM A\r\nDELETE FROM B\r\nCOMMIT TRANSACTION";
    r.db.EjecutaConsultaSQL(script);
    EXPECT_EQ(r.recorder->Calls(), (Calls{"BeginTrans", "Execute: DELETE FROM A"}));
    EXPECT_TRUE(p.prompter->Boxes().empty());
}

TEST(OracleScript, TranslationFailureIsShown) {
    PrompterScope p;
    p.prompter->Answer(ui::kOK);
    RecordingDb r("ora", dbtest::kOracleSource);
    r.db.EjecutaConsultaSQL(std::string("UPDATE T SET A = 'X"));
    EXPECT_TRUE(r.recorder->Calls().empty());
    ASSERT_EQ(p.prompter->Boxes().size(), 1u);
    EXPECT_EQ(p.prompter->Boxes()[0].title, "Aviso al operador!!!");
}

TEST(AbrirRecordset, RewritesTheCallersQueryAndTranslatesOnOracle) {
    RecordingDb r("ora", dbtest::kOracleSource);
    adodb::Recordset rs;
    std::string query = "select top 1 * from @Admin_ma_cuentas m, v_ta_cajas c where fecha = 1";
    r.db.AbrirRecordset(query, rs);
    EXPECT_EQ(query, "select top 1 * from MA_CUENTAS m, SS_V_TA_CAJAS c where fecha = 1");
    EXPECT_EQ(rs.State(), adodb::kStateOpen);

    std::string untranslated = "select * from ma_cuentas where fecha = 1";
    r.db.AbrirRecordset(untranslated, rs, nullptr, 0, 1, -1, false);
    EXPECT_EQ(r.recorder->Statements(),
              (Calls{"select  * from MA_CUENTAS m, SS_V_TA_CAJAS c where "
                     "TO_DATE(TO_CHAR(fecha,'DD/MM/YYYY'),'DD/MM/YYYY') = 1 AND ROWNUM <= 1",
                     "select * from SS_MA_CUENTAS where fecha = 1"}));
}

TEST(AbrirRecordset, ReopensAnOpenRecordsetAndCierraRecordsetClosesIt) {
    testsupport::TempDir dir;
    dbtest::SqliteDb s(dir.File("reopen.db"), {"CREATE TABLE T (A INT PRIMARY KEY, B VARCHAR(10))",
                                               "INSERT INTO T VALUES (1, 'uno'), (2, 'dos')"});
    adodb::Recordset rs;
    s.db.AbrirRecordset(std::string("SELECT B FROM T WHERE A = 1"), rs);
    ASSERT_EQ(rs.State(), adodb::kStateOpen);
    s.db.AbrirRecordset(std::string("SELECT B FROM T WHERE A = 2"), rs);
    ASSERT_EQ(rs.State(), adodb::kStateOpen);
    EXPECT_EQ(rs.Fields("b").Value().ToString(), "dos");
    s.db.CierraRecordset(rs);
    EXPECT_EQ(rs.State(), adodb::kStateClosed);
    s.db.CierraRecordset(rs);  // closing a closed recordset does nothing
    EXPECT_EQ(rs.State(), adodb::kStateClosed);
}

struct ReportCase {
    int answer;
    int expectedState;
    std::size_t expectedExecutes;
};

TEST(AbrirRecordset, OperatorAnswersRetryIgnoreOrLeave) {
    const ReportCase cases[] = {
        {ui::kRetry, adodb::kStateOpen, 2},
        {ui::kIgnore, adodb::kStateClosed, 1},
        {ui::kAbort, adodb::kStateClosed, 1},
    };
    for (const ReportCase& c : cases) {
        PrompterScope p;
        p.prompter->Answer(c.answer);
        RecordingDb r("report");
        r.recorder->Enqueue(ScriptedReply::Fail(adodb::code::kNoTable, "No existe la tabla"));
        adodb::Recordset rs;
        r.db.AbrirRecordset(std::string("SELECT * FROM T"), rs);
        EXPECT_EQ(rs.State(), c.expectedState) << c.answer;
        EXPECT_EQ(r.recorder->Statements().size(), c.expectedExecutes) << c.answer;
        ASSERT_EQ(p.prompter->Boxes().size(), 1u);
        EXPECT_NE(p.prompter->Boxes()[0].prompt.find("No existe la tabla"), std::string::npos);
        EXPECT_NE(p.prompter->Boxes()[0].prompt.find("AbrirRecordset"), std::string::npos);
    }
}

TEST(AbrirRecordset, FailedTranslationSendsNothing) {
    PrompterScope p;
    p.prompter->Answer(ui::kIgnore);
    RecordingDb r("ora", dbtest::kOracleSource);
    adodb::Recordset rs;
    r.db.AbrirRecordset(std::string("SELECT TOP 10"), rs);
    EXPECT_EQ(rs.State(), adodb::kStateClosed);
    EXPECT_TRUE(r.recorder->Statements().empty());
    EXPECT_EQ(p.prompter->Boxes().size(), 1u);
}

}  // namespace
