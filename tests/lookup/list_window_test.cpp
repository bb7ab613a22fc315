#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QApplication>
#include <QColor>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <functional>

#include "lookup/lib_frmcons3.h"
#include "lookup/lookup_fixture.h"

namespace {

using lookup::Lib_FrmCons3;

// Runs `operator_` once the modal window is up, as an operator would act on it.
void WhenShown(std::function<void(QWidget&)> operator_) {
    QTimer::singleShot(0, [operator_ = std::move(operator_)] {
        QWidget* window = QApplication::activeModalWidget();
        ASSERT_NE(window, nullptr);
        // The offscreen platform activates nothing by itself; focus needs an active window.
        QApplication::setActiveWindow(window);
        operator_(*window);
    });
}

template <class W>
W& Child(QWidget& window, const char* name) {
    W* w = window.findChild<W*>(name);
    if (w == nullptr) throw std::runtime_error(std::string("no control ") + name);
    return *w;
}

class ListWindowTest : public ::testing::Test {
  protected:
    ListWindowTest() : database(lookuptest::ArticlesSql()) {}

    std::unique_ptr<Lib_FrmCons3> Window(const std::string& sql) {
        auto window = std::make_unique<Lib_FrmCons3>(database.Reader());
        window->Logic().SetWidthsFolder(database.Dir().Path().string());
        window->Datos().SQL = sql;
        return window;
    }

    lookuptest::LookupDatabase database;
};

TEST_F(ListWindowTest, OperatorTypesMovesToTheListAndAcceptsWithEnter) {
    auto window = Window("select DESCRIPCION, IDARTICULO from V_MA_ARTICULOS order by IDARTICULO");
    window->Datos().CampoDevuelto = "IDARTICULO";
    window->Datos().CmpsDevueltos = std::vector<std::string>{"DESCRIPCION"};
    std::string selected;
    WhenShown([&](QWidget& w) {
        EXPECT_EQ(w.windowTitle(), "Consulta...");
        EXPECT_EQ(Child<QPushButton>(w, "CmdNueva").text(), "&Nueva Busqueda");
        EXPECT_EQ(Child<QPushButton>(w, "CmdCancelar").text(), "&Cancelar");
        auto& list = Child<QTreeView>(w, "ListView1");
        EXPECT_EQ(list.model()->rowCount(), 11);
        EXPECT_EQ(list.model()->headerData(1, Qt::Horizontal).toString(), "IDARTICULO");
        auto& box0 = Child<QLineEdit>(w, "CmbSearch_0");
        EXPECT_EQ(box0.toolTip(), "F5 realiza nueva busqueda");
        EXPECT_TRUE(Child<QLineEdit>(w, "CmbSearch_1").isVisible());
        EXPECT_GT(Child<QScrollBar>(w, "HScroll1").maximum(), 0);

        box0.setFocus();
        QTest::keyClicks(&box0, "tarU");
        selected = list.currentIndex().data().toString().toStdString();
        QTest::keyClick(&box0, Qt::Key_Down);
        EXPECT_TRUE(list.hasFocus());
        QTest::keyClick(&list, Qt::Key_Return);
    });
    window->Show();
    EXPECT_EQ(selected, "Tarugo de nylon");
    EXPECT_EQ(window->Datos().ValorDevuelto, adodb::Variant("A05"));
    EXPECT_EQ(window->Datos().Valores, (lookup::Coleccion{{"Tarugo de nylon"}}));
    window->Unload();
}

TEST_F(ListWindowTest, EscapeAndTheFrameCancel) {
    for (const bool escape : {true, false}) {
        auto window = Window("select IDARTICULO from V_MA_ARTICULOS");
        WhenShown([&](QWidget& w) {
            auto& list = Child<QTreeView>(w, "ListView1");
            list.setCurrentIndex(list.model()->index(0, 0));
            if (escape) {
                QTest::keyClick(&list, Qt::Key_Escape);
            } else {
                w.close();
            }
        });
        window->Show();
        EXPECT_EQ(window->Datos().ValorDevuelto, adodb::Variant("")) << escape;
        EXPECT_FALSE(window->Datos().Valores.has_value());
        EXPECT_FALSE(window->isVisible());
    }
}

TEST_F(ListWindowTest, KeysOnTheListTicksColoursAndFilter) {
    auto window = Window(
        "select IDARTICULO, DESCRIPCION, PUNTOPEDIDO, Stock from V_MA_ARTICULOS where "
        "IDARTICULO like 'A%' order by IDARTICULO");
    window->Datos().CheckBoxes = true;
    window->Datos().ValoresDefault = "A02";
    window->Datos().CampoDevuelto = "IDARTICULO";
    window->Datos().MuestraStock = "SI";
    window->Datos().StkNivel1 = adodb::Variant("255");  // red
    database.prompter->Answer(ui::kNo);                 // the shortage question
    WhenShown([&](QWidget& w) {
        auto& list = Child<QTreeView>(w, "ListView1");
        QAbstractItemModel& model = *list.model();
        EXPECT_EQ(model.index(1, 0).data(Qt::CheckStateRole).toInt(), Qt::Checked);
        EXPECT_EQ(model.index(4, 0).data(Qt::ForegroundRole).value<QColor>(), QColor(255, 0, 0));
        EXPECT_TRUE(model.index(4, 0).data(Qt::FontRole).value<QFont>().bold());
        model.setData(model.index(3, 0), Qt::Checked, Qt::CheckStateRole);

        list.setFocus();
        list.setCurrentIndex(model.index(0, 0));
        QTest::keyClick(&list, Qt::Key_F12);
        QTest::keyClick(&list, Qt::Key_5, Qt::KeypadModifier);
        auto& box0 = Child<QLineEdit>(w, "CmbSearch_0");
        EXPECT_EQ(box0.text(), "5");
        EXPECT_TRUE(box0.hasFocus());
        QTest::keyClick(&box0, Qt::Key_Backspace);
        QTest::keyClicks(&box0, "A0");
        QTest::keyClick(&box0, Qt::Key_F5);
        EXPECT_NE(window->Datos().SQL.find("and IDARTICULO like 'A0%'"), std::string::npos);
        EXPECT_EQ(model.rowCount(), 7);
        QTest::mouseClick(&Child<QPushButton>(w, "CmdAceptar"), Qt::LeftButton);
    });
    window->Show();
    ASSERT_EQ(database.prompter->Boxes().size(), 1U);
    EXPECT_EQ(database.prompter->Boxes()[0].title, "Atención!");
    // The filter reloaded the list: only the pre-ticked row is ticked again.
    EXPECT_EQ(window->Datos().Valores, (lookup::Coleccion{{"A02"}}));
    window->Unload();
}

}  // namespace
