// The purge window on the offscreen platform: loading in both modes, the field validation,
// focus colours and keys, closing, and a whole purge driven through its controls.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "db/scripted_connection_dialog.h"
#include "platform/ui/ports.h"
#include "platform/ui/scripted_prompter.h"
#include "purge/frm_dep.h"
#include "run_support.h"
#include "startup/connection_dialog_setup.h"
#include "startup/mod_global.h"

namespace {

using purge::FrmDep;

const char* const kNotice =
    "No se ha detectado ningún ejercicio cerrado... Puede realizar la depuración hasta una "
    "determinada fecha!!!";
const std::string kConfirmation =
    "Se eliminarán físicamente los registros correspondientes al ejercicio seleccionado.\r\r"
    "Antes de realizar este proceso es recomendable realizar una copia de resguardo de la\r"
    "                 base de datos y Emitir los listados correspondientes.              \r\r"
    "                     ¿Realmente desea ejecutar este proceso?                        \r";
const std::string kCompleted =
    "El proceso finalizó con éxito!!!        \r"
    "Luego del proceso de depuración es recomendable realizar una compactación de la base de "
    "datos.";

// A prompter that also notes, in a shared log, when the completion message was shown.
class LoggingPrompter : public ui::ScriptedPrompter {
  public:
    std::function<void(const std::string&)> onBox;
    int MsgBox(const std::string& prompt, ui::Buttons buttons, ui::Icon icon,
               const std::string& title) override {
        if (onBox) onBox(prompt);
        return ScriptedPrompter::MsgBox(prompt, buttons, icon, title);
    }
};

class HookedPump : public ui::EventPump {
  public:
    std::function<void()> hook;
    void ProcessEvents() override {
        if (hook) std::exchange(hook, nullptr)();
    }
};

// Answers from the script like ScriptedPrompter, but first puts a real modal window over the
// active one for a moment, so the focus leaves the window and comes back as it does when the
// operator reads a message box.
class ModalPrompter : public LoggingPrompter {
  public:
    int MsgBox(const std::string& prompt, ui::Buttons buttons, ui::Icon icon,
               const std::string& title) override {
        QWidget* const active = QApplication::activeWindow();
        QDialog box(active);
        QElapsedTimer shown;
        shown.start();
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &box, [&] {
            if (QApplication::activeWindow() == &box || shown.elapsed() > 500) box.accept();
        });
        poll.start(5);
        box.exec();
        // The window manager gives the window its activation back.
        if (active != nullptr) {
            active->activateWindow();
            (void)QTest::qWaitForWindowActive(active);
        }
        return LoggingPrompter::MsgBox(prompt, buttons, icon, title);
    }
};

QColor Base(const QWidget* w) {
    return w->palette().color(QPalette::Base);
}
const QColor kCyan(0, 255, 255);
const QColor kWhite(255, 255, 255);

class FrmDepTest : public ::testing::Test {
  protected:
    FrmDepTest() {
        runtest::ResetGlobalDb();
        startup::ResetProgramEnded();
        startup::SetExitHandler([this](int status) { exits.push_back(status); });
        // The start-up must connect from the parameter string: a dialog would fail the test.
        startup::SetConnectionDialogFactory(dialogs->Factory());
    }
    ~FrmDepTest() override {
        runtest::ResetGlobalDb();
        startup::SetExitHandler({});
        startup::SetConnectionDialogFactory({});
        startup::ResetProgramEnded();
    }

    // Creates and loads the window on the demo database, started with its parameter string.
    std::unique_ptr<FrmDep> Load() {
        argument = runtest::ParameterStringFor(demo.Path());
        argv = {program.data(), argument.data()};
        startup::SetCommandLine(2, argv.data());
        auto w = std::make_unique<FrmDep>();
        w->Form_Load();
        return w;
    }

    template <class T>
    static T* Control(FrmDep& w, const char* name) {
        T* c = w.findChild<T*>(name);
        EXPECT_NE(c, nullptr) << name;
        return c;
    }

    static void Activate(FrmDep& w) {
        w.show();
        w.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    }

    void ExpectOneStop(const std::string& message) {
        ASSERT_EQ(boxes->Boxes().size(), 1u) << message;
        EXPECT_EQ(boxes->Boxes()[0].prompt, message);
        EXPECT_EQ(boxes->Boxes()[0].icon, ui::Icon::Critical);
        EXPECT_EQ(boxes->Boxes()[0].buttons, ui::Buttons::OK);
        EXPECT_EQ(boxes->Boxes()[0].title, "Aviso al operador");
    }

