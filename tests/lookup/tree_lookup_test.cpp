#include "lookup/tree_lookup.h"

#include <gtest/gtest.h>

#include "lookup/lookup_fixture.h"

namespace {

using lookup::TreeLookup;

const char* const kTrees = R"sql(
CREATE TABLE TA_ARBOL (Caso INT, Codigo VARCHAR(12), Descripcion VARCHAR(40), Orden INT);
INSERT INTO TA_ARBOL VALUES
 (1, '01', 'Uno', 1), (1, '0101', 'Uno uno', 2), (1, '0102', 'Uno dos', 3), (1, '02', 'Dos', 4),
 (2, '01', 'Uno', 1), (2, '010101', 'Salteado', 2), (2, '02', 'Dos', 3),
 (3, '01', 'Uno', 1), (3, '01', 'Repetido', 2), (3, '', 'Vacío', 3), (3, '02', 'Dos', 4),
 (4, '1', 'N1', 1), (4, '11', 'N2', 2), (4, '111', 'N3', 3), (4, '1111', 'N4', 4),
 (4, '11111', 'N5', 5), (4, '2', 'Otro', 6);
INSERT INTO TA_CCOSTO (CODIGO, Descripcion) VALUES ('1', 'Administración'), ('11', 'Contaduría');
INSERT INTO MA_POSICIONES (IDPOSICION, Descripcion, Deposito) VALUES
 ('01', 'Depósito central', '01'), ('0101', 'Estantería A', '01');
INSERT INTO V_TA_FAMILIAS (Codigo, IDFAMILIA, Descripcion) VALUES
 ('FER', 'FER', 'Ferretería'), ('FER01', 'FER01', 'Tornillería');
CREATE VIEW ARBOL_UNO AS SELECT Codigo, Descripcion, Orden FROM TA_ARBOL WHERE Caso = 1;
)sql";

std::string Case(int n) {
    return "select Codigo, Descripcion from TA_ARBOL where Caso = " + std::to_string(n) +
           " order by Orden";
}

class TreeLookupTest : public ::testing::Test {
  protected:
    TreeLookupTest() : database(kTrees) {}

    TreeLookup& Load(const std::string& sql, bool checks = false,
                     const std::string& campo = "CODIGO") {
        tree = std::make_unique<TreeLookup>(view);
        tree->Datos().SQL = sql;
        tree->Datos().CheckBoxes = checks;
        tree->Datos().CampoDevuelto = campo;
        tree->Form_Load();
        return *tree;
    }

    // The tree as text: each node's text, its children in parentheses.
    std::string Shape(int node = 0) const {
        const lookup::TreeNode& n = tree->Nodes()[static_cast<std::size_t>(node)];
        std::string s = n.text;
        if (!n.children.empty()) {
            s += " (";
            for (std::size_t i = 0; i < n.children.size(); ++i) {
                s += (i ? ", " : "") + Shape(n.children[i]);
            }
            s += ")";
        }
        return s;
    }
    int NodeOf(const std::string& code) const {
        for (std::size_t i = 0; i < tree->Nodes().size(); ++i) {
            if (tree->Nodes()[i].key == "A" + code) return static_cast<int>(i);
        }
        return -1;
    }

    lookuptest::LookupDatabase database;
    struct View : lookup::TreeLookupView {
        void HideWindow() override { ++hides; }
        int hides = 0;
    } view;
    std::unique_ptr<TreeLookup> tree;
};

TEST_F(TreeLookupTest, BuildsTheTreeFromTheCodes) {
    struct Built {
        std::string sql;
        std::string shape;
    };
    const std::vector<Built> cases = {
        {Case(1), "Consulta... (01 - Uno (0101 - Uno uno, 0102 - Uno dos), 02 - Dos)"},
        {Case(2), "Consulta... (01 - Uno (010101 - Salteado), 02 - Dos)"},
        {"select Codigo, Descripcion from TA_ARBOL where Caso = 99", "Consulta..."},
    };
    for (const Built& c : cases) {
        Load(c.sql);
        EXPECT_EQ(Shape(), c.shape) << c.sql;
    }
    EXPECT_TRUE(database.prompter->Boxes().empty());
}

TEST_F(TreeLookupTest, RepeatedAndEmptyCodesAreReportedAndSkipped) {
    database.prompter->Answer(ui::kIgnore);  // the repeated 01
    database.prompter->Answer(ui::kIgnore);  // the empty code repeats the root's key
    Load(Case(3));
    EXPECT_EQ(Shape(), "Consulta... (01 - Uno, 02 - Dos)");
    ASSERT_EQ(database.prompter->Boxes().size(), 2U);
    EXPECT_NE(database.prompter->Boxes()[0].prompt.find("ArmarTreeVAutomatico"), std::string::npos);

    database.prompter->Answer(ui::kAbort);  // leaving ends the building there
    Load(Case(3));
    EXPECT_EQ(Shape(), "Consulta... (01 - Uno)");
}

