#include <gtest/gtest.h>

#include <fstream>

#include "lookup/crear_mascaras.h"
#include "lookup/expected_catalogue.h"
#include "lookup/lib_clscons3.h"
#include "lookup/lookup_fixture.h"

namespace {

using lookup::Coleccion;
using lookup::LookupWindowRecord;

// A list window that keeps a copy of the record it was shown with and answers with the
// outputs the test gives it.
struct FakeWindows {
    int shown = 0;
    LookupWindowRecord seen;
    std::function<void(LookupWindowRecord&)> answer = [](LookupWindowRecord&) {};

    class Window : public lookup::LookupWindow {
      public:
        explicit Window(FakeWindows& owner) : owner_(owner) {}
        LookupWindowRecord& Datos() override { return datos_; }
        void Show() override {
            ++owner_.shown;
            owner_.seen = datos_;
            owner_.answer(datos_);
        }
        void Unload() override {}

      private:
        FakeWindows& owner_;
        LookupWindowRecord datos_;
    };

    lookup::WindowFactory Factory() {
        return [this](const lookup::ConfigReader&) { return std::make_unique<Window>(*this); };
    }
};

const char* const kSchemaExtras = R"sql(
CREATE TABLE TA_PRUEBA (ID INTEGER PRIMARY KEY, CODIGO VARCHAR(4), DESCRIPCION VARCHAR(30),
                        PRECIO NUMERIC(18,4));
)sql";

class ConsultaSearchTest : public ::testing::Test {
  protected:
    ConsultaSearchTest() : database(kSchemaExtras) {
        catalogue = database.Dir().File("consultas.ovl");
        lookup::AppendMascaras(catalogue, lookup::DefaultMascaras());
        lookup::AppendMascaras(catalogue, {{"UNO", "TA_UNO", "|NOMBRE|", ""},
                                           {"FILTRADA", "TA_FILTRADA", "|A|B|", "B > 2"}});
    }

    lookup::Lib_ClsCons3& Service() {
        if (!service) {
            service = std::make_unique<lookup::Lib_ClsCons3>(database.Reader());
            service->SetListWindowFactory(windows.Factory());
            service->gUsarMascarasConsultas = true;
            service->gRutaMascaraConsultas = catalogue;
        }
        return *service;
    }

    lookuptest::LookupDatabase database;
    std::string catalogue;
    FakeWindows windows;
    std::unique_ptr<lookup::Lib_ClsCons3> service;
};