    runtest::ScopedRegional dmy;
    std::shared_ptr<LoggingPrompter> boxes = std::make_shared<ModalPrompter>();
    ui::ScopedPrompter scopedBoxes{boxes};
    std::shared_ptr<db::ConnectionDialogScript> dialogs =
        std::make_shared<db::ConnectionDialogScript>();
    std::vector<int> exits;
    runtest::DemoDatabase demo;
    std::string program = "depuraciones";
    std::string argument;
    std::vector<char*> argv;
};

TEST_F(FrmDepTest, LoadsInFiscalYearModeWhenThereAreClosedYears) {
    auto w = Load();

    EXPECT_TRUE(boxes->Boxes().empty());
    EXPECT_TRUE(w->bPorEjercicio());
    EXPECT_EQ(w->windowTitle(), "Depuraciones");
    auto* combo = Control<QComboBox>(*w, "txtFields");
    std::vector<std::string> listed;
    for (int i = 0; i < combo->count(); ++i) listed.push_back(combo->itemText(i).toStdString());
    std::sort(listed.begin(), listed.end());
    // 2022 is marked for closing (CIERRE) but not closed: it is listed all the same.
    EXPECT_EQ(listed, (std::vector<std::string>{"2019", "2020", "2021", "2022"}));
    EXPECT_EQ(combo->currentText(), "");
    EXPECT_TRUE(combo->isEnabled());
    EXPECT_TRUE(Control<QLabel>(*w, "lbln")->isEnabled());
    EXPECT_TRUE(Control<QLabel>(*w, "lblDesc")->isEnabled());
    EXPECT_EQ(Control<QLabel>(*w, "lblDesc")->text(), "...");
    EXPECT_FALSE(Control<QLabel>(*w, "lblHasta")->isEnabled());
    EXPECT_FALSE(Control<QLineEdit>(*w, "txtFecha")->isEnabled());
    EXPECT_FALSE(Control<QLabel>(*w, "ImgBasura")->isHidden());
    EXPECT_EQ(Control<QLabel>(*w, "ImgTachito")->pixmap().size(), QSize(32, 32));
    EXPECT_EQ(Control<QPushButton>(*w, "CmdAceptar")->text(), "&Aceptar");
    EXPECT_EQ(Control<QPushButton>(*w, "CmdCancelar")->text(), "&Cancelar");
}

TEST_F(FrmDepTest, LoadsInDateModeWithOneNoticeWhenNoYearIsClosed) {
    runtest::Exec(demo.Path(), "UPDATE MV_EJERCICIOS SET CIERRE = 0, CERRADO = 0");
    boxes->Answer(ui::kOK);
    auto w = Load();

    ASSERT_EQ(boxes->Boxes().size(), 1u);
    EXPECT_EQ(boxes->Boxes()[0].prompt, std::string("Atención, ") + kNotice);
    EXPECT_EQ(boxes->Boxes()[0].buttons, ui::Buttons::OK);
    EXPECT_EQ(boxes->Boxes()[0].icon, ui::Icon::None);
    EXPECT_EQ(boxes->Boxes()[0].title, "");
    EXPECT_FALSE(w->bPorEjercicio());
    auto* desc = Control<QLabel>(*w, "lblDesc");
    EXPECT_EQ(desc->text().toStdString(), kNotice);
    EXPECT_FALSE(desc->isEnabled());
    EXPECT_FALSE(Control<QLabel>(*w, "lbln")->isEnabled());
    EXPECT_FALSE(Control<QComboBox>(*w, "txtFields")->isEnabled());
    EXPECT_EQ(Control<QComboBox>(*w, "txtFields")->count(), 0);
    EXPECT_TRUE(Control<QLabel>(*w, "lblHasta")->isEnabled());
    EXPECT_TRUE(Control<QLineEdit>(*w, "txtFecha")->isEnabled());
    EXPECT_EQ(Control<QLineEdit>(*w, "txtFecha")->text(), "Fecha");
}