TEST_F(TreeLookupTest, PositionsOnCodeOrDescription) {
    Load(Case(1));
    const auto selected = [&] {
        return tree->Selected() < 0
                   ? std::string("<none>")
                   : tree->Nodes()[static_cast<std::size_t>(tree->Selected())].text;
    };
    tree->SetSearchText("uno d");
    EXPECT_EQ(selected(), "0102 - Uno dos");
    tree->SetSearchText("02");
    EXPECT_EQ(selected(), "02 - Dos");
    tree->SetSearchText("zzz");  // no match: the selection stays
    EXPECT_EQ(selected(), "02 - Dos");
    tree->SetSearchText("cons");
    EXPECT_EQ(selected(), "Consulta...");
    tree->SetSearchText("01");
    tree->SetSearchText("");
    EXPECT_EQ(selected(), "Consulta...");
}

TEST_F(TreeLookupTest, TicksFollowThreeLevelsDown) {
    Load(Case(4), true);
    tree->TreeV_NodeCheck(NodeOf("1"), true);
    std::vector<bool> ticks;
    for (const char* code : {"1", "11", "111", "1111", "11111", "2"}) {
        ticks.push_back(tree->Nodes()[static_cast<std::size_t>(NodeOf(code))].checked);
    }
    EXPECT_EQ(ticks, (std::vector<bool>{true, true, true, true, false, false}));

    tree->CmdAceptar_Click();  // CODIGO: the trimmed codes, no database read
    EXPECT_EQ(tree->Datos().Valores, (lookup::Coleccion{{"1", "11", "111", "1111"}}));

    Load(Case(1), true, "IDFAMILIA");
    tree->TreeV_NodeCheck(0, true);  // the root ticks its sub-tree and adds an empty code
    tree->CmdAceptar_Click();
    EXPECT_EQ(tree->Datos().Valores, (lookup::Coleccion{{"", "01", "0101", "0102", "02"}}));

    // IDPOSICION reads each ticked code from the positions; codes not there add nothing.
    Load(Case(1), true, "IDPOSICION");
    tree->TreeV_NodeCheck(NodeOf("01"), true);
    const std::size_t before = database.statements.size();
    tree->CmdAceptar_Click();
    EXPECT_EQ(tree->Datos().Valores, (lookup::Coleccion{{"01", "0101"}}));
    EXPECT_GT(database.statements.size(), before);
    EXPECT_EQ(view.hides, 3);
}

TEST_F(TreeLookupTest, SingleModeLooksTheCodeUp) {
    struct Single {
        std::string campo;
        std::string sql;
        std::string code;
        adodb::Variant expected;
    };
    const std::vector<Single> cases = {
        {"CODIGO", Case(4), "11", adodb::Variant("11")},
        {"CODIGO", Case(4), "1111", adodb::Variant("")},  // not in TA_CCOSTO
        {"IDPOSICION", Case(1), "0101", adodb::Variant("0101")},
        {"IDFAMILIA", "select Codigo, Descripcion from V_TA_FAMILIAS order by Codigo", "FER01",
         adodb::Variant("FER01")},
    };
    for (const Single& c : cases) {
        SCOPED_TRACE(c.campo + " " + c.code);
        Load(c.sql, false, c.campo);
        tree->SelectNode(NodeOf(c.code));
        tree->TreeV_DblClick();
        EXPECT_EQ(tree->Datos().ValorDevuelto, c.expected);
    }
    // No selected node: nothing returned, nothing asked, the window hides.
    Load(Case(1));
    tree->Datos().ValorDevuelto = adodb::Variant("antes");
    tree->CmdAceptar_Click();
    EXPECT_EQ(tree->Datos().ValorDevuelto, adodb::Variant("antes"));
    EXPECT_TRUE(tree->Hidden());
    EXPECT_TRUE(database.prompter->Boxes().empty());

    tree->CmdCancelar_Click();
    EXPECT_EQ(tree->Datos().ValorDevuelto, adodb::Variant(""));
    EXPECT_FALSE(tree->Datos().Valores.has_value());
}

TEST_F(TreeLookupTest, FilterSearchesAccumulate) {
    Load("select Codigo, Descripcion from TA_ARBOL where Caso = 1 order by Orden");
    tree->SetSearchText("Uno");
    tree->CmbSearch_KeyDown(116, 0);
    tree->SetSearchText("d'os");
    tree->CmbSearch_KeyDown(116, 0);
    EXPECT_EQ(tree->Datos().SQL,
              "select Codigo, Descripcion from TA_ARBOL where Caso = 1  and Descripcion like "
              "'%Uno%'  and Descripcion like '%d''os%' order by Orden");
    EXPECT_EQ(tree->BoxField(), "Descripcion");
    EXPECT_EQ(tree->BoxText(), "");
    EXPECT_EQ(Shape(), "Consulta...");

    Load("select Codigo, Descripcion from ARBOL_UNO");
    tree->CmbSearch_KeyDown(116, 0);  // empty box: every non-Null description
    tree->SetSearchText("dos");
    tree->CmbSearch_KeyDown(116, 0);
    EXPECT_EQ(tree->Datos().SQL,
              "select Codigo, Descripcion from ARBOL_UNO where Descripcion like '%%'  and "
              "Descripcion like '%dos%' ");
    EXPECT_EQ(Shape(), "Consulta... (0102 - Uno dos, 02 - Dos)");
    tree->CmdNueva_Click();  // rebuilt from the filtered statement
    EXPECT_EQ(Shape(), "Consulta... (0102 - Uno dos, 02 - Dos)");
    EXPECT_TRUE(database.prompter->Boxes().empty());
}

}  // namespace
