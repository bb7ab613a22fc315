#include <gtest/gtest.h>

#include <memory>

#include "db/db_dll.h"
#include "platform/text/regional.h"
#include "platform/ui/scripted_prompter.h"
#include "startup/database_fixture.h"
#include "startup/globals.h"
#include "startup/mod_global.h"
#include "startup/startup_state.h"
#include "support/temp_dir.h"

namespace {

using testsupport::ConfigRow;
using testsupport::UserRow;

// A database of the suite holding the given configuration and users, opened on the
// program's database object; message boxes answered from a script (none expected unless
// queued).
class Configuracion : public ::testing::Test {
  protected:
    void SetUp() override {
        startup::ResetForTests();
        text::RegionalSettings::SetCurrent(*text::RegionalSettings::Parse("DMY,/,.,,"));
    }
    void TearDown() override {
        startup::ResetForTests();
        text::RegionalSettings::SetCurrent(savedRegional);
    }

    void Open(const std::vector<ConfigRow>& config, const std::vector<UserRow>& users = {}) {
        testsupport::CreateStartupDatabase(path, config, users);
        ASSERT_TRUE(testsupport::OpenProgramDatabase(path, "ana"));
    }

    // Records from now on every statement sent to the database.
    void TraceStatements() {
        traced = std::make_shared<std::vector<std::string>>();
        db::Db().gCnn.SetStatementTrace(
            [statements = traced](const std::string& s) { statements->push_back(s); });
    }