TEST_F(FrmDepTest, EnterValidatesTheFiscalYearCode) {
    struct Case {
        QString typed;
        std::string message;  // empty: no message
        QString description;  // lblDesc afterwards
    };
    const Case cases[] = {
        {"", "Debe ingresar código de ejercicio", "..."},
        {"1999", "Ejercicio inexistente!!!", "..."},
        {"2022", "El Ejercicio a depurar debe estar cerrado",
         "Ejercicio 2022  (Fecha Fin del Ejercicio: 31/12/2022)"},
        {" 2021 ", "", "Ejercicio 2021  (Fecha Fin del Ejercicio: 31/12/2021)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        runtest::ResetGlobalDb();
        boxes->Clear();
        auto w = Load();
        auto* combo = Control<QComboBox>(*w, "txtFields");
        const int listed = combo->count();
        combo->setEditText(c.typed);
        if (!c.message.empty()) boxes->Answer(ui::kOK);

        QTest::keyClick(combo, Qt::Key_Return);

        if (c.message.empty()) {
            EXPECT_TRUE(boxes->Boxes().empty());
        } else {
            ExpectOneStop(c.message);
        }
        EXPECT_EQ(Control<QLabel>(*w, "lblDesc")->text(), c.description);
        EXPECT_EQ(combo->count(), listed);  // Enter adds nothing to the list
    }
}

TEST_F(FrmDepTest, PickingAListEntryValidatesItAtOnce) {
    auto w = Load();
    Activate(*w);
    auto* combo = Control<QComboBox>(*w, "txtFields");
    const int row = combo->findText("2022");
    ASSERT_GE(row, 0);
    boxes->Answer(ui::kOK);

    combo->showPopup();
    QAbstractItemView* list = combo->view();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(list->window()));
    const QRect item = list->visualRect(combo->model()->index(row, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, item.center());

    ExpectOneStop("El Ejercicio a depurar debe estar cerrado");
    EXPECT_EQ(Control<QLabel>(*w, "lblDesc")->text(),
              "Ejercicio 2022  (Fecha Fin del Ejercicio: 31/12/2022)");
}

class FrmDepDateModeTest : public FrmDepTest {
  protected:
    FrmDepDateModeTest() {
        runtest::Exec(demo.Path(), "UPDATE MV_EJERCICIOS SET CIERRE = 0, CERRADO = 0");
        boxes->Answer(ui::kOK);  // the notice
        w = Load();
        boxes->Clear();
        fecha = Control<QLineEdit>(*w, "txtFecha");
    }
    std::unique_ptr<FrmDep> w;
    QLineEdit* fecha = nullptr;
};

TEST_F(FrmDepDateModeTest, EnterValidatesTheDateAndTabDoesNot) {
    Activate(*w);
    fecha->setFocus();
    fecha->setText("31/13/2004");
    QTest::keyClick(fecha, Qt::Key_Tab);  // leaving the box validates nothing
    EXPECT_TRUE(boxes->Boxes().empty());

    fecha->setFocus();
    boxes->Answer(ui::kOK);
    QTest::keyClick(fecha, Qt::Key_Return);
    ExpectOneStop("Debe ingresar una fecha válida!!!");

    boxes->Clear();
    fecha->setText("31/12/2004");
    QTest::keyClick(fecha, Qt::Key_Return);
    EXPECT_TRUE(boxes->Boxes().empty());
}

TEST_F(FrmDepDateModeTest, TypedCharactersPassTheDateFilterExceptEscape) {
    fecha->clear();
    QTest::keyClicks(fecha, "31-12.2004x");
    EXPECT_EQ(fecha->text(), "31/12/2004");  // "-" and "." become "/", letters are refused

    std::vector<int> filtered;
    w->SetDateKeyFilter([&](QLineEdit*, int& key) { filtered.push_back(key); });
    fecha->clear();
    QTest::keyClick(fecha, Qt::Key_1);
    QTest::keyClick(fecha, Qt::Key_Escape);
    EXPECT_EQ(filtered, (std::vector<int>{'1'}));
}

TEST_F(FrmDepDateModeTest, FocusedInputIsCyanWithItsTextSelected) {
    Activate(*w);
    auto* aceptar = Control<QPushButton>(*w, "CmdAceptar");
    aceptar->setFocus();
    fecha->setFocus();
    ASSERT_TRUE(fecha->hasFocus());
    EXPECT_EQ(fecha->palette().color(QPalette::Base), QColor(0, 255, 255));
    EXPECT_EQ(fecha->selectedText(), "Fecha");

    aceptar->setFocus();
    EXPECT_EQ(fecha->palette().color(QPalette::Base), QColor(255, 255, 255));
}

TEST_F(FrmDepTest, FocusedComboIsCyanWithItsTextSelected) {
    auto w = Load();
    Activate(*w);
    auto* combo = Control<QComboBox>(*w, "txtFields");
    auto* cancelar = Control<QPushButton>(*w, "CmdCancelar");
    cancelar->setFocus();
    combo->setEditText("2021");
    combo->setFocus();
    ASSERT_TRUE(combo->hasFocus());
    EXPECT_EQ(combo->palette().color(QPalette::Base), QColor(0, 255, 255));
    EXPECT_EQ(combo->lineEdit()->selectedText(), "2021");
    cancelar->setFocus();
    EXPECT_EQ(combo->palette().color(QPalette::Base), QColor(255, 255, 255));
}

TEST_F(FrmDepTest, ComboStaysCyanThroughAKeyboardPick) {
    // Every listed year is one the validation refuses, so the pick brings a message box.
    runtest::Exec(demo.Path(), "UPDATE MV_EJERCICIOS SET CERRADO = 0");
    auto w = Load();
    Activate(*w);
    auto* combo = Control<QComboBox>(*w, "txtFields");
    combo->setFocus();
    ASSERT_EQ(Base(combo), kCyan);

    QTest::keyClick(combo, Qt::Key_Down, Qt::AltModifier);  // opens the list
    QAbstractItemView* list = combo->view();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(list->window()));
    EXPECT_EQ(Base(combo), kCyan);
    boxes->Answer(ui::kOK);
    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Return);

    ASSERT_EQ(boxes->Boxes().size(), 1u);
    EXPECT_EQ(boxes->Boxes()[0].prompt, "El Ejercicio a depurar debe estar cerrado");
    EXPECT_FALSE(list->window()->isVisible());
    EXPECT_TRUE(combo->hasFocus());
    EXPECT_EQ(Base(combo), kCyan);
    Control<QPushButton>(*w, "CmdAceptar")->setFocus();
    EXPECT_EQ(Base(combo), kWhite);
}

