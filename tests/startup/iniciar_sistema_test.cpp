#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>

#include "clientlib/settings.h"
#include "clientlib/utility_services.h"
#include "db/db_dll.h"
#include "db/scripted_connection_dialog.h"
#include "demo/generator.h"
#include "lookup/expected_catalogue.h"
#include "lookup/lib_clscons3.h"
#include "platform/text/strings.h"
#include "platform/ui/scripted_prompter.h"
#include "startup/connection_dialog_setup.h"
#include "startup/database_fixture.h"
#include "startup/frm_acceso.h"
#include "startup/globals.h"
#include "startup/mod_global.h"
#include "startup/program_folder.h"
#include "startup/startup_state.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// The start-up against a demo-size database of the suite, with its own program folder and
// user configuration folder, the program's exit observed instead of taken.
class IniciarSistemaTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        demoDir_ = std::make_unique<testsupport::TempDir>();
        demoPath_ = demoDir_->File("demo.db");
        demo::GeneratorOptions options;
        options.scale = demo::kMinimumScale;
        demo::GenerateDemoDatabase(demoPath_, options);
    }
    static void TearDownTestSuite() { demoDir_.reset(); }

    void SetUp() override {
        startup::ResetForTests();
        startup::SetProgramFolder(dir.Path().string());
        startup::SetExitHandler([this](int status) { exitStatus = status; });
        startup::SetConnectionDialogFactory(dialogs->Factory());
        if (const char* xdg = std::getenv("XDG_CONFIG_HOME")) savedXdg = xdg;
        setenv("XDG_CONFIG_HOME", dir.File("config").c_str(), 1);
    }

    void TearDown() override {
        startup::ResetForTests();
        if (savedXdg) {
            setenv("XDG_CONFIG_HOME", savedXdg->c_str(), 1);
        } else {
            unsetenv("XDG_CONFIG_HOME");
        }
    }

    // The program's own arguments, as main would hand them over.
    void SetArguments(std::vector<std::string> args) {
        arguments = std::move(args);
        arguments.insert(arguments.begin(), "depuraciones");
        argv.clear();
        for (std::string& a : arguments) argv.push_back(a.data());
        startup::SetCommandLine(static_cast<int>(argv.size()), argv.data());
    }

    void Start(bool leerIni = false, const std::string& parametros = "") {
        startup::IniciarSistema(leerIni, parametros, cadenaConexion);
    }

    std::string Catalogue() const { return dir.File("consultas.ovl"); }

    static std::string Section() {
        const clientlib::StationInfo station;
        return text::ToUpper(station.FirstIdentity()) + "|" +
               text::ToUpper(station.SecondIdentity());
    }

    static inline std::unique_ptr<testsupport::TempDir> demoDir_;
    static inline std::string demoPath_;

    testsupport::TempDir dir;
    std::shared_ptr<ui::ScriptedPrompter> prompter = std::make_shared<ui::ScriptedPrompter>();
    ui::ScopedPrompter scopedPrompter{prompter};
    std::optional<int> exitStatus;
    // Connection dialogs are answered from this script; an unexpected one fails the test.
    std::shared_ptr<db::ConnectionDialogScript> dialogs =
        std::make_shared<db::ConnectionDialogScript>();
    std::optional<std::string> savedXdg;
    std::vector<std::string> arguments;
    std::vector<char*> argv;
    std::string cadenaConexion;
};

