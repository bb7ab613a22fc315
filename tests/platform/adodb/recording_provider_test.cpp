// The recording provider, and the Connection/Recordset behaviour that needs no database:
// the error collection's life cycle, closed objects, and write-back through ApplyChange.
#include "platform/adodb/recording/recording_provider.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "platform/adodb/connection.h"

namespace {

using adodb::ComError;
using adodb::Connection;
using adodb::Recorder;
using adodb::Recordset;
using adodb::ScriptedReply;
using adodb::Variant;
namespace code = adodb::code;

std::int32_t ErrorNumberOf(const std::function<void()>& op) {
    try {
        op();
    } catch (const ComError& e) {
        return e.Number();
    }
    return 0;
}

class RecordingTest : public ::testing::Test {
  protected:
    std::shared_ptr<Recorder> rec_ = std::make_shared<Recorder>();
    adodb::ScopedRecording scope_{"ora", rec_};
    Connection conn_;

    void Open() {
        conn_.Open("Provider=Recording;Name=ora;Data Source=ORACLE1;User Id=u;Password=p;");
    }
};

TEST_F(RecordingTest, RecordsEveryCallInOrderWithTheStatementTextAsSent) {
    Open();
    conn_.BeginTrans();
    long affected = 0;
    conn_.Execute("DELETE  mv_asientos WHERE FECHA <= '31/12/2004' ", &affected);
    conn_.CommitTrans();
    conn_.BeginTrans();
    conn_.RollbackTrans();
    conn_.Close();
    EXPECT_EQ(rec_->Calls(),
              (std::vector<std::string>{"Open", "BeginTrans",
                                        "Execute: DELETE  mv_asientos WHERE FECHA <= '31/12/2004' ",
                                        "CommitTrans", "BeginTrans", "RollbackTrans", "Close"}));
    EXPECT_NE(rec_->LastConnectionString().find("ORACLE"), std::string::npos);
    EXPECT_EQ(conn_.ConnectionString(),
              "Provider=Recording;Name=ora;Data Source=ORACLE1;User Id=u;Password=p;");
}

TEST_F(RecordingTest, AnswersFromTheQueueThenPatternsThenTheDefault) {
    rec_->When("from mv_ejercicios",
               ScriptedReply::Rows(adodb::MakeResult({"PERIODO", "DESCRIPCION"},
                                                     {{std::int32_t{2004}, "Ejercicio 2004"},
                                                      {std::int32_t{2005}, Variant::Null()}})));
    rec_->Enqueue(ScriptedReply::Affected(7));
    Open();

    long affected = 0;
    conn_.Execute("SELECT * FROM MV_EJERCICIOS", &affected);  // the queue comes first
    EXPECT_EQ(affected, 7);

    Recordset rs;
    rs.Open("SELECT * FROM MV_EJERCICIOS WHERE CIERRE = 1", conn_);
    EXPECT_EQ(rs.RecordCount(), 2);
    EXPECT_EQ(rs.Fields("periodo").Value().ToLong(), 2004);
    EXPECT_EQ(rs.Fields("PERIODO").Type(), adodb::dtype::kInteger);
    rs.MoveNext();
    EXPECT_TRUE(rs.Fields("DESCRIPCION").Value().IsNull());

    Recordset empty = conn_.Execute("select 1 from dual");
    EXPECT_TRUE(empty.EOF() && empty.BOF());
    conn_.Execute("UPDATE X SET A = 1", &affected);
    EXPECT_EQ(affected, 0);
    EXPECT_EQ(rec_->Statements().size(), 4u);
}

TEST_F(RecordingTest, AScriptedFailureFillsErrorsUntilTheNextOperation) {
    adodb::Error second;
    second.Number = code::kFail;
    second.Description = "segundo mensaje";
    ScriptedReply reply = ScriptedReply::Fail(code::kIntegrity, "clave duplicada");
    reply.errors.push_back(second);
    rec_->When("INSERT", reply);
    Open();

    try {
        conn_.Execute("INSERT INTO T VALUES (1)");
        FAIL();
    } catch (const ComError& e) {
        EXPECT_EQ(e.Number(), code::kIntegrity);
        EXPECT_EQ(e.Description(), "clave duplicada");
    }
    ASSERT_EQ(conn_.Errors().Count(), 2);
    EXPECT_EQ(conn_.Errors().Item(0).Number, code::kIntegrity);
    EXPECT_EQ(conn_.Errors().Item(1).Description, "segundo mensaje");
    EXPECT_EQ(ErrorNumberOf([&] { conn_.Errors().Item(2); }), code::kItemNotFound);

    // Client-side reads do not touch the collection; the next statement clears it.
    Recordset rs = conn_.Execute("SELECT 1");
    EXPECT_EQ(ErrorNumberOf([&] { rs.Fields("X"); }), code::kItemNotFound);
    EXPECT_EQ(conn_.Errors().Count(), 0);
    EXPECT_EQ(ErrorNumberOf([&] { conn_.Execute("INSERT INTO T VALUES (1)"); }), code::kIntegrity);
    EXPECT_EQ(ErrorNumberOf([&] { rs.Fields("X"); }), code::kItemNotFound);
    EXPECT_EQ(conn_.Errors().Count(), 2);
}

TEST_F(RecordingTest, FailedCallsAndFailedOpensAreRecordedAndRaised) {
    adodb::Error refused;
    refused.Number = code::kFail;
    refused.SQLState = "08001";
    refused.Description = "servidor inaccesible";
    rec_->FailCall("Open", refused);
    EXPECT_EQ(ErrorNumberOf([&] { Open(); }), code::kFail);
    EXPECT_EQ(conn_.State(), adodb::kStateClosed);
    ASSERT_EQ(conn_.Errors().Count(), 1);
    EXPECT_EQ(conn_.Errors().Item(0).SQLState, "08001");

    rec_->ClearFailure("Open");
    rec_->FailCall("CommitTrans", refused);
    Open();
    conn_.BeginTrans();
    EXPECT_EQ(ErrorNumberOf([&] { conn_.CommitTrans(); }), code::kFail);
    EXPECT_EQ(conn_.Errors().Count(), 1);
}

TEST_F(RecordingTest, ClosedObjectsRaiseTheirErrors) {
    Recordset rs;
    const std::vector<std::pair<std::string, std::function<void()>>> onClosedRecordset = {
        {"BOF", [&] { (void)rs.BOF(); }},       {"EOF", [&] { (void)rs.EOF(); }},
        {"MoveFirst", [&] { rs.MoveFirst(); }}, {"MoveNext", [&] { rs.MoveNext(); }},
        {"AddNew", [&] { rs.AddNew(); }},       {"GetRows", [&] { rs.GetRows(); }},
        {"Close", [&] { rs.Close(); }},
    };
    for (const auto& [name, op] : onClosedRecordset) {
        EXPECT_EQ(ErrorNumberOf(op), code::kOperationNotAllowedClosed) << name;
    }
    EXPECT_EQ(rs.RecordCount(), -1);
    EXPECT_EQ(rs.State(), adodb::kStateClosed);

    EXPECT_EQ(ErrorNumberOf([&] { conn_.Execute("SELECT 1"); }), 3709);
    EXPECT_EQ(ErrorNumberOf([&] { rs.Open("SELECT 1", conn_); }), 3709);
    EXPECT_EQ(ErrorNumberOf([&] { conn_.Close(); }), code::kOperationNotAllowedClosed);
    EXPECT_EQ(conn_.Errors().Count(), 1);

    Open();
    EXPECT_EQ(ErrorNumberOf([&] { Open(); }), 3705);
    EXPECT_EQ(conn_.State(), adodb::kStateOpen);
}

TEST_F(RecordingTest, AStringNamingNoProviderIsAConnectionError) {
    const std::vector<std::string> unusable = {
        "Provider=Recording;Name=nadie;",
        "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=x.mdb;",
        "Server=x;Database=y;",
    };
    for (const auto& cs : unusable) {
        Connection c;
        EXPECT_NE(ErrorNumberOf([&] { c.Open(cs); }), 0) << cs;
        ASSERT_EQ(c.Errors().Count(), 1) << cs;
        EXPECT_EQ(c.Errors().Item(0).SQLState, "08001") << cs;
        EXPECT_EQ(c.State(), adodb::kStateClosed);
    }
}

TEST_F(RecordingTest, DefaultDatabaseReachesAnOpenProviderOnly) {
    conn_.SetDefaultDatabase("antes");
    Open();
    conn_.SetDefaultDatabase("GESTION");
    EXPECT_EQ(conn_.DefaultDatabase(), "GESTION");
    EXPECT_EQ(rec_->Calls(), (std::vector<std::string>{"Open", "SetDefaultDatabase: GESTION"}));

    // A refusal is recorded, not raised.
    adodb::Error e;
    e.Number = code::kFail;
    e.Description = "no existe la base";
    rec_->FailCall("SetDefaultDatabase: OTRA", e);
    conn_.SetDefaultDatabase("OTRA");
    EXPECT_EQ(conn_.Errors().Count(), 1);
}

// Write-back through ApplyChange, seen from the provider's side.
class RecordingUpdateTest : public RecordingTest {
  protected:
    void SetUp() override {
        adodb::ResultSet config = adodb::MakeResult(
            {"CLAVE", "VALOR", "GRUPO"},
            {{"fechaoperdesde", "01/01/2004", "DATOS"}, {"fechaoperhasta", "31/12/2004", "DATOS"}});
        config.baseTable = "TA_CONFIGURACION";
        config.keyColumns = {"CLAVE"};
        rec_->When("TA_CONFIGURACION", ScriptedReply::Rows(config));
        adodb::ResultSet keyless = adodb::MakeResult({"A", "B"}, {{"x", Variant::Null()}});
        keyless.baseTable = "SIN_CLAVE";
        rec_->When("SIN_CLAVE", ScriptedReply::Rows(keyless));
        Open();
    }

