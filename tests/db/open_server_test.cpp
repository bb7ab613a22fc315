#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "db/db_dll.h"
#include "db/scripted_connection_dialog.h"
#include "fixture_db.h"
#include "platform/adodb/error.h"
#include "platform/text/runtime_error.h"
#include "support/temp_dir.h"

namespace {

using db::ConnectionDialogScript;
using db::DB_Dll;
using db::DialogReply;
using dbtest::PrompterScope;

// A database object whose dialog answers from a script, and a fixture file with the users
// table to connect to.
struct OpenFixture {
    OpenFixture() {
        dbtest::CreateDatabase(path, dbtest::UsersTable());
        db.SetDialogFactory(dialog->Factory());
    }
    testsupport::TempDir dir;
    std::string path = dir.File("empresa.db");
    PrompterScope prompts;
    std::shared_ptr<ConnectionDialogScript> dialog = std::make_shared<ConnectionDialogScript>();
    DB_Dll db;
};

adodb::Error LoginFailed() {
    adodb::Error e;
    e.Number = adodb::code::kFail;
    e.Description = "Login failed for user 'ana'.";
    e.SQLState = "28000";
    e.NativeError = 18456;
    e.Source = "Recording";
    return e;
}

constexpr const char* kLoginFailedMessage =
    " Estado de Sql: 28000\rNumero de Error: -2147467259\rDescripcion: Login failed for user "
    "'ana'.\rCodigo Nativo: 18456\r - Desea Intentarlo Nuevamente??? ";

TEST(OpenServerADODB, BuildsTheSqlServerStringAndOpensIt) {
    OpenFixture f;
    f.db.gServidor = "SRV1";
    f.db.gDbName = f.path;
    f.db.gUsuario = "ana";
    f.db.OpenServerADODB();
    EXPECT_EQ(f.db.gProveedor, "SQLOLEDB");
    EXPECT_EQ(f.db.gConnString,
              "PROVIDER=SQLOLEDB;Server=SRV1;Database =" + f.path + ";UId=ana;Pwd=;");
    EXPECT_TRUE(f.db.gOpenFlag);
    EXPECT_EQ(f.db.gCnn.State(), adodb::kStateOpen);
    EXPECT_EQ(f.db.gCnn.CursorLocation(), adodb::kUseClient);
    EXPECT_TRUE(f.db.gEsAdmin);
    EXPECT_TRUE(f.dialog->Showings().empty());
    EXPECT_TRUE(f.prompts.prompter->Boxes().empty());
}

TEST(OpenServerADODB, OracleFormUsesTheDatabaseAsDataSource) {
    DB_Dll db;
    db.gProveedor = "OraOLEDB.Oracle.1";
    db.gServidor = "SRV1";
    db.gDbName = "ORCL";
    db.gUsuario = "ana";
    db.gUserPassWord = "pw";
    db.gExtended = "Extra=1;";
    PrompterScope p;
    p.prompter->Answer(ui::kNo);  // no Oracle driver here: the open fails
    db.OpenServerADODB(false, 3, "", false);
    EXPECT_EQ(db.gConnString,
              "Provider=OraOLEDB.Oracle.1;Data Source=ORCL;User Id=ana;Password=pw;");
    ASSERT_EQ(p.prompter->Boxes().size(), 1u);
    EXPECT_EQ(p.prompter->Boxes()[0].title, " Error de Conexion a Base de Datos");
    EXPECT_FALSE(db.gOpenFlag);
}

TEST(OpenServerADODB, AppendsTheExtendedTextUnchanged) {
    OpenFixture f;
    f.db.gDbName = f.path;
    f.db.gUsuario = "beto";
    f.db.gUserPassWord = "pw";
    f.db.gExtended = "Connect Timeout=5;";
    f.db.OpenServerADODB();
    EXPECT_EQ(f.db.gConnString, "PROVIDER=SQLOLEDB;Server=;Database =" + f.path +
                                    ";UId=beto;Pwd=pw;Connect Timeout=5;");
    EXPECT_TRUE(f.db.gOpenFlag);
    EXPECT_FALSE(f.db.gEsAdmin);
}

TEST(OpenServerADODB, GivenConnectionStringIsUsedUntouched) {
    auto recorder = std::make_shared<adodb::Recorder>();
    adodb::ScopedRecording scope("given", recorder);
    const std::string given = "  Provider=Recording;Name=given;Data Source=ORACLE  ";
    DB_Dll db;
    db.gProveedor = "MiProveedor";
    db.gServidor = "SRV1";
    db.OpenServerADODB(false, 2, given, false);
    EXPECT_EQ(db.gConnString, given);
    EXPECT_EQ(db.gProveedor, "MiProveedor");
    EXPECT_EQ(db.gCnn.State(), adodb::kStateOpen);
    EXPECT_EQ(db.gCnn.CursorLocation(), adodb::kUseServer);
    // ValidaAdmin false: administrator without asking the database.
    EXPECT_TRUE(db.gEsAdmin);
    EXPECT_TRUE(recorder->Statements().empty());
}

TEST(OpenServerADODB, DialogReplacesTheGivenString) {
    auto recorder = std::make_shared<adodb::Recorder>();
    adodb::ScopedRecording scope("given", recorder);
    OpenFixture f;
    f.db.gDbName = "EMPRESA";
    f.db.gServidor = "SRV1";
    f.db.gUsuario = "ana";
    f.db.gUserPassWord = "pw";
    f.dialog->Accept({.dbName = f.path, .server = "SRV2", .userId = "beto", .password = ""});
    f.db.OpenServerADODB(true, 3, scope.ConnectionString(), true);

    ASSERT_EQ(f.dialog->Showings().size(), 1u);
    const db::DialogShowing& shown = f.dialog->Showings()[0];
    EXPECT_EQ(shown.dbName, "EMPRESA");
    EXPECT_EQ(shown.server, "SRV1");
    EXPECT_EQ(shown.userId, "ana");
    EXPECT_EQ(shown.password, "pw");
    EXPECT_EQ(shown.platform, 0);
    EXPECT_TRUE(shown.unloaded);

    EXPECT_EQ(f.db.gConnString,
              "PROVIDER=SQLOLEDB;Server=SRV2;Database =" + f.path + ";UId=beto;Pwd=;");
    EXPECT_EQ(f.db.gUsuario, "beto");
    EXPECT_TRUE(f.db.gOpenFlag);
    EXPECT_EQ(f.db.gCnn.State(), adodb::kStateOpen);
    EXPECT_TRUE(recorder->Calls().empty());
    EXPECT_FALSE(f.db.gEsAdmin);
}

TEST(OpenServerADODB, CancelledDialogEndsWithoutConnectionOrMessage) {
    OpenFixture f;
    f.db.gDbName = f.path;
    f.dialog->Cancel();
    f.db.OpenServerADODB(true);
    EXPECT_FALSE(f.db.gOpenFlag);
    EXPECT_EQ(f.db.gCnn.State(), adodb::kStateClosed);
    EXPECT_TRUE(f.prompts.prompter->Boxes().empty());
    ASSERT_EQ(f.dialog->Showings().size(), 1u);
    EXPECT_TRUE(f.dialog->Showings()[0].unloaded);
}

TEST(OpenServerADODB, FirstPlatformKeepsAnEarlierOracleChoice) {
    OpenFixture f;
    f.db.gProveedor = "OraOLEDB.Oracle.1";
    f.dialog->Accept({.dbName = "ORCL", .platform = 0});
    f.prompts.prompter->Answer(ui::kNo);  // no Oracle driver here: the open fails
    f.db.OpenServerADODB(true);
    EXPECT_EQ(f.db.gProveedor, "OraOLEDB.Oracle.1");
    EXPECT_EQ(f.db.gConnString, "Provider=OraOLEDB.Oracle.1;Data Source=ORCL;User Id=;Password=;");
    EXPECT_FALSE(f.db.gOpenFlag);
}

TEST(OpenServerADODB, DialogPlatformAfterTheFirstSelectsOracle) {
    OpenFixture f;
    f.dialog->Accept({.dbName = "ORCL", .userId = "ana", .password = "pw", .platform = 1});
    f.prompts.prompter->Answer(ui::kNo);
    f.db.OpenServerADODB(true);
    EXPECT_EQ(f.db.gProveedor, "OraOLEDB.Oracle.1");
    EXPECT_EQ(f.db.gConnString,
              "Provider=OraOLEDB.Oracle.1;Data Source=ORCL;User Id=ana;Password=pw;");
}

TEST(OpenServerADODB, ConnectionErrorAnsweredYesRetriesThroughTheDialog) {
    auto recorder = std::make_shared<adodb::Recorder>();
    adodb::ScopedRecording scope("down", recorder);
    recorder->FailCall("Open", LoginFailed());
    OpenFixture f;
    f.db.gUsuario = "ana";
    f.prompts.prompter->Answer(ui::kYes);
    f.dialog->Accept({.dbName = f.path});
    f.db.OpenServerADODB(false, 3, scope.ConnectionString(), true);

    ASSERT_EQ(f.prompts.prompter->Boxes().size(), 1u);
    const ui::RecordedBox& box = f.prompts.prompter->Boxes()[0];
    EXPECT_EQ(box.prompt, kLoginFailedMessage);
    EXPECT_EQ(box.title, " Error de Conexion a Base de Datos");
    EXPECT_EQ(box.buttons, ui::Buttons::YesNo);
    EXPECT_EQ(box.icon, ui::Icon::Critical);

    EXPECT_EQ(f.dialog->Showings().size(), 1u);
    EXPECT_TRUE(f.db.gOpenFlag);
    EXPECT_EQ(f.db.gCnn.State(), adodb::kStateOpen);
    EXPECT_EQ(f.db.gConnString, "PROVIDER=SQLOLEDB;Server=;Database =" + f.path + ";UId=ana;Pwd=;");
    EXPECT_EQ(f.db.gCnn.Errors().Count(), 0);
    EXPECT_TRUE(f.db.gEsAdmin);
}

TEST(OpenServerADODB, ConnectionErrorRetriedUntilTheOperatorCancels) {
    auto recorder = std::make_shared<adodb::Recorder>();
    adodb::ScopedRecording scope("down", recorder);
    recorder->FailCall("Open", LoginFailed());
    OpenFixture f;
    f.db.gProveedor = "Recording;Name=down";  // the rebuilt string still reaches the recorder
    f.prompts.prompter->Answer(ui::kYes);
    f.prompts.prompter->Answer(ui::kYes);
    f.dialog->Accept();
    f.dialog->Cancel();
    f.db.OpenServerADODB(false, 3, scope.ConnectionString(), true);

    EXPECT_EQ(f.prompts.prompter->Boxes().size(), 2u);
    EXPECT_EQ(f.dialog->Showings().size(), 2u);
    EXPECT_FALSE(f.db.gOpenFlag);
    EXPECT_EQ(f.db.gCnn.State(), adodb::kStateClosed);
    EXPECT_EQ(recorder->Calls(), (std::vector<std::string>{"Open", "Open"}));
}

TEST(OpenServerADODB, ConnectionErrorAnsweredNoEnds) {
    auto recorder = std::make_shared<adodb::Recorder>();
    adodb::ScopedRecording scope("down", recorder);
    recorder->FailCall("Open", LoginFailed());
    OpenFixture f;
    f.prompts.prompter->Answer(ui::kNo);
    f.db.OpenServerADODB(false, 3, scope.ConnectionString(), true);
    EXPECT_FALSE(f.db.gOpenFlag);
    EXPECT_EQ(f.db.gCnn.State(), adodb::kStateClosed);
    EXPECT_TRUE(f.dialog->Showings().empty());
    EXPECT_EQ(f.prompts.prompter->Boxes().size(), 1u);
}

// A dialog that cannot be shown: a failure that leaves nothing in the error collection.
class BrokenDialog : public db::ConnectionDialog {
  public:
    void SetBoxes(const std::string&, const std::string&, const std::string&,
                  const std::string&) override {}
    void SelectPlatform(int) override {}
    void ShowModal() override { throw text::RuntimeError(7, "Memoria insuficiente"); }
    bool Aceptar() const override { return true; }
    std::string DbName() const override { return {}; }
    std::string Server() const override { return {}; }
    std::string UserId() const override { return {}; }
    std::string Password() const override { return {}; }
    int SelectedPlatform() const override { return 0; }
};

TEST(OpenServerADODB, FailureWithoutConnectionErrorsShowsItAndReportsNoConnection) {
    PrompterScope p;
    p.prompter->Answer(ui::kOK);
    DB_Dll db;
    db.SetDialogFactory([] { return std::make_unique<BrokenDialog>(); });
    db.OpenServerADODB(true);
    ASSERT_EQ(p.prompter->Boxes().size(), 1u);
    EXPECT_EQ(p.prompter->Boxes()[0].prompt, "Memoria insuficiente");
    EXPECT_EQ(p.prompter->Boxes()[0].title, "");
    EXPECT_EQ(p.prompter->Boxes()[0].buttons, ui::Buttons::OK);
    EXPECT_EQ(db.gCnn.State(), adodb::kStateClosed);
    EXPECT_FALSE(db.gOpenFlag);
}

struct AdminCase {
    std::string columnType;
    std::string anaValue;  // SQL literal
    std::string login;
    bool expected;
};

TEST(OpenServerADODB, AdministratorFlagFromTheUsersTable) {
    const AdminCase cases[] = {
        {"INT", "1", "ana", true},
        {"INT", "1", " ANA ", true},  // trimmed, letter case ignored
        {"INT", "0", "ana", false},
        {"INT", "NULL", "ana", false},
        {"VARCHAR(5)", "'1'", "ana", true},
        {"VARCHAR(5)", "'abc'", "ana", false},
        {"INT", "1", "nadie", false},
    };
    for (const AdminCase& c : cases) {
        testsupport::TempDir dir;
        const std::string path = dir.File("usuarios.db");
        dbtest::CreateDatabase(path, dbtest::UsersTable(c.columnType, c.anaValue));
        DB_Dll db;
        db.gDbName = path;
        db.gUsuario = c.login;
        db.OpenServerADODB();
        EXPECT_TRUE(db.gOpenFlag);
        EXPECT_EQ(db.gEsAdmin, c.expected) << c.columnType << " " << c.anaValue << " " << c.login;
    }
}

}  // namespace
