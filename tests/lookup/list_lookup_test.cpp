#include "lookup/list_lookup.h"

#include <gtest/gtest.h>

#include "lookup/lookup_fixture.h"

namespace {

using lookup::ListLookup;

class ListLookupTest : public ::testing::Test {
  protected:
    ListLookupTest() : database(lookuptest::ArticlesSql()) {}

    ListLookup& Load(const std::string& sql) {
        logic = std::make_unique<ListLookup>(view, database.Reader());
        logic->SetWidthsFolder(database.Dir().Path().string());
        configure(logic->Datos());
        logic->Datos().SQL = sql;
        logic->Form_Load();
        return *logic;
    }

    std::vector<std::string> RowTexts() const {
        std::vector<std::string> texts;
        for (const lookup::ListRow& r : logic->Lista().rows) texts.push_back(r.text);
        return texts;
    }
    std::string SelectedText() const {
        const int s = logic->Lista().selected;
        return s < 0 ? "<none>" : logic->Lista().rows[static_cast<std::size_t>(s)].text;
    }

    lookuptest::LookupDatabase database;
    lookuptest::FakeView view;
    std::function<void(lookup::LookupWindowRecord&)> configure = [](auto&) {};
    std::unique_ptr<ListLookup> logic;
};

TEST_F(ListLookupTest, LoadsRowsColumnsAndSearchBoxes) {
    database.config["NOM_PCLASE1"] = "Lista general";
    ListLookup& l = Load(
        "select DESCRIPCION, IDARTICULO, PRECIO1 from V_MA_ARTICULOS where IDARTICULO "
        "like 'A%' order by IDARTICULO");
    EXPECT_EQ(RowTexts(), (std::vector<std::string>{
                              "Tornillo 6 mm", "Tuerca 8 mm", "Arandela plana", "Bisagra de hierro",
                              "Tarugo de nylon", "Codo O'Higgins", "Caño 3/4"}));
    EXPECT_EQ(l.Lista().rows[0].subItems, (std::vector<std::string>{"A01", "10"}));
    ASSERT_EQ(l.Lista().columns.size(), 3U);
    EXPECT_EQ(l.Lista().columns[0].title, "DESCRIPCION");
    EXPECT_EQ(l.Lista().columns[0].width, 6000);  // 100 characters: at most 60 letters X
    EXPECT_EQ(l.Lista().columns[1].width, 2500);  // 25 letters X
    // Price classes are titled by their configured names in articles lookups.
    EXPECT_EQ(l.Lista().columns[2].title, "Lista general");
    EXPECT_EQ(l.IndiceColumna("PRECIO1"), 0);
    EXPECT_EQ(l.IndiceColumna(" idarticulo "), 2);
    ASSERT_EQ(l.Boxes().size(), 3U);
    EXPECT_EQ(l.Boxes()[1].tag, "IDARTICULO");
    EXPECT_EQ(l.Boxes()[1].left, 6000);
    EXPECT_EQ(l.Boxes()[1].width, 2450);
    EXPECT_EQ(l.TablaConsulta(), "V_MA_ARTICULOS");
    EXPECT_EQ(l.SentenciaOriginal().back(), ' ');
    EXPECT_TRUE(l.EsArticulos());
    ASSERT_TRUE(l.Datos().Valores && l.Datos().Cantidades);
    EXPECT_TRUE(database.prompter->Boxes().empty());

    // The view the service builds keeps the field names.
    Load("select IDARTICULO, PRECIO1 from VT_MA_ARTICULOS");
    EXPECT_EQ(logic->Lista().columns[1].title, "PRECIO1");
    EXPECT_EQ(logic->IndiceColumna("PRECIO1"), 2);
}

TEST_F(ListLookupTest, SortsItselfWhenAskedAndByColumnHeader) {
    configure = [](auto& d) { d.OrdenarPorLwv = true; };
    Load("select IDARTICULO from V_MA_ARTICULOS where IDARTICULO like 'A0%'");
    EXPECT_EQ(RowTexts().front(), "A01");
    logic->ListView1_ColumnClick(0);  // the first click sorts descending
    EXPECT_EQ(RowTexts().front(), "A07");
    logic->ListView1_ColumnClick(0);
    EXPECT_EQ(RowTexts().front(), "A01");
}

TEST_F(ListLookupTest, PositionsOnTypedTextColumnByColumn) {
    configure = [](auto& d) { d.FiltroInicial = "tU"; };
    Load("select DESCRIPCION, IDARTICULO from V_MA_ARTICULOS order by IDARTICULO");
    EXPECT_EQ(SelectedText(), "Tuerca 8 mm");
    EXPECT_EQ(logic->Boxes()[0].text, "tU");

    logic->SetSearchText(1, "A05");  // box 1 searches the codes
    EXPECT_EQ(SelectedText(), "Tarugo de nylon");
    logic->SetSearchText(1, "zzz");  // no row begins so: the selection stays
    EXPECT_EQ(SelectedText(), "Tarugo de nylon");
    logic->SetSearchText(0, "");  // an empty text begins every text
    EXPECT_EQ(SelectedText(), logic->Lista().rows[0].text);
    EXPECT_EQ(logic->Busqueda(0, "  arandela "), 7);  // after 1, 1,2, 12, 2, A01, A02
    EXPECT_EQ(logic->Busqueda(1, "B"), 0);

    configure = [](auto& d) { d.FiltroInicial = "   "; };
    Load("select DESCRIPCION from V_MA_ARTICULOS");
    EXPECT_EQ(logic->Boxes()[0].text, "");
    EXPECT_EQ(SelectedText(), "<none>");
}

TEST_F(ListLookupTest, FilterSearchExtendsTheStatement) {
    struct Case {
        const char* name;
        std::string sql;
        bool like;
        std::string typed;
        std::string expected;
        std::string boxAfterStar;  // the box text right after "*" became "%"
    };
    const std::vector<Case> cases = {
        {"example with order by",
         "select IDARTICULO, DESCRIPCION from V_MA_ARTICULOS order by "
         "DESCRIPCION",
         false, "tor*ni",
         "select IDARTICULO, DESCRIPCION from V_MA_ARTICULOS  where DESCRIPCION like 'tor%ni%' "
         "order by DESCRIPCION ",
         "tor%ni"},
        {"with where, LIKE on: star kept",
         "select IDARTICULO, DESCRIPCION from V_MA_ARTICULOS where SUSPENDIDO = 0", true, "a*",
         "select IDARTICULO, DESCRIPCION from V_MA_ARTICULOS where SUSPENDIDO = 0  and "
         "DESCRIPCION like '%a*%' ",
         "a*"},
        {"prefix of the article table",
         "select v_ma_articulos.IDARTICULO, v_ma_articulos.DESCRIPCION from v_ma_articulos", false,
         "",
         "select v_ma_articulos.IDARTICULO, v_ma_articulos.DESCRIPCION from v_ma_articulos  "
         "where v_ma_articulos.DESCRIPCION like '%' ",
         ""},
        {"apostrophe doubled", "select IDARTICULO, DESCRIPCION from V_MA_ARTICULOS", false,
         "Codo O'H",
         "select IDARTICULO, DESCRIPCION from V_MA_ARTICULOS  where DESCRIPCION like 'Codo O''H%' ",
         "Codo O'H"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        configure = [&](auto& d) { d.CfgUsaConsultaLIKE = c.like; };
        Load(c.sql);
        logic->SetSearchText(1, c.typed);
        logic->CmbSearch_KeyDown(1, lookup::vk::kF5, 0);
        EXPECT_EQ(logic->Datos().SQL, c.expected + " ");  // the reload appends its space
        EXPECT_EQ(logic->Boxes()[1].text, "");
        EXPECT_TRUE(database.prompter->Boxes().empty());
    }
    EXPECT_EQ(RowTexts(), (std::vector<std::string>{"A06"}));  // O'Higgins found

    // Filters accumulate; a new search goes back to the first statement.
    configure = [](auto&) {};
    Load("select IDARTICULO, DESCRIPCION from V_MA_ARTICULOS");
    logic->SetSearchText(1, "T");
    logic->CmbSearch_KeyDown(1, lookup::vk::kF5, 0);
    logic->SetSearchText(0, "A0");
    logic->CmbSearch_KeyDown(0, lookup::vk::kF5, 0);
    EXPECT_NE(logic->Datos().SQL.find(" where DESCRIPCION like 'T%'   and IDARTICULO like 'A0%'"),
              std::string::npos)
        << logic->Datos().SQL;
    EXPECT_EQ(RowTexts(), (std::vector<std::string>{"A01", "A02", "A05"}));
    logic->CmbSearch_KeyDown(0, lookup::vk::kDown, 0);
    EXPECT_EQ(view.focus, "list");
    logic->CmdNueva_Click();
    EXPECT_EQ(RowTexts().size(), 11U);
    EXPECT_EQ(view.focus, "box0");
}

TEST_F(ListLookupTest, RefusedFilterIsReportedAndNewSearchRecovers) {
    // A condition after GROUP BY: the database refuses the statement.
    Load("select IDARTICULO, count(*) as N from V_MA_ARTICULOS group by IDARTICULO");
    for (int i = 0; i < 6; ++i) database.prompter->Answer(ui::kAbort);
    logic->SetSearchText(0, "A");
    logic->CmbSearch_KeyDown(0, lookup::vk::kF5, 0);
    ASSERT_FALSE(database.prompter->Boxes().empty());
    EXPECT_EQ(database.prompter->Boxes()[0].title, "Aviso al operador");
    EXPECT_EQ(database.prompter->Boxes()[0].buttons, ui::Buttons::AbortRetryIgnore);
    EXPECT_FALSE(logic->Hidden());
    logic->CmdNueva_Click();
    EXPECT_EQ(RowTexts().size(), 11U);
}

TEST_F(ListLookupTest, AcceptanceInSingleAndCheckBoxMode) {
    configure = [](auto& d) {
        d.CampoDevuelto = "IDARTICULO";
        d.CmpsDevueltos = std::vector<std::string>{"DESCRIPCION", "NOEXISTE", "IDARTICULO"};
    };
    Load("select DESCRIPCION, IDARTICULO from V_MA_ARTICULOS order by IDARTICULO");
    logic->CmdAceptar_Click();  // no selected row: nothing returned, but the window hides
    EXPECT_TRUE(logic->Datos().ValorDevuelto.IsEmpty());
    EXPECT_EQ(logic->Datos().Valores, (lookup::Coleccion{std::vector<std::string>{}}));
    EXPECT_EQ(view.hides, 1);

    logic->SetSearchText(1, "A02");
    logic->ListView1_DblClick();
    EXPECT_EQ(logic->Datos().ValorDevuelto, adodb::Variant("A02"));
    // A name that matches no column gives empty text, not the value taken before it.
    EXPECT_EQ(logic->Datos().Valores, (lookup::Coleccion{{"Tuerca 8 mm", "", "A02"}}));

    configure = [](auto& d) {
        d.CheckBoxes = true;
        d.CampoDevuelto = "IDARTICULO";
        d.ValoresDefault = "1,2";
    };
    Load("select DESCRIPCION, IDARTICULO from V_MA_ARTICULOS order by DESCRIPCION");
    logic->Datos().CampoDevuelto.clear();  // empty at acceptance: the first column
    logic->CmdAceptar_Click();
    EXPECT_EQ(logic->Datos().Valores, (lookup::Coleccion{{"Dos", "Uno", "Uno coma dos"}}));
    EXPECT_EQ(logic->Datos().CampoDevuelto, "DESCRIPCION");
    EXPECT_TRUE(logic->Datos().ValorDevuelto.IsEmpty());

    configure = [](auto& d) {
        d.CheckBoxes = true;
        d.CampoDevuelto = "NOEXISTE";
        d.ValoresDefault = "A01";
    };
    Load("select DESCRIPCION, IDARTICULO from V_MA_ARTICULOS");
    for (const lookup::ListRow& r : logic->Lista().rows) EXPECT_FALSE(r.checked);
    EXPECT_TRUE(database.prompter->Boxes().empty());
}

TEST_F(ListLookupTest, CancelReturnsEmptyTextAndNoCollection) {
    configure = [](auto& d) { d.CmpsDevueltos = std::vector<std::string>{"A"}; };
    Load("select IDARTICULO from V_MA_ARTICULOS");
    logic->SelectRow(0);
    logic->CmdCancelar_Click();
    EXPECT_EQ(logic->Datos().ValorDevuelto, adodb::Variant(""));
    EXPECT_FALSE(logic->Datos().Valores.has_value());
    EXPECT_FALSE(logic->Datos().CmpsDevueltos.has_value());
    EXPECT_TRUE(logic->Hidden());
}

TEST_F(ListLookupTest, ArticleRowsColouredByStockLevel) {
    configure = [](auto& d) {
        d.MuestraStock = "SI";
        d.StkNivel1 = adodb::Variant("255");
        d.StkNivel2 = adodb::Variant("65280");
        d.StkNivel3 = adodb::Variant(std::int32_t{16711680});
        d.StkNivel4 = adodb::Variant("  ");
    };
    Load(
        "select IDARTICULO, PUNTOPEDIDO, Stock from V_MA_ARTICULOS where IDARTICULO like 'A%' "
        "order by IDARTICULO");
    std::vector<std::optional<std::uint32_t>> colours;
    for (const lookup::ListRow& r : logic->Lista().rows) colours.push_back(r.colour);
    // 10/10 level 4 (blank: no colour), 10/11 level 2, 10/9 level 3, 0/0 level 4, 0/5 level 1,
    // no reorder point nor stock level 4, 5/1 level 3.
    EXPECT_EQ(colours,
              (std::vector<std::optional<std::uint32_t>>{
                  std::nullopt, 65280U, 16711680U, std::nullopt, 255U, std::nullopt, 16711680U}));

    // Without the stock fields the rows load uncoloured and nobody is asked.
    Load("select IDARTICULO, DESCRIPCION from V_MA_ARTICULOS");
    for (const lookup::ListRow& r : logic->Lista().rows) EXPECT_FALSE(r.colour.has_value());
    EXPECT_TRUE(database.prompter->Boxes().empty());

    configure = [](auto& d) {
        d.MuestraStock = "NO";
        d.StkNivel1 = adodb::Variant("255");
    };
    Load("select IDARTICULO, PUNTOPEDIDO, Stock from V_MA_ARTICULOS where IDARTICULO = 'A05'");
    EXPECT_FALSE(logic->Lista().rows[0].colour.has_value());
}

TEST_F(ListLookupTest, SizesFollowTheColumns) {
    Load("select IDARTICULO, DESCRIPCION from V_MA_ARTICULOS");
    EXPECT_EQ(logic->ListWidth(), 8500 + 360);
    EXPECT_EQ(logic->PanelWidth(), 8500 + 360);
    EXPECT_EQ(logic->ScrollWidth(), 8500);
    EXPECT_EQ(logic->ScrollMax(), 5604);  // (8860 + 480) x 0.6
    EXPECT_EQ(logic->WindowWidth(), 8860 + 280);

    view.screenWidth = 5000;
    Load(
        "select DESCRIPCION, DESCRIPCION, DESCRIPCION, DESCRIPCION, DESCRIPCION, DESCRIPCION "
        "from V_MA_ARTICULOS");
    EXPECT_EQ(logic->PanelWidth(), 36360);
    EXPECT_EQ(logic->ScrollMax(), 32700);
    EXPECT_EQ(logic->WindowWidth(), 5000 - 480);
}

}  // namespace