TEST_F(IniciarSistemaTest, CommandLineStartOpensAndPreparesTheServices) {
    SetArguments({"@Server=red/local:1433;", "@DbName=" + demoPath_ + ";", "@Usuario=operador;",
                  "@Password=secreto;", "@UsuarioLogeado=OTRO;", "@Menu=M2;", "@Caja=3;"});
    Start();

    const db::DB_Dll& database = db::Db();
    EXPECT_FALSE(exitStatus.has_value());
    EXPECT_TRUE(dialogs->Showings().empty());
    ASSERT_TRUE(database.gOpenFlag);
    EXPECT_EQ(database.gCnn.State(), adodb::kStateOpen);
    EXPECT_EQ(database.gCnn.CommandTimeout(), 360);
    EXPECT_EQ(database.gServidor, "local");
    EXPECT_EQ(database.gConnString, "PROVIDER=SQLOLEDB;Server=local;Database =" + demoPath_ +
                                        ";UId=operador;Pwd=secreto;");
    EXPECT_EQ(startup::gUsuarioLogeado, "operador");  // the database object's user wins
    EXPECT_EQ(startup::gMenu, "M2");
    EXPECT_EQ(startup::gCaja, "3");
    EXPECT_EQ(startup::gParametroAdicional, "");
    EXPECT_EQ(startup::gCadenaDSN, "DSN=" + demoPath_ + "; UID=operador; PWD=secreto");
    EXPECT_EQ(startup::gSeccionIni, Section());
    EXPECT_EQ(startup::gFlatToolbars, 1.0);
    EXPECT_EQ(clientlib::ApplicationContext::ApplicationFolder(), dir.Path().string() + "/");

    // The password no longer shows in the process's arguments, nor its length.
    EXPECT_EQ(std::string(arguments[4].c_str()), "@Password;");

    const lookup::Lib_ClsCons3& consultas = lookup::ClsCons3();
    EXPECT_EQ(consultas.gConnString, database.gConnString);
    EXPECT_TRUE(consultas.gUsarMascarasConsultas);
    EXPECT_EQ(consultas.gRutaMascaraConsultas, Catalogue());
    EXPECT_EQ(ReadBytes(Catalogue()), testsupport::DefaultCatalogueBytes());

    EXPECT_TRUE(startup::gConfigCargada);
    EXPECT_EQ(startup::gTablaConfig, "ta_configuracion");
    EXPECT_EQ(startup::gUNegocio, "   2");
    EXPECT_EQ(startup::gRutaDocTareas, dir.Path().string() + "/OVDOCTareas.ovl");

    // A second start-up on the open object neither reconnects nor writes the catalogue again.
    Start(false, "@Server=otro;@Usuario=otro;@Caja=9;");
    EXPECT_EQ(db::Db().gUsuario, "operador");
    EXPECT_EQ(startup::gCaja, "3");
    EXPECT_EQ(startup::gCadenaDSN, "DSN=" + demoPath_ + "; UID=operador; PWD=secreto");
    EXPECT_EQ(ReadBytes(Catalogue()).size(), 9616u);
    EXPECT_TRUE(prompter->Boxes().empty());
}

TEST_F(IniciarSistemaTest, ExistingCatalogueIsLeftUntouched) {
    std::ofstream(Catalogue(), std::ios::binary) << "mine";
    Start(false, "@Server=local;@DbName=" + demoPath_ + ";@Usuario=operador;@Password=;");
    EXPECT_TRUE(db::Db().gOpenFlag);
    EXPECT_EQ(ReadBytes(Catalogue()), "mine");
}

TEST_F(IniciarSistemaTest, CatalogueThatCannotBeWrittenDoesNotStopTheStart) {
    startup::SetProgramFolder(dir.File("missing"));
    Start(false, "@Server=local;@DbName=" + demoPath_ + ";@Usuario=operador;@Password=;");
    EXPECT_TRUE(db::Db().gOpenFlag);
    EXPECT_FALSE(fs::exists(dir.File("missing")));
    EXPECT_TRUE(startup::gConfigCargada);
    EXPECT_FALSE(exitStatus.has_value());
}

TEST_F(IniciarSistemaTest, WithoutServerTheDialogIsShownAndCancellingEndsTheProgram) {
    dialogs->Cancel();
    Start();
    ASSERT_EQ(dialogs->Showings().size(), 1u);
    EXPECT_TRUE(dialogs->Showings()[0].shown);
    EXPECT_EQ(exitStatus, startup::kExitNoConnection);
    EXPECT_TRUE(startup::ProgramEnded());
    EXPECT_FALSE(db::Db().gOpenFlag);
    EXPECT_FALSE(startup::gConfigCargada);
    EXPECT_EQ(startup::gCadenaDSN, "");
    EXPECT_FALSE(fs::exists(Catalogue()));
    EXPECT_TRUE(prompter->Boxes().empty());
}

