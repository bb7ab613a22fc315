#include "platform/ui/qt_prompter.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTextLayout>
#include <QTimer>
#include <functional>

#include "platform/ui/box_buttons.h"
#include "platform/ui/message_dialog.h"
#include "platform/ui/qt_ports.h"

namespace {

struct SeenBox {
    QString title;
    QString text;
    ui::Icon icon = ui::Icon::None;
    QStringList captions;
    int lines = 0;       // text lines as the label lays them out in its own width
    int width = 0;       // of the box
    int titleWidth = 0;  // of its title in the box's font
};

// The number of lines the label's text takes in the label's width, wrapping where needed.
int ShownLines(const QLabel& label) {
    int lines = 0;
    for (const QString& line : label.text().split('\n')) {
        QTextLayout layout(line, label.font());
        layout.beginLayout();
        for (QTextLine l = layout.createLine(); l.isValid(); l = layout.createLine()) {
            l.setLineWidth(label.contentsRect().width());
            ++lines;
        }
        layout.endLayout();
    }
    return lines;
}

// Once the modal box is up, records what it shows and then answers it with `act`: a key
// typed on the box, or the click of the button with `caption` (Escape when it is empty).
void AnswerNextBox(SeenBox& seen, const QString& caption,
                   std::function<void(QDialog&)> act = nullptr) {
    QTimer::singleShot(0, [&seen, caption, act] {
        auto* box = dynamic_cast<ui::MessageDialog*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            ADD_FAILURE() << "no message box is open";
            return;
        }
        seen.title = box->windowTitle();
        seen.text = box->TextLabel()->text();
        seen.icon = box->IconShown();
        seen.captions.clear();
        for (QPushButton* b : box->ButtonsShown()) seen.captions << b->text();
        seen.lines = ShownLines(*box->TextLabel());
        seen.width = box->width();
        seen.titleWidth = QFontMetrics(box->font()).horizontalAdvance(box->windowTitle());
        if (act) return act(*box);
        if (caption.isEmpty()) return QTest::keyClick(box, Qt::Key_Escape);
        for (QPushButton* b : box->ButtonsShown())
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
        QStringList captions;
        QString press;
        int expected;
    } cases[] = {
        {ui::Buttons::OK, ui::Icon::Information, {"&Aceptar"}, "&Aceptar", ui::kOK},
        {ui::Buttons::OKCancel,
         ui::Icon::None,
         {"&Aceptar", "&Cancelar"},
         "&Cancelar",
         ui::kCancel},
        {ui::Buttons::AbortRetryIgnore,
         ui::Icon::Critical,
         {"&Anular", "&Reintentar", "&Omitir"},
         "&Omitir",
         ui::kIgnore},
        {ui::Buttons::YesNoCancel, ui::Icon::Question, {"&Sí", "&No", "&Cancelar"}, "&No", ui::kNo},
        {ui::Buttons::YesNo, ui::Icon::Exclamation, {"&Sí", "&No"}, "&Sí", ui::kYes},
        {ui::Buttons::RetryCancel,
         ui::Icon::Critical,
         {"&Reintentar", "&Cancelar"},
         "&Reintentar",
         ui::kRetry},
    };
    for (const auto& c : cases) {
        SeenBox seen;
        AnswerNextBox(seen, c.press);
        EXPECT_EQ(p.MsgBox("Primera\rSegunda", c.buttons, c.icon, "Aviso al operador"), c.expected);
        EXPECT_EQ(seen.title, "Aviso al operador");
        EXPECT_EQ(seen.text, "Primera\nSegunda");
        EXPECT_EQ(seen.icon, c.icon);
        EXPECT_EQ(seen.captions, c.captions);
    }
}

TEST(QtPrompter, ClosingTheBoxGivesCancelOrNoAndUntitledBoxesShowTheApplicationTitle) {
    ui::QtPrompter p;
    SeenBox seen;
    AnswerNextBox(seen, "");
    EXPECT_EQ(p.MsgBox("¿Seguir?", ui::Buttons::YesNoCancel, ui::Icon::Question, ""), ui::kCancel);
    EXPECT_EQ(seen.title, "Depuraciones");

    AnswerNextBox(seen, "");
    EXPECT_EQ(p.MsgBox("¿Seguir?", ui::Buttons::YesNo, ui::Icon::Question, ""), ui::kNo);
    AnswerNextBox(seen, {}, [](QDialog& box) { box.close(); });
    EXPECT_EQ(p.MsgBox("¿Seguir?", ui::Buttons::OKCancel, ui::Icon::None, ""), ui::kCancel);
}

TEST(QtPrompter, ButtonLettersAnswerWithOrWithoutAlt) {
    ui::QtPrompter p;
    struct Case {
        ui::Buttons buttons;
        char key;
        Qt::KeyboardModifiers mods;
        int expected;
    } cases[] = {
        {ui::Buttons::YesNo, 'n', Qt::NoModifier, ui::kNo},
        {ui::Buttons::YesNo, 's', Qt::AltModifier, ui::kYes},
        {ui::Buttons::AbortRetryIgnore, 'r', Qt::NoModifier, ui::kRetry},
        {ui::Buttons::AbortRetryIgnore, 'o', Qt::AltModifier, ui::kIgnore},
        {ui::Buttons::OKCancel, 'c', Qt::NoModifier, ui::kCancel},
    };
    for (const auto& c : cases) {
        SeenBox seen;
        AnswerNextBox(seen, {}, [&c](QDialog& box) { QTest::keyClick(&box, c.key, c.mods); });
        EXPECT_EQ(p.MsgBox("¿Seguir?", c.buttons, ui::Icon::Question, "Aviso al operador"),
                  c.expected)
            << c.key;
    }
}

TEST(QtPrompter, TextsKeepTheirOwnLinesAndTitlesFit) {
    ui::QtPrompter p;
    const std::string texts[] = {
        "Se eliminarán físicamente los registros correspondientes al ejercicio seleccionado.\r\r"
        "Antes de realizar este proceso es recomendable realizar una copia de resguardo de la\r"
        "                 base de datos y Emitir los listados correspondientes.              \r\r"
        "                     ¿Realmente desea ejecutar este proceso?                        \r",
        "La fecha hasta donde quiere depurar no puede ser posterior a la fecha de hoy!!!",
        "Depuración Cancelada!!!",
    };
    for (const std::string& text : texts) {
        SeenBox seen;
        AnswerNextBox(seen, "&No");
        p.MsgBox(text, ui::Buttons::YesNo, ui::Icon::Information, "Aviso al operador");
        const QString shown = QString::fromStdString(ui::WithLineBreaks(text));
        EXPECT_EQ(seen.text, shown);  // blanks kept, CR as a line break
        EXPECT_EQ(seen.lines, shown.count('\n') + 1) << text;
        EXPECT_GT(seen.width, seen.titleWidth + 100) << text;
    }

    // A line longer than the screen is the one case that wraps, within the screen.
    SeenBox seen;
    AnswerNextBox(seen, "&Aceptar");
    p.MsgBox(std::string(600, 'x') + " " + std::string(600, 'y'), ui::Buttons::OK,
             ui::Icon::Critical, "Aviso al operador");
    EXPECT_GT(seen.lines, 1);
    EXPECT_LE(seen.width, QGuiApplication::primaryScreen()->availableGeometry().width());
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