    testsupport::TempDir dir;
    std::string path = dir.File("empresa.db");
    std::shared_ptr<ui::ScriptedPrompter> prompter = std::make_shared<ui::ScriptedPrompter>();
    ui::ScopedPrompter scopedPrompter{prompter};
    std::shared_ptr<std::vector<std::string>> traced;
    text::RegionalSettings savedRegional = text::RegionalSettings::Current();
};

TEST_F(Configuracion, ReaderGivesValueAndValorAux) {
    Open({{"PERIODO", "2004", "aux"},
          {"NULO", std::nullopt, std::nullopt},
          {"O'Brien", "irlandes", ""}});
    std::string aux = "previo";
    EXPECT_EQ(startup::LeerConfiguracion("  periodo ", aux), "2004");
    EXPECT_EQ(aux, "aux");
    EXPECT_EQ(startup::LeerConfiguracion("NO_EXISTE", aux), " ");
    EXPECT_EQ(aux, "");
    EXPECT_EQ(startup::LeerConfiguracion("NULO", aux), "");
    // A quote in the key is doubled in the statement, so it reads its row like any other.
    EXPECT_EQ(startup::LeerConfiguracion("O'Brien"), "irlandes");
    EXPECT_TRUE(prompter->Boxes().empty());
    EXPECT_EQ(startup::gTablaConfig, "TA_CONFIGURACION");  // a blank table name gets the default
}

TEST_F(Configuracion, DateKeysUpperCaseTheWholeStatement) {
    Open({{"[FECHA HASTA]", "31/12/2004", ""}, {"Periodo", "1", ""}});
    startup::gTablaConfig = "ta_configuracion";
    TraceStatements();
    EXPECT_EQ(startup::LeerConfiguracion("[fecha hasta]"), "31/12/2004");
    EXPECT_EQ(startup::LeerConfiguracion("Periodo"), "1");
    EXPECT_EQ(*traced,
              (std::vector<std::string>{
                  "SELECT VALOR, VALORAUX FROM TA_CONFIGURACION WHERE CLAVE = '[FECHA HASTA]'",
                  "SELECT VALOR, valoraux FROM ta_configuracion WHERE CLAVE = 'Periodo'"}));
}

TEST_F(Configuracion, ReaderErrorsGoToTheOperator) {
    Open({{"PERIODO", "2004", ""}});
    startup::gTablaConfig = "TA_NO_EXISTE";

    // Abort leaves the reader with an empty result.
    prompter->Answer(ui::kAbort);  // the failed open
    prompter->Answer(ui::kAbort);  // the reader's own report
    EXPECT_EQ(startup::LeerConfiguracion("PERIODO"), "");
    ASSERT_EQ(prompter->Boxes().size(), 2u);
    EXPECT_NE(prompter->Boxes()[1].prompt.find("Cfg"), std::string::npos);
    EXPECT_EQ(prompter->Boxes()[1].title, "Aviso al operador");

    // Ignore skips each failing step: there is no row to read, yet it is not "no row" either.
    prompter->Clear();
    for (int i = 0; i < 4; ++i) prompter->Answer(ui::kIgnore);
    std::string aux = "previo";
    EXPECT_EQ(startup::LeerConfiguracion("PERIODO", aux), "");
    EXPECT_EQ(aux, "previo");
    EXPECT_EQ(prompter->PendingAnswers(), 0u);
}

TEST_F(Configuracion, SettingsFromAMixOfValues) {
    Open({{"MostrarStockenConsultas", "si", ""},
          {"TituloClientes", "  Clientes  ", ""},
          {"TituloProveedores", std::nullopt, ""},
          {"EXIGECLAVECONSULTALIKEARTICULOS", "SI ", ""},
          {"UsaConsultaLike", "Si", ""},
          {"CantidadDecimales", " 2 ", ""},
          {"UsaFacturaProforma", "NO", ""},
          {"USACCOSTO", "si", ""},
          {"UNIDADDEMEDIDA_M3", " M3", ""},
          {"UNIDADDEMEDIDA_KG", "kg", ""},
          {"PERIODO", "2.5", ""},
          {"VALIDACODIGOBARRA", " si ", ""},
          {"CFondo", "0", ""},
          {"CLetra", "255", ""},
          {"ModuloOrdenDeTrabajo", " NO", ""},
          {"V_ModificaCPrecio", " NO", ""},
          {"C_ModificaCPrecio", "no", ""},
          {"MADERERA", "x", ""},
          {"MAD_TIRAS", " T ", ""},
          {"MAD_P2", "p2", ""},
          {"MAD_ML", std::nullopt, ""},
          {"MAD_M2_P2", "m2p2", ""},
          {"CuentaCtroDist", " 1.1.01 ", ""},
          {"MaxDto", " 12,5 ", ""}},
         {{"ana", 0, "2"}});
    startup::gUsuarioLogeado = "ana";
    startup::CargarConfiguracion("/programa/");

    using namespace startup;
    EXPECT_EQ(gTablaConfig, "ta_configuracion");
    EXPECT_TRUE(gMostrarStock);
    EXPECT_EQ(gTituloClientes, "Clientes");
    EXPECT_EQ(gTituloProveedores, "");
    EXPECT_EQ(gRutaDocTareas, "/programa/OVDOCTareas.ovl");
    EXPECT_FALSE(gExigeClaveLike);  // "SI " is not "SI": this key is not trimmed
    EXPECT_TRUE(gUsaConsultaLike);
    EXPECT_EQ(gCantidadDecimales, " 2 ");
    EXPECT_FALSE(gUsaMultiplesMonedas);
    EXPECT_FALSE(gUsaFacturaProforma);
    EXPECT_TRUE(gUsaCCosto);
    EXPECT_EQ(gUNegocio, "   2");
    EXPECT_EQ(gUnidadM3, "M3");
    EXPECT_EQ(gUnidadBL, "");
    EXPECT_EQ(gUnidadKG, "kg");
    EXPECT_EQ(gPeriodo, 2);  // halves go to the even number
    EXPECT_TRUE(gValidaCodigoBarra);
    EXPECT_TRUE(gConfigCargada);
    EXPECT_EQ(gColorFondo, 0xFFFF00);
    EXPECT_EQ(gColorLetra, 255);
    EXPECT_FALSE(gModuloOT);
    EXPECT_TRUE(gVModificaCPrecio);  // " NO" untrimmed is not "NO"
    EXPECT_FALSE(gCModificaCPrecio);
    EXPECT_TRUE(gMaderera);
    EXPECT_EQ(gMadTiras, "T");
    EXPECT_EQ(gMadP2, "p2");
    EXPECT_EQ(gMadML, "");
    EXPECT_EQ(gMadM2, "");
    EXPECT_EQ(gMadM2P2, "m2p2");
    EXPECT_EQ(gCuentaCtroDist, "1.1.01");
    EXPECT_EQ(gMaxDto, adodb::Currency{125000});
    EXPECT_TRUE(prompter->Boxes().empty());
}

TEST_F(Configuracion, SettingsWithoutRows) {
    Open({});
    startup::gUsuarioLogeado = "nadie";
    startup::gColorLetra = 7;
    startup::CargarConfiguracion("/programa/");

    using namespace startup;
    EXPECT_FALSE(gMostrarStock);
    EXPECT_EQ(gTituloClientes, "");
    EXPECT_FALSE(gExigeClaveLike);
    EXPECT_FALSE(gUsaConsultaLike);
    EXPECT_EQ(gCantidadDecimales, " ");
    EXPECT_FALSE(gUsaMultiplesMonedas);
    EXPECT_FALSE(gUsaCCosto);
    EXPECT_EQ(gUNegocio, "   1");
    EXPECT_EQ(gUnidadM3, "");
    EXPECT_EQ(gPeriodo, 0);
    EXPECT_FALSE(gValidaCodigoBarra);
    EXPECT_TRUE(gConfigCargada);
    EXPECT_EQ(gColorFondo, 0xFFFF00);
    EXPECT_EQ(gColorLetra, 0);
    EXPECT_TRUE(gModuloOT);
    EXPECT_FALSE(gVModificaCPrecio);
    EXPECT_FALSE(gCModificaCPrecio);
    EXPECT_FALSE(gMaderera);
    EXPECT_EQ(gMadMLM2, "");
    EXPECT_EQ(gCuentaCtroDist, "");
    EXPECT_EQ(gMaxDto, adodb::Currency{0});
    EXPECT_TRUE(prompter->Boxes().empty());
}

TEST_F(Configuracion, BusinessUnitOfTheLoggedUser) {
    Open({{"CFondo", "16777215", ""}},
         {{"ana", 0, "2"}, {"luis", 0, ""}, {"pepe", 0, std::nullopt}, {"eva", 1, "12345"}});
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"ana", "   2"}, {"luis", "   1"}, {"pepe", "   1"}, {"nadie", "   1"}, {"eva", "2345"}};
    for (const auto& [user, unit] : cases) {
        startup::gUsuarioLogeado = user;
        startup::CargarConfiguracion("/programa/");
        EXPECT_EQ(startup::gUNegocio, unit) << user;
    }
    EXPECT_EQ(startup::gColorFondo, 0xFFFFFF);
}

}  // namespace