TEST_F(IniciarSistemaTest, TheQtDialogIsUsedUnlessAnotherWasChosen) {
    startup::SetConnectionDialogFactory({});
    bool filled = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dialog = dynamic_cast<startup::frmAcceso*>(QApplication::activeModalWidget());
        if (dialog == nullptr || filled) return;
        filled = true;
        dialog->TxtDbName->setText(QString::fromStdString(demoPath_));
        dialog->TxtServidor->setText("local");
        dialog->TxtUserId->setText("admin");
        dialog->bcAceptar->click();
    });
    poll.start(10);
    Start();
    poll.stop();

    EXPECT_TRUE(filled);
    EXPECT_FALSE(exitStatus.has_value());
    ASSERT_TRUE(db::Db().gOpenFlag);
    EXPECT_TRUE(db::Db().gEsAdmin);
    EXPECT_EQ(startup::gUsuarioLogeado, "admin");
    EXPECT_TRUE(startup::gConfigCargada);
}

TEST_F(IniciarSistemaTest, EmptyDatabaseNameLoadsNoSettings) {
    cadenaConexion = testsupport::EmbeddedConnectionString(demoPath_, "operador");
    Start(false, "@Server=local;@Usuario=operador;@Password=;");
    ASSERT_TRUE(db::Db().gOpenFlag);
    EXPECT_EQ(db::Db().gConnString, cadenaConexion);
    EXPECT_EQ(startup::gCadenaDSN, "DSN=; UID=operador; PWD=");
    EXPECT_FALSE(startup::gConfigCargada);
    EXPECT_EQ(startup::gUNegocio, "");
}

TEST_F(IniciarSistemaTest, IniFileSuppliesTheParametersWhenAsked) {
    const clientlib::UtilityServices utils;
    fs::create_directories(dir.File("config/depuraciones"));
    std::ofstream(dir.File("config/depuraciones/CN000pr.INI"), std::ios::binary)
        << "[" << Section() << "]\r\nFlatToolbars=0\r\n"
        << "[" << Section() << "BaseDeDatos]\r\nServidor=lo|cal\r\nDbName=" << demoPath_
        << "\r\nUsuario=" << utils.EncodeStored("oper|ador")
        << "\r\nUserPassWord=" << utils.EncodeStored("pw") << "\r\n";
    Start(true);

    EXPECT_TRUE(dialogs->Showings().empty());
    ASSERT_TRUE(db::Db().gOpenFlag);
    EXPECT_EQ(db::Db().gServidor, "local");
    EXPECT_EQ(db::Db().gUserPassWord, "pw");
    EXPECT_EQ(startup::gUsuarioLogeado, "operador");
    EXPECT_EQ(startup::gCaja, "1");
    EXPECT_EQ(startup::gFlatToolbars, 0.0);
}

TEST_F(IniciarSistemaTest, OracleServerOpensThroughItsOwnConnectionString) {
    prompter->Answer(ui::kNo);  // no Oracle here: the connection error is not retried
    Start(false, "@Server=#ORCL;@DbName=PROD;@Usuario=ana;@Password=pw;");
    EXPECT_TRUE(dialogs->Showings().empty());
    EXPECT_EQ(cadenaConexion,
              "Provider=OraOLEDB.Oracle.1;Data Source=PROD;User Id=ana;Password=pw;");
    EXPECT_EQ(db::Db().gConnString, cadenaConexion);
    EXPECT_EQ(db::Db().gServidor, "ORCL");
    EXPECT_EQ(exitStatus, startup::kExitNoConnection);
}

}  // namespace