TEST_F(FrmDepTest, NeverShrinksBelowWhatItsTextsNeed) {
    for (const bool dateMode : {false, true}) {
        SCOPED_TRACE(dateMode ? "date mode" : "fiscal-year mode");
        runtest::ResetGlobalDb();
        boxes->Clear();
        if (dateMode) {
            runtest::Exec(demo.Path(), "UPDATE MV_EJERCICIOS SET CIERRE = 0, CERRADO = 0");
            boxes->Answer(ui::kOK);
        }
        auto w = Load();
        if (!dateMode) {
            auto* combo = Control<QComboBox>(*w, "txtFields");
            combo->setEditText("2021");
            QTest::keyClick(combo, Qt::Key_Return);  // a description in lblDesc
        }
        Activate(*w);
        w->resize(1, 1);
        QApplication::processEvents();
        EXPECT_EQ(w->size(), w->minimumSize());
        for (const QLabel* label : w->findChildren<QLabel*>()) {
            if (!label->pixmap().isNull()) continue;
            SCOPED_TRACE(label->objectName().toStdString());
            if (label->wordWrap()) {
                EXPECT_GE(label->height(), label->heightForWidth(label->width()));
            } else {
                EXPECT_GE(label->width(), label->sizeHint().width());
                EXPECT_GE(label->height(), label->sizeHint().height());
            }
        }
    }
}

TEST_F(FrmDepTest, ARunLocksButtonsAndInputsAndRestoresThem) {
    auto w = Load();
    Activate(*w);
    auto* aceptar = Control<QPushButton>(*w, "CmdAceptar");
    auto* cancelar = Control<QPushButton>(*w, "CmdCancelar");
    auto* combo = Control<QComboBox>(*w, "txtFields");
    auto* fecha = Control<QLineEdit>(*w, "txtFecha");
    combo->setEditText("2021");
    boxes->Answer(ui::kYes);
    boxes->Answer(ui::kOK);

    // In the middle of the first step: nothing takes input, a pick from the list reaches no
    // validation, and the window stays.
    auto pump = std::make_shared<HookedPump>();
    std::vector<bool> enabledDuringRun;
    bool closedDuringRun = true;
    std::size_t boxesDuringRun = 0;
    pump->hook = [&] {
        for (QWidget* c : std::initializer_list<QWidget*>{aceptar, cancelar, combo, fecha})
            enabledDuringRun.push_back(c->isEnabled());
        closedDuringRun = w->close();
        QTest::mouseClick(cancelar, Qt::LeftButton);
        const std::size_t before = boxes->Boxes().size();
        emit combo->activated(combo->findText("2022"));
        QTest::keyClick(combo, Qt::Key_Return);
        boxesDuringRun = boxes->Boxes().size() - before;
    };
    {
        ui::ScopedEventPump scopedPump(pump);
        QTest::mouseClick(aceptar, Qt::LeftButton);
    }
    EXPECT_EQ(enabledDuringRun, (std::vector<bool>{false, false, false, false}));
    EXPECT_FALSE(closedDuringRun);
    EXPECT_EQ(boxesDuringRun, 0u);
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(w->LastRun().started);
    // As they were: both buttons, the combo on, the date box still off in this mode, the
    // focus back on the button that started the run.
    EXPECT_TRUE(aceptar->isEnabled());
    EXPECT_TRUE(cancelar->isEnabled());
    EXPECT_TRUE(combo->isEnabled());
    EXPECT_FALSE(fecha->isEnabled());
    EXPECT_TRUE(aceptar->hasFocus());
    EXPECT_EQ(combo->currentText(), "2021");

    QTest::mouseClick(cancelar, Qt::LeftButton);
    EXPECT_TRUE(w->isHidden());
}