    Recordset OpenConfig() {
        Recordset rs;
        rs.Open("SELECT * FROM TA_CONFIGURACION", conn_, 2, 3);
        return rs;
    }
};

TEST_F(RecordingUpdateTest, AnUpdateSendsOnlyChangedFieldsKeyedByTheOriginalKey) {
    Recordset rs = OpenConfig();
    rs.Fields("VALOR").SetValue("01/01/1900");
    rs.Fields("GRUPO").SetValue("DATOS");  // same value: not sent
    rs.Fields("CLAVE").SetValue("FECHAOPERDESDE");
    rs.Update();
    const auto changes = rec_->Changes();
    ASSERT_EQ(changes.size(), 1u);
    const adodb::RowChange& c = changes[0];
    EXPECT_EQ(c.kind, adodb::RowChange::Kind::Update);
    EXPECT_EQ(c.table, "TA_CONFIGURACION");
    EXPECT_EQ(c.setColumns, (std::vector<std::string>{"CLAVE", "VALOR"}));
    EXPECT_EQ(c.setValues, (std::vector<Variant>{"FECHAOPERDESDE", "01/01/1900"}));
    EXPECT_EQ(c.whereColumns, (std::vector<std::string>{"CLAVE"}));
    EXPECT_EQ(c.whereValues, (std::vector<Variant>{"fechaoperdesde"}));

    // Moving away writes a pending change first; an unchanged row writes nothing.
    rs.MoveNext();
    rs.Fields("VALOR").SetValue("31/12/2005");
    rs.MoveFirst();
    EXPECT_EQ(rec_->Changes().size(), 2u);
    rs.Update();
    EXPECT_EQ(rec_->Changes().size(), 2u);
}

TEST_F(RecordingUpdateTest, WithoutAKeyEveryOriginalValueFindsTheRowAndOnlyOneMayChange) {
    Recordset rs;
    rs.Open("SELECT * FROM SIN_CLAVE", conn_, 0, 3);
    rs.Fields("A").SetValue("y");
    rs.Update();
    const adodb::RowChange c = rec_->Changes().at(0);
    EXPECT_EQ(c.whereColumns, (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(c.whereValues, (std::vector<Variant>{"x", Variant::Null()}));

    rec_->SetApplyChangeResult(2);
    rs.Fields("A").SetValue("z");
    EXPECT_EQ(ErrorNumberOf([&] { rs.Update(); }), code::kFail);
    EXPECT_EQ(conn_.Errors().Count(), 1);
}

TEST_F(RecordingUpdateTest, ARowThatVanishedStaysPendingAndFailsAgain) {
    rec_->SetApplyChangeResult(0);
    Recordset rs = OpenConfig();
    rs.Fields("VALOR").SetValue("x");
    EXPECT_EQ(ErrorNumberOf([&] { rs.Update(); }), code::kRowVanished);
    EXPECT_EQ(ErrorNumberOf([&] { rs.Update(); }), code::kRowVanished);
    EXPECT_EQ(ErrorNumberOf([&] { rs.MoveNext(); }), code::kRowVanished);
    rs.Close();  // discards the change
    EXPECT_EQ(rec_->Changes().size(), 3u);
}

TEST_F(RecordingUpdateTest, AddNewInsertsOnlyTheFieldsGiven) {
    Recordset rs = OpenConfig();
    rs.AddNew();
    EXPECT_EQ(rs.RecordCount(), 3);
    EXPECT_TRUE(rs.Fields("VALOR").Value().IsNull());
    rs.Fields("CLAVE").SetValue("FECHAULTIMADEPURACION");
    rs.Fields("VALOR").SetValue("31/12/2004");
    rs.Update();
    const adodb::RowChange c = rec_->Changes().at(0);
    EXPECT_EQ(c.kind, adodb::RowChange::Kind::Insert);
    EXPECT_EQ(c.setColumns, (std::vector<std::string>{"CLAVE", "VALOR"}));
    EXPECT_TRUE(c.whereColumns.empty());
    EXPECT_EQ(rec_->Calls().back(), "Insert: TA_CONFIGURACION");
}

TEST_F(RecordingUpdateTest, OnlySingleTableResultsOpenedForChangesAreUpdatable) {
    rec_->When("JOIN", ScriptedReply::Rows(adodb::MakeResult({"A"}, {{"x"}})));
    Recordset joined;
    joined.Open("SELECT A FROM T JOIN U ON 1=1", conn_, 0, 3);
    EXPECT_EQ(ErrorNumberOf([&] { joined.Fields("A").SetValue("y"); }), code::kNotSupported);

    Recordset readOnly;
    readOnly.Open("SELECT * FROM TA_CONFIGURACION", conn_);
    EXPECT_EQ(ErrorNumberOf([&] { readOnly.Fields("VALOR").SetValue("y"); }), code::kNotSupported);
    EXPECT_EQ(ErrorNumberOf([&] { readOnly.AddNew(); }), code::kNotSupported);
}

}  // namespace
