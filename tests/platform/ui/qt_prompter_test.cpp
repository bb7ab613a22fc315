#include "platform/ui/qt_prompter.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>
#include <functional>

#include "platform/ui/qt_ports.h"

namespace {

struct SeenBox {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList captions;
    QString escapeCaption;
};

// Once the modal box is up, records what it shows and presses the button with `caption`
// (or Escape when the caption is empty).
void AnswerNextBox(SeenBox& seen, const QString& caption) {
    QTimer::singleShot(0, [&seen, caption] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            ADD_FAILURE() << "no message box is open";
            return;
        }
        seen.title = box->windowTitle();
        seen.text = box->text();
        seen.icon = box->icon();
        for (QAbstractButton* b : box->buttons()) seen.captions << b->text();
        if (box->escapeButton() != nullptr) seen.escapeCaption = box->escapeButton()->text();
        if (caption.isEmpty()) {
            box->reject();
            return;
        }
        for (QAbstractButton* b : box->buttons())
            if (b->text() == caption) return b->click();
        ADD_FAILURE() << "no button " << caption.toStdString();
        box->reject();
    });
}

TEST(QtPrompter, BuildsARealMessageBoxAndReturnsThePressedButton) {
    ui::QtPrompter p;
    struct Case {
        ui::Buttons buttons;
        ui::Icon icon;
        QMessageBox::Icon qtIcon;
        QStringList captions;
        QString press;
        int expected;
    } cases[] = {
        {ui::Buttons::OK,
         ui::Icon::Information,
         QMessageBox::Information,
         {"Aceptar"},
         "Aceptar",
         ui::kOK},
        {ui::Buttons::OKCancel,
         ui::Icon::None,
         QMessageBox::NoIcon,
         {"Aceptar", "Cancelar"},
         "Cancelar",
         ui::kCancel},
        {ui::Buttons::AbortRetryIgnore,
         ui::Icon::Critical,
         QMessageBox::Critical,
         {"Anular", "Reintentar", "Omitir"},
         "Omitir",
         ui::kIgnore},
        {ui::Buttons::YesNoCancel,
         ui::Icon::Question,
         QMessageBox::Question,
         {"Sí", "No", "Cancelar"},
         "No",
         ui::kNo},
        {ui::Buttons::YesNo,
         ui::Icon::Exclamation,
         QMessageBox::Warning,
         {"Sí", "No"},
         "Sí",
         ui::kYes},
        {ui::Buttons::RetryCancel,
         ui::Icon::Critical,
         QMessageBox::Critical,
         {"Reintentar", "Cancelar"},
         "Reintentar",
         ui::kRetry},
    };
    for (const auto& c : cases) {
        SeenBox seen;
        AnswerNextBox(seen, c.press);
        EXPECT_EQ(p.MsgBox("Primera\rSegunda", c.buttons, c.icon, "Aviso al operador"), c.expected);
        EXPECT_EQ(seen.title, "Aviso al operador");
        EXPECT_EQ(seen.text, "Primera\nSegunda");
        EXPECT_EQ(seen.icon, c.qtIcon);
        QStringList sortedSeen = seen.captions, sortedWanted = c.captions;
        sortedSeen.sort();
        sortedWanted.sort();
        EXPECT_EQ(sortedSeen, sortedWanted) << seen.captions.join(",").toStdString();
    }
}

TEST(QtPrompter, ClosingTheBoxGivesCancelOrNoAndUntitledBoxesShowTheApplicationTitle) {
    ui::QtPrompter p;
    SeenBox seen;
    AnswerNextBox(seen, "");
    EXPECT_EQ(p.MsgBox("¿Seguir?", ui::Buttons::YesNoCancel, ui::Icon::Question, ""), ui::kCancel);
    EXPECT_EQ(seen.title, "Depuraciones");
    EXPECT_EQ(seen.escapeCaption, "Cancelar");

    AnswerNextBox(seen, "");
    EXPECT_EQ(p.MsgBox("¿Seguir?", ui::Buttons::YesNo, ui::Icon::Question, ""), ui::kNo);
}

void AnswerNextInput(const QString& typed, bool accept, QString& label) {
    QTimer::singleShot(0, [typed, accept, &label] {
        auto* dialog = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) {
            ADD_FAILURE() << "no input box is open";
            return;
        }
        label = dialog->labelText() + "|" + dialog->textValue() + "|" + dialog->windowTitle();
        dialog->setTextValue(typed);
        accept ? dialog->accept() : dialog->reject();
    });
}

TEST(QtPrompter, InputBoxGivesTheTypedTextOrEmptyOnCancel) {
    ui::QtPrompter p;
    QString seen;
    AnswerNextInput("31/12/2004", true, seen);
    EXPECT_EQ(p.InputBox("Fecha de corte", "Depurar", "01/01/2004"), "31/12/2004");
    EXPECT_EQ(seen, "Fecha de corte|01/01/2004|Depurar");
    AnswerNextInput("31/12/2004", false, seen);
    EXPECT_EQ(p.InputBox("Fecha de corte", "", "01/01/2004"), "");
}

TEST(QtBusyPointer, SetsAndRestoresTheOverrideCursor) {
    ASSERT_EQ(QGuiApplication::overrideCursor(), nullptr);
    {
        ui::QtBusyPointer pointer;
        pointer.SetBusy(true);
        pointer.SetBusy(true);  // no second layer
        ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
        pointer.SetBusy(false);
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
        pointer.SetBusy(true);
    }
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);  // undone when the pointer goes
}

TEST(QtEventPump, RunsPendingEvents) {
    bool ran = false;
    QTimer::singleShot(0, [&ran] { ran = true; });
    ui::QtEventPump().ProcessEvents();
    EXPECT_TRUE(ran);
}

}  // namespace