TEST_F(FrmDepTest, ARefusedInputGetsTheFocusBackAfterTheRun) {
    auto w = Load();
    Activate(*w);
    auto* combo = Control<QComboBox>(*w, "txtFields");
    Control<QPushButton>(*w, "CmdCancelar")->setFocus();
    boxes->Answer(ui::kOK);
    QTest::mouseClick(Control<QPushButton>(*w, "CmdAceptar"), Qt::LeftButton);
    ASSERT_EQ(boxes->Boxes().size(), 1u);
    EXPECT_EQ(boxes->Boxes()[0].prompt, "Debe informar el número de ejercicio a depurar");
    EXPECT_TRUE(combo->isEnabled());
    EXPECT_TRUE(combo->hasFocus());
    EXPECT_EQ(Base(combo), kCyan);
}

TEST_F(FrmDepTest, ValidatesOnEnterOrPickOnlyOnceAndNeverOnLeaving) {
    auto w = Load();
    Activate(*w);
    auto* combo = Control<QComboBox>(*w, "txtFields");
    auto* aceptar = Control<QPushButton>(*w, "CmdAceptar");

    // Typed: the box completes the code from the list; one Enter, one message, though the
    // message box takes the focus from the combo and gives it back.
    combo->setFocus();
    QTest::keyClicks(combo, "2022");
    ASSERT_EQ(combo->currentText(), "2022");
    boxes->Answer(ui::kOK);
    QTest::keyClick(combo, Qt::Key_Return);
    ExpectOneStop("El Ejercicio a depurar debe estar cerrado");
    EXPECT_TRUE(combo->hasFocus());

    // Leaving by Tab, or by a click on Aceptar, validates nothing: the click reaches the run,
    // whose own check is the one message.
    boxes->Clear();
    combo->setFocus();
    QTest::keyClicks(combo, "2022");
    QTest::keyClick(combo, Qt::Key_Tab);
    EXPECT_FALSE(combo->hasFocus());
    EXPECT_TRUE(boxes->Boxes().empty());
    combo->setFocus();
    QTest::keyClicks(combo, "2022");
    boxes->Answer(ui::kOK);
    QTest::mouseClick(aceptar, Qt::LeftButton);
    ASSERT_EQ(boxes->Boxes().size(), 1u);
    EXPECT_EQ(boxes->Boxes()[0].prompt, "El Ejercicio a depurar debe estar cerrado");
    EXPECT_TRUE(combo->hasFocus());  // the run sends the operator back to the code
}

TEST_F(FrmDepTest, ClosingHidesTheWindow) {
    auto w = Load();
    Activate(*w);
    EXPECT_TRUE(w->close());
    EXPECT_TRUE(w->isHidden());
}

