#include "startup/frm_acceso.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <functional>

namespace {

using startup::frmAcceso;

// Runs `action` once the modal loop of the dialog is running, then shows it modally.
void ShowModalAnd(frmAcceso& dialog, std::function<void()> action) {
    QTimer::singleShot(0, &dialog, std::move(action));
    dialog.ShowModal();
}

TEST(FrmAcceso, ControlsCaptionsAndFonts) {
    frmAcceso dialog;
    EXPECT_EQ(dialog.windowTitle(), "Control de Acceso");
    for (const char* name : {"framAcceso", "lbUsuario", "lbcontrasena", "Label1", "Label2",
                             "TxtUserId", "TxtUserPassword", "TxtDbName", "TxtServidor",
                             "CboPlataformaDB", "bcAceptar", "bcCancelar"}) {
        EXPECT_NE(dialog.findChild<QWidget*>(name), nullptr) << name;
    }
    EXPECT_EQ(dialog.lbUsuario->text(), "&Usuario");
    EXPECT_EQ(dialog.lbcontrasena->text(), "&Contraseña");
    EXPECT_EQ(dialog.Label1->text(), "&Base de Datos");
    EXPECT_EQ(dialog.Label2->text(), "&Servidor");
    EXPECT_EQ(dialog.lbUsuario->buddy(), dialog.TxtUserId);
    EXPECT_EQ(dialog.Label2->buddy(), dialog.TxtServidor);
    EXPECT_EQ(dialog.bcAceptar->text(), "Aceptar");
    EXPECT_EQ(dialog.bcCancelar->text(), "Cancelar");
    ASSERT_EQ(dialog.CboPlataformaDB->count(), 2);
    EXPECT_EQ(dialog.CboPlataformaDB->itemText(0), "SQL Server");
    EXPECT_EQ(dialog.CboPlataformaDB->itemText(1), "ORACLE");
    EXPECT_EQ(dialog.lbUsuario->font().family(), "Courier");
    EXPECT_EQ(dialog.TxtUserId->font().family(), "MS Sans Serif");
    EXPECT_FALSE(dialog.Aceptar());
}

TEST(FrmAcceso, LayoutAndPlaceOnTheScreen) {
    frmAcceso dialog;
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(dialog.x(), screen.x() + (screen.width() - dialog.width()) / 2);
    EXPECT_EQ(dialog.y(), screen.y() + (screen.height() - dialog.height()) / 2);

    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    const QLineEdit* fields[] = {dialog.TxtUserId, dialog.TxtUserPassword, dialog.TxtDbName,
                                 dialog.TxtServidor};
    const QLabel* labels[] = {dialog.lbUsuario, dialog.lbcontrasena, dialog.Label1, dialog.Label2};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(fields[i]->width(), dialog.TxtUserId->width());
        EXPECT_LT(labels[i]->geometry().right(), fields[i]->geometry().left());
        if (i > 0) {
            EXPECT_GT(fields[i]->y(), fields[i - 1]->y());
        }
    }
    EXPECT_GT(dialog.CboPlataformaDB->y(), dialog.TxtServidor->y());
    EXPECT_LT(dialog.bcAceptar->x(), dialog.bcCancelar->x());
    EXPECT_EQ(dialog.bcAceptar->y(), dialog.bcCancelar->y());
    EXPECT_GT(dialog.bcAceptar->mapTo(&dialog, QPoint()).y(),
              dialog.CboPlataformaDB->mapTo(&dialog, QPoint()).y());
}

TEST(FrmAcceso, TabOrder) {
    frmAcceso dialog;
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    dialog.TxtUserId->setFocus();
    QStringList order;
    for (int i = 0; i < 8; ++i) {
        QWidget* focused = QApplication::focusWidget();
        ASSERT_NE(focused, nullptr);
        order << focused->objectName();
        QTest::keyClick(focused, Qt::Key_Tab);
    }
    EXPECT_EQ(order, (QStringList{"TxtUserId", "TxtUserPassword", "TxtDbName", "TxtServidor",
                                  "CboPlataformaDB", "bcAceptar", "bcCancelar", "TxtUserId"}));
}

TEST(FrmAcceso, BoxesFilledAndReadBackPasswordMasked) {
    frmAcceso dialog;
    dialog.SetBoxes("EMPRESA", "SRV01", "ana", "contraseña");
    dialog.SelectPlatform(0);
    EXPECT_EQ(dialog.TxtDbName->text(), "EMPRESA");
    EXPECT_EQ(dialog.TxtServidor->text(), "SRV01");
    EXPECT_EQ(dialog.TxtUserId->text(), "ana");
    EXPECT_EQ(dialog.TxtUserPassword->displayText(), "**********");
    EXPECT_EQ(dialog.Password(), "contraseña");

    dialog.TxtUserPassword->clear();
    QTest::keyClicks(dialog.TxtUserPassword, "se cr3to!");
    EXPECT_EQ(dialog.TxtUserPassword->displayText(), "*********");
    EXPECT_EQ(dialog.Password(), "se cr3to!");
    EXPECT_EQ(dialog.DbName(), "EMPRESA");
    EXPECT_EQ(dialog.Server(), "SRV01");
    EXPECT_EQ(dialog.UserId(), "ana");
    EXPECT_EQ(dialog.SelectedPlatform(), 0);
    dialog.CboPlataformaDB->setCurrentIndex(1);
    EXPECT_EQ(dialog.SelectedPlatform(), 1);
}

TEST(FrmAcceso, AnswerOfTheModalShowing) {
    struct Case {
        const char* how;
        std::function<void(frmAcceso&)> close;
        bool aceptar;
    };
    const Case cases[] = {
        {"Aceptar", [](frmAcceso& d) { QTest::mouseClick(d.bcAceptar, Qt::LeftButton); }, true},
        {"Cancelar", [](frmAcceso& d) { QTest::mouseClick(d.bcCancelar, Qt::LeftButton); }, false},
        {"close box", [](frmAcceso& d) { d.close(); }, false},
        {"Escape", [](frmAcceso& d) { QTest::keyClick(&d, Qt::Key_Escape); }, false},
    };
    for (const Case& c : cases) {
        frmAcceso dialog;
        dialog.SetBoxes("EMPRESA", "SRV01", "ana", "pw");
        ShowModalAnd(dialog, [&] {
            dialog.TxtServidor->setText("SRV02");
            dialog.CboPlataformaDB->setCurrentIndex(1);
            c.close(dialog);
        });
        EXPECT_EQ(dialog.Aceptar(), c.aceptar) << c.how;
        EXPECT_FALSE(dialog.isVisible()) << c.how;
        // Hidden, not destroyed: the boxes can still be read.
        EXPECT_EQ(dialog.Server(), "SRV02") << c.how;
        EXPECT_EQ(dialog.SelectedPlatform(), 1) << c.how;
    }
}

TEST(FrmAcceso, CancelAfterAnEarlierAcceptIsACancel) {
    frmAcceso dialog;
    ShowModalAnd(dialog, [&] { dialog.bcAceptar->click(); });
    ASSERT_TRUE(dialog.Aceptar());
    ShowModalAnd(dialog, [&] { dialog.bcCancelar->click(); });
    EXPECT_FALSE(dialog.Aceptar());
}

}  // namespace