TEST_F(ConsultaSearchTest, ComposesTheStatementOfEachKindOfLookup) {
    struct Case {
        const char* name;
        std::string sql;
        std::string campoBusqueda;
        std::string where;
        std::string opcional;
        bool catalogueOn;
        std::string expected;
        std::string campoBusquedaAfter;
        std::string whereAfter;
    };
    const std::vector<Case> cases = {
        {"clients", "VT_CLIENTES", "", "", "", true,
         "SELECT TOP 1000 RAZON_SOCIAL,CODIGO,CONTACTO FROM VT_CLIENTES WHERE Dada_De_Baja = 0 "
         "ORDER BY RAZON_SOCIAL",
         "RAZON_SOCIAL", ""},
        {"suppliers, case and blanks ignored", "  vt_proveedores ", "", "", "", true,
         "SELECT TOP 1000 RAZON_SOCIAL,CODIGO FROM VT_PROVEEDORES WHERE Dada_De_Baja = 0 ORDER BY "
         "RAZON_SOCIAL",
         "RAZON_SOCIAL", ""},
        {"articles go to the article view", "V_MA_ARTICULOS", "", "", "", true,
         "SELECT TOP 1000 DESCRIPCION,IDARTICULO FROM VT_MA_ARTICULOS WHERE SUSPENDIDO = 0 ORDER "
         "BY DESCRIPCION",
         "DESCRIPCION", ""},
        {"Where wrapped and used instead of the default", "V_MA_ARTICULOS", "IDARTICULO",
         "ACTIVO = 1", "", true,
         "SELECT TOP 1000 DESCRIPCION,IDARTICULO FROM VT_MA_ARTICULOS WHERE  (ACTIVO = 1)  ORDER "
         "BY IDARTICULO",
         "IDARTICULO", " (ACTIVO = 1) "},
        {"Where in parentheses kept", "VT_CLIENTES", "", "(X = 1)", "", true,
         "SELECT TOP 1000 RAZON_SOCIAL,CODIGO,CONTACTO FROM VT_CLIENTES WHERE (X = 1) ORDER BY "
         "RAZON_SOCIAL",
         "RAZON_SOCIAL", "(X = 1)"},
        {"one-character Where kept and used", "VT_CLIENTES", "", "X", "", true,
         "SELECT TOP 1000 RAZON_SOCIAL,CODIGO,CONTACTO FROM VT_CLIENTES WHERE X ORDER BY "
         "RAZON_SOCIAL",
         "RAZON_SOCIAL", "X"},
        {"entry filter wins over Where", "TA_FILTRADA", "", "C = 1", "", true,
         "SELECT TOP 1000 A,B FROM TA_FILTRADA WHERE B > 2 ORDER BY A", "A", " (C = 1) "},
        {"single-field entry with a search field", "TA_UNO", "NOMBRE", "", "", true,
         "SELECT TOP 1000 NOMBRE FROM TA_UNO ORDER BY NOMBRE", "NOMBRE", ""},
        {"table without entry: reverse columns, no WHERE", "TA_PRUEBA", "", "ACTIVO = 1", "", true,
         "SELECT TOP 1000 PRECIO,DESCRIPCION,CODIGO FROM TA_PRUEBA ORDER BY DESCRIPCION",
         "DESCRIPCION", " (ACTIVO = 1) "},
        {"table without entry, optional statement", "TA_PRUEBA", "", "", "select 1 as X", true,
         "select 1 as X", "", ""},
        {"catalogue off reads the columns", "VT_CLIENTES", "", "", "", false,
         "SELECT TOP 1000 Dada_De_Baja,CUIT,CONTACTO,RAZON_SOCIAL,CODIGO FROM VT_CLIENTES ORDER BY "
         "CODIGO",
         "CODIGO", ""},
        {"a SELECT passes through", "select * from v_ma_articulos where IDFAMILIA = 'FER'", "", "",
         "", true, "select * from VT_MA_ARTICULOS where IDFAMILIA = 'FER'", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        service.reset();
        Service().gUsarMascarasConsultas = c.catalogueOn;
        std::string campoBusqueda = c.campoBusqueda;
        std::string where = c.where;
        windows.shown = 0;
        Service().ConsultaSearch(c.sql, nullptr, "", &campoBusqueda, &where, c.opcional);
        ASSERT_EQ(windows.shown, 1);
        EXPECT_EQ(windows.seen.SQL, c.expected);
        EXPECT_EQ(campoBusqueda, c.campoBusquedaAfter);
        EXPECT_EQ(where, c.whereAfter);
    }
    EXPECT_TRUE(database.prompter->Boxes().empty());
}

TEST_F(ConsultaSearchTest, SingleFieldEntryAsksForConfigurationAndShowsNoWindow) {
    database.prompter->Answer(ui::kOK);
    Coleccion cmps = std::vector<std::string>{"NOMBRE"};
    Service().CampoDevuelto = "NOMBRE";
    Service().ConsultaSearch("TA_UNO", &cmps);
    EXPECT_EQ(windows.shown, 0);
    ASSERT_EQ(database.prompter->Boxes().size(), 1U);
    const ui::RecordedBox& box = database.prompter->Boxes()[0];
    EXPECT_EQ(box.prompt, "Debe configurar la consulta para esta tabla");
    EXPECT_EQ(box.title, "Aviso al operador");
    EXPECT_EQ(box.icon, ui::Icon::Information);
    EXPECT_EQ(box.buttons, ui::Buttons::OK);
    EXPECT_FALSE(cmps.has_value());
    EXPECT_TRUE(Service().CampoDevuelto.empty());
}

TEST_F(ConsultaSearchTest, MissingCatalogueAndRowLimit) {
    Service().gRutaMascaraConsultas = database.Dir().File("none.ovl");
    Service().ConsultaSearch("VT_CLIENTES");
    EXPECT_EQ(windows.seen.SQL, "VT_CLIENTES");

    for (const auto& [top, expected] : std::vector<std::pair<std::string, std::string>>{
             {"250", "SELECT TOP 250 "}, {"0", "SELECT TOP 1000 "}, {"12.7", "SELECT TOP 12 "}}) {
        database.config["TopConsArt"] = top;
        service.reset();
        Service().ConsultaSearch("VT_CLIENTES");
        EXPECT_EQ(windows.seen.SQL.substr(0, expected.size()), expected) << top;
    }
}

TEST_F(ConsultaSearchTest, HandsTheInputsToTheWindowAndTakesItsOutputs) {
    database.config = {
        {"MostrarStockenConsultas", "SI"}, {"Stk_Nivel1", "255"}, {"UsaConsultaLIKE", "SI"}};
    windows.answer = [](LookupWindowRecord& r) {
        EXPECT_FALSE(r.Valores.has_value());
        EXPECT_FALSE(r.Cantidades.has_value());
        r.Valores = std::vector<std::string>{"A01", "Tornillo"};
        r.Cantidades = std::vector<std::string>{};
        r.ValorDevuelto = std::string("A01");
    };
    Service().Checks = true;
    Service().UsaCantidades = true;
    Service().CampoDevuelto = "IDARTICULO";
    Service().gConnString = "cadena";
    Coleccion cmps = std::vector<std::string>{"IDARTICULO", "DESCRIPCION"};
    std::string campoBusqueda;
    Service().ConsultaSearch("V_MA_ARTICULOS", &cmps, "tor", &campoBusqueda, nullptr, "", false,
                             "A01,A02");

    const LookupWindowRecord& seen = windows.seen;
    EXPECT_EQ(seen.StkNivel1, adodb::Variant("255"));
    EXPECT_EQ(seen.MuestraStock, "SI");
    EXPECT_TRUE(seen.CfgUsaConsultaLIKE);
    EXPECT_FALSE(seen.OrdenarPorLwv);  // the statement has its ORDER BY
    EXPECT_EQ(seen.FiltroInicial, "tor");
    EXPECT_EQ(seen.CampoBusqueda, "DESCRIPCION");
    EXPECT_EQ(seen.gConnString, "cadena");
    EXPECT_EQ(seen.CampoDevuelto, "IDARTICULO");
    EXPECT_TRUE(seen.CheckBoxes);
    EXPECT_TRUE(seen.UsaCantidades);
    EXPECT_EQ(seen.ValoresDefault, "A01,A02");
    EXPECT_EQ(seen.CmpsDevueltos, (Coleccion{{"IDARTICULO", "DESCRIPCION"}}));

    EXPECT_EQ(Service().Valores, (Coleccion{{"A01", "Tornillo"}}));
    ASSERT_TRUE(Service().Cantidades.has_value());
    EXPECT_EQ(Service().ValorDevuelto, adodb::Variant("A01"));
    EXPECT_FALSE(Service().Checks);
    EXPECT_TRUE(Service().CampoDevuelto.empty());
    EXPECT_TRUE(Service().UsaCantidades);
    EXPECT_FALSE(cmps.has_value());

    // A statement without ORDER BY lets the list sort itself.
    Service().ConsultaSearch("SELECT IDARTICULO FROM V_MA_ARTICULOS");
    EXPECT_TRUE(windows.seen.OrdenarPorLwv);
    EXPECT_FALSE(windows.seen.CheckBoxes);
}

}  // namespace