TEST_F(FrmDepTest, PurgesAClosedYearPickedInTheWindow) {
    struct Kept {
        const char* table;
        std::string query;
    };
    const std::string cut = "'2021-12-31 00:00:00'";
    const Kept kept[] = {
        {"MV_APLICACION",
         "SELECT ID FROM MV_APLICACION x WHERE NOT EXISTS (SELECT 1 FROM MV_ASIENTOS a WHERE "
         "a.Cuenta = x.CUENTA AND a.TC = x.TC AND a.SUCURSAL = x.SUCURSAL AND a.NUMERO = "
         "x.NUMERO AND a.Letra = x.Letra AND a.FECHA <= " +
             cut + ")"},
        {"V_MV_CPTEDOC",
         "SELECT ID FROM V_MV_CPTEDOC x WHERE NOT EXISTS (SELECT 1 FROM V_MV_CPTE h WHERE "
         "h.TC = x.TC AND h.IDCOMPROBANTE = x.IDCOMPROBANTE AND h.FECHA <= " +
             cut + ")"},
        {"V_MV_CPTE", "SELECT ID FROM V_MV_CPTE WHERE NOT (FECHA <= " + cut + ")"},
        {"C_MV_CPTETAREAS",
         "SELECT ID FROM C_MV_CPTETAREAS x WHERE NOT EXISTS (SELECT 1 FROM C_MV_CPTE h WHERE "
         "h.TC = x.TC AND h.CUENTA = x.CUENTA AND h.IDCOMPROBANTE = x.IDCOMPROBANTE AND "
         "h.FECHA <= " +
             cut + ")"},
        {"C_MV_CPTE", "SELECT ID FROM C_MV_CPTE WHERE NOT (FECHA <= " + cut + ")"},
    };
    std::vector<std::vector<long long>> expected;
    for (const Kept& k : kept)
        expected.push_back(runtest::QueryIds(demo.Path(), k.query + " ORDER BY ID"));

    auto w = Load();
    Activate(*w);
    auto* combo = Control<QComboBox>(*w, "txtFields");
    auto* bar = Control<QProgressBar>(*w, "PBDepurar");
    std::vector<int> seen;  // progress values as the bar shows them; -1: completion message
    QObject::connect(bar, &QProgressBar::valueChanged, [&](int v) { seen.push_back(v); });
    boxes->onBox = [&](const std::string& prompt) {
        if (prompt == kCompleted) seen.push_back(-1);
    };

    combo->setFocus();
    QTest::keyClicks(combo, "2021");
    QTest::keyClick(combo, Qt::Key_Return);
    EXPECT_TRUE(boxes->Boxes().empty());
    auto* aceptar = Control<QPushButton>(*w, "CmdAceptar");

    // Declined first: nothing moves.
    const auto untouched = runtest::QueryIds(demo.Path(), "SELECT ID FROM V_MV_CPTE ORDER BY ID");
    boxes->Answer(ui::kNo);
    boxes->Answer(ui::kOK);
    QTest::mouseClick(aceptar, Qt::LeftButton);
    ASSERT_EQ(boxes->Boxes().size(), 2u);
    EXPECT_EQ(boxes->Boxes()[0].prompt, kConfirmation);
    EXPECT_EQ(boxes->Boxes()[1].prompt, "Depuración Cancelada!!!");
    EXPECT_TRUE(seen.empty());
    EXPECT_EQ(runtest::QueryIds(demo.Path(), "SELECT ID FROM V_MV_CPTE ORDER BY ID"), untouched);

    boxes->Clear();
    boxes->Answer(ui::kYes);
    boxes->Answer(ui::kOK);
    QTest::mouseClick(aceptar, Qt::LeftButton);

    ASSERT_EQ(boxes->Boxes().size(), 2u);
    EXPECT_EQ(boxes->Boxes()[0].prompt, kConfirmation);
    EXPECT_EQ(boxes->Boxes()[1].prompt, kCompleted);
    for (std::size_t i = 0; i < std::size(kept); ++i) {
        EXPECT_EQ(runtest::QueryIds(
                      demo.Path(), std::string("SELECT ID FROM ") + kept[i].table + " ORDER BY ID"),
                  expected[i])
            << kept[i].table;
    }

    // The bar shows each batched step's band in steps of 5 up to its end, rises steadily to
    // 1200, and goes back to 0 once the completion message is closed.
    EXPECT_EQ(bar->maximum(), 1200);
    ASSERT_GE(seen.size(), 3u);
    EXPECT_EQ(seen[seen.size() - 3], 1200);
    EXPECT_EQ(seen[seen.size() - 2], -1);
    EXPECT_EQ(seen.back(), 0);
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end() - 2));
    for (int step : {1, 4, 5, 6, 7, 8, 9, 10, 11, 12}) {
        for (int v = 100 * (step - 1) + 5; v <= 100 * step; v += 5) {
            EXPECT_NE(std::find(seen.begin(), seen.end(), v), seen.end()) << v;
        }
    }
    EXPECT_EQ(combo->currentText(), "2021");  // inputs unchanged, ready for another run
}

}  // namespace
