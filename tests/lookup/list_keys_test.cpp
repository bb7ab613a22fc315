#include <gtest/gtest.h>

#include "lookup/list_lookup.h"
#include "lookup/lookup_fixture.h"
#include "platform/ui/clocks.h"

namespace {

using lookup::ListLookup;
namespace vk = lookup::vk;

class ListKeysTest : public ::testing::Test {
  protected:
    ListKeysTest() : database(lookuptest::ArticlesSql()) {}

    ListLookup& Load(const std::string& sql, bool cantidades = true, bool checks = false) {
        logic = std::make_unique<ListLookup>(view, database.Reader());
        logic->Datos().UsaCantidades = cantidades;
        logic->Datos().CheckBoxes = checks;
        logic->Datos().SQL = sql;
        logic->Form_Load();
        return *logic;
    }
    const lookup::ListRow& Row(int i) const {
        return logic->Lista().rows[static_cast<std::size_t>(i)];
    }

    lookuptest::LookupDatabase database;
    lookuptest::FakeView view;
    std::unique_ptr<ListLookup> logic;
};

constexpr const char* kWithQuantity =
    "select IDARTICULO, DESCRIPCION, '' as [**Cantidad**] from V_MA_ARTICULOS "
    "where IDARTICULO like 'A%' order by IDARTICULO";

TEST_F(ListKeysTest, InsertDeleteAndShiftInsertChangeTheQuantity) {
    Load(kWithQuantity);
    logic->SelectRow(0);
    struct Step {
        int key;
        int shift;
        const char* answer;  // for Shift+Insert
        const char* cell;
        bool ticked;
    };
    const Step steps[] = {
        {vk::kInsert, 0, nullptr, "1,0", true},
        {vk::kInsert, 0, nullptr, "2,0", true},
        {vk::kDelete, 0, nullptr, "1,0", true},
        {vk::kDelete, 0, nullptr, "0,00", false},
        {vk::kDelete, 0, nullptr, "0,00", false},
        {vk::kInsert, vk::kShift, "3", "3,00", true},
        {vk::kInsert, vk::kShift, "2.5", "2,50", true},
        {vk::kInsert, vk::kShift, "0", "0,00", false},
        {vk::kInsert, 0, nullptr, "1,0", true},
        {vk::kInsert, vk::kShift, "", "0,00", false},
        {vk::kInsert, 0, nullptr, "1,0", true},
        {vk::kInsert, vk::kShift, "abc", "0,00", false},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(std::to_string(s.key) + " " + (s.answer ? s.answer : "-"));
        if (s.answer != nullptr) database.prompter->AnswerInput(s.answer);
        EXPECT_TRUE(logic->ListView1_KeyDown(s.key, s.shift));
        EXPECT_EQ(Row(0).subItems[1], s.cell);
        EXPECT_EQ(Row(0).checked, s.ticked);
    }
    const ui::RecordedBox& box = database.prompter->Boxes().front();
    EXPECT_TRUE(box.isInput);
    EXPECT_EQ(box.prompt, "Ingrese la Cantidad del Articulo...");
    EXPECT_EQ(box.title, "Carga de Datos");
    EXPECT_EQ(box.defaultText, "0,00");
    EXPECT_FALSE(Row(1).checked);

    // Without quantity entry the keys do nothing.
    Load(kWithQuantity, false);
    logic->SelectRow(0);
    for (const int shift : {0, vk::kShift}) logic->ListView1_KeyDown(vk::kInsert, shift);
    logic->ListView1_KeyDown(vk::kDelete, 0);
    EXPECT_EQ(Row(0).subItems[1], "");
    EXPECT_FALSE(Row(0).checked);
}

TEST_F(ListKeysTest, QuantityKeyWithoutSelectedRowIsReported) {
    Load(kWithQuantity);
    database.prompter->Answer(ui::kAbort);
    logic->ListView1_KeyDown(vk::kInsert, 0);
    ASSERT_EQ(database.prompter->Boxes().size(), 1U);
    EXPECT_NE(database.prompter->Boxes()[0].prompt.find("ListView1_KeyDown"), std::string::npos);
}

TEST_F(ListKeysTest, TypingOnTheListGoesToTheLastSearchBox) {
    Load("select IDARTICULO, DESCRIPCION from V_MA_ARTICULOS order by IDARTICULO");
    logic->CmbSearch_GotFocus(1);
    EXPECT_TRUE(logic->Boxes()[1].highlighted);
    logic->CmbSearch_LostFocus(1);
    EXPECT_FALSE(logic->Boxes()[1].highlighted);
    struct Key {
        int code;
        const char* text;  // box 1 afterwards
    };
    const Key keys[] = {
        {'T', "T"},
        {'U', "TU"},
        {vk::kSpace, "TU "},
        {vk::kBackspace, "TU"},
        {97, "TU1"},
        {vk::kNumpad0, "TU10"},
        {112, "TU10"},
        {125, "TU10"},
        {106, "TU10"},
        {vk::kBackspace, "TU1"},
        {vk::kBackspace, "TU"},
    };
    for (const Key& k : keys) {
        SCOPED_TRACE(k.code);
        logic->ListView1_KeyDown(k.code, 0);
        EXPECT_EQ(logic->Boxes()[1].text, k.text);
    }
    EXPECT_EQ(view.focus, "box1");
    EXPECT_EQ(logic->Boxes()[0].text, "");
    logic->CmbSearch_GotFocus(0);
    logic->ListView1_KeyDown('A', 0);
    logic->ListView1_KeyDown('0', 0);
    logic->ListView1_KeyDown('5', 0);
    EXPECT_EQ(logic->Lista().rows[static_cast<std::size_t>(logic->Lista().selected)].text, "A05");

    // With check boxes the space is the list's own: it types nothing.
    Load("select IDARTICULO from V_MA_ARTICULOS", false, true);
    EXPECT_FALSE(logic->ListView1_KeyDown(vk::kSpace, 0));
    EXPECT_EQ(logic->Boxes()[0].text, "");
    EXPECT_TRUE(database.prompter->Boxes().empty());
}

TEST_F(ListKeysTest, EnterAccepts) {
    Load("select IDARTICULO from V_MA_ARTICULOS order by IDARTICULO", false);
    logic->Datos().CampoDevuelto = "IDARTICULO";
    logic->SelectRow(4);
    EXPECT_TRUE(logic->ListView1_KeyDown(vk::kEnter, 0));
    EXPECT_EQ(logic->Datos().ValorDevuelto, adodb::Variant("A01"));
    EXPECT_EQ(view.hides, 1);
}

TEST_F(ListKeysTest, F12ReportsTheSelectedArticleAsMissing) {
    ui::ScopedClock clock(std::make_shared<ui::FixedClock>(text::DateTime{2024, 3, 5, 14, 7, 9}));
    Load(
        "select IDARTICULO, DESCRIPCION from V_MA_ARTICULOS where IDARTICULO like 'A0%' order "
        "by IDARTICULO",
        false);
    int key = vk::kF12;
    logic->Form_KeyDown(key, 0);  // no selected row: consumed, nothing asked
    EXPECT_EQ(key, 0);
    EXPECT_TRUE(database.prompter->Boxes().empty());

    logic->SelectRow(5);  // Codo O'Higgins
    database.prompter->Answer(ui::kNo);
    key = vk::kF12;
    logic->Form_KeyDown(key, 0);
    EXPECT_EQ(database.Count("select count(*) from V_MV_FALTANTES"), 0);
    const ui::RecordedBox& question = database.prompter->Boxes().back();
    EXPECT_EQ(question.prompt,
              "Desea informar el articulo A06 Codo O'Higgins\r\ncomo un faltante de stock?");
    EXPECT_EQ(question.title, "Atención!");
    EXPECT_EQ(question.buttons, ui::Buttons::YesNo);
    EXPECT_EQ(question.icon, ui::Icon::Question);

    database.prompter->Answer(ui::kYes);
    key = vk::kF12;
    logic->Form_KeyDown(key, 0);
    EXPECT_EQ(database.Count("select count(*) from V_MV_FALTANTES"), 1);
    EXPECT_EQ(database.Text("select IdArticulo || '|' || Descripcion || '|' || Usuario || '|' || "
                            "FechaHora from V_MV_FALTANTES"),
              std::string(22, ' ') + "A06|Codo O'Higgins|operador|2024-03-05 14:07:09");
    EXPECT_NE(database.statements.back().find("values('05/03/2024 14:07:09','"), std::string::npos);

    // Outside an articles lookup F12 reaches the focused control unchanged.
    Load("select Codigo, Descripcion from V_TA_CPTE", false);
    logic->SelectRow(0);
    key = vk::kF12;
    logic->Form_KeyDown(key, 0);
    EXPECT_EQ(key, vk::kF12);
}

}  // namespace
