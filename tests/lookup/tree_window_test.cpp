#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include "lookup/lib_frmcons3tree.h"
#include "lookup/lookup_fixture.h"

namespace {

void WhenShown(std::function<void(QWidget&)> operator_) {
    QTimer::singleShot(0, [operator_ = std::move(operator_)] {
        QWidget* window = QApplication::activeModalWidget();
        ASSERT_NE(window, nullptr);
        QApplication::setActiveWindow(window);
        operator_(*window);
    });
}

const char* const kPositions = R"sql(
INSERT INTO MA_POSICIONES (IDPOSICION, Descripcion, Deposito) VALUES
 ('01', 'Depósito central', '01'), ('0101', 'Estantería A', '01'), ('010101', 'Estante A1', '01'),
 ('02', 'Sucursal Norte', '02');
)sql";

TEST(TreeWindow, OperatorFindsTicksAndAccepts) {
    lookuptest::LookupDatabase database(kPositions);
    lookup::Lib_FrmCons3Tree window;
    window.Datos().SQL = "select IDPOSICION, Descripcion from MA_POSICIONES order by IDPOSICION";
    window.Datos().CampoDevuelto = "IDPOSICION";
    window.Datos().CheckBoxes = true;
    WhenShown([](QWidget& w) {
        EXPECT_EQ(w.windowTitle(), "Consulta...");
        auto& tree = *w.findChild<QTreeWidget*>("TreeV");
        auto& box = *w.findChild<QLineEdit*>("CmbSearch_0");
        EXPECT_EQ(box.toolTip(), "F5 realiza nueva busqueda");
        ASSERT_EQ(tree.topLevelItemCount(), 1);
        QTreeWidgetItem* root = tree.topLevelItem(0);
        EXPECT_EQ(root->text(0), "Consulta...");
        EXPECT_TRUE(root->isExpanded());
        ASSERT_EQ(root->childCount(), 2);

        box.setFocus();
        QTest::keyClicks(&box, "estan");
        EXPECT_EQ(tree.currentItem()->text(0), "0101 - Estantería A");
        tree.currentItem()->setCheckState(0, Qt::Checked);  // the operator ticks it
        EXPECT_EQ(tree.currentItem()->child(0)->checkState(0), Qt::Checked);
        QTest::mouseClick(w.findChild<QPushButton*>("CmdAceptar"), Qt::LeftButton);
    });
    window.Show();
    EXPECT_EQ(window.Datos().Valores, (lookup::Coleccion{{"0101", "010101"}}));
    window.Unload();

    lookup::Lib_FrmCons3Tree other;
    other.Datos().SQL = "select IDPOSICION, Descripcion from MA_POSICIONES";
    WhenShown(
        [](QWidget& w) { QTest::keyClick(w.findChild<QTreeWidget*>("TreeV"), Qt::Key_Escape); });
    other.Show();
    EXPECT_EQ(other.Datos().ValorDevuelto, adodb::Variant(""));
    EXPECT_FALSE(other.Datos().Valores.has_value());
}

}  // namespace
