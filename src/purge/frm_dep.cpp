#include "purge/frm_dep.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <cmath>

#include "platform/text/regional.h"
#include "platform/text/strings.h"
#include "platform/ui/ports.h"
#include "purge/fiscal_years.h"
#include "purge/key_codes.h"
#include "purge/procedure_errors.h"
#include "purge/suite_tables.h"
#include "startup/mod_global.h"
#include "startup/startup_state.h"

namespace purge {

namespace {

const char* const kNotice =
    "No se ha detectado ningún ejercicio cerrado... Puede realizar la depuración hasta una "
    "determinada fecha!!!";

void Stop(const std::string& message) {
    ui::prompter().MsgBox(message, ui::Buttons::OK, ui::Icon::Critical, "Aviso al operador");
}

std::string ControlText(QWidget* control) {
    if (auto* combo = qobject_cast<QComboBox*>(control)) return combo->currentText().toStdString();
    if (auto* edit = qobject_cast<QLineEdit*>(control)) return edit->text().toStdString();
    return {};
}

void SetBackColour(QWidget* input, const QColor& colour) {
    QPalette palette = input->palette();
    palette.setColor(QPalette::Base, colour);
    input->setPalette(palette);
}

}  // namespace

FrmDep::FrmDep(db::DB_Dll& db, QWidget* parent) : QWidget(parent), db_(db) {
    keyFilter_ = [this](QLineEdit* box, int& keyAscii) { dateBox_.FilterKey(box, keyAscii); };
    BuildControls();
    txtFecha->installEventFilter(this);
    txtFields->installEventFilter(this);
    connect(CmdAceptar, &QPushButton::clicked, this, [this] { CmdAceptar_Click(); });
    connect(CmdCancelar, &QPushButton::clicked, this, [this] { CmdCancelar_Click(); });
    connect(txtFields, &QComboBox::activated, this, [this](int) { txtFields_Click(); });
    connect(qApp, &QApplication::focusChanged, this, [this] { RefreshFocusColours(); });
}

FrmDep::~FrmDep() {
    // The controls outlive this part of the window by a moment: their last focus change
    // (the combo reports its text then) must not reach a window that is going away.
    txtFields->disconnect(this);
    disconnect(qApp, nullptr, this, nullptr);
    txtFecha->removeEventFilter(this);
    txtFields->removeEventFilter(this);
}

void FrmDep::Form_Load() {
    if (!Guarded(utils_, "Form_Load", [&] { utils_.PrepareWindow(this); })) return;
    std::string cadenaConexion;
    if (!Guarded(utils_, "Form_Load",
                 [&] { startup::IniciarSistema(db_, false, "", cadenaConexion); })) {
        return;
    }
    if (startup::ProgramEnded()) return;
    if (const auto refusal = NotASuiteDatabase(db_)) {
        Stop(*refusal);
        startup::EndProgram(startup::kExitNotASuiteDatabase);
        return;
    }
    std::vector<std::string> ejercicios;
    if (!Guarded(utils_, "Form_Load", [&] { ejercicios = EjerciciosCerrados(db_); })) return;
    Guarded(utils_, "Form_Load", [&] { ShowLoadedMode(ejercicios); });
}

void FrmDep::ShowLoadedMode(const std::vector<std::string>& ejercicios) {
    if (!ejercicios.empty()) {
        txtFields->clear();
        for (const std::string& codigo : ejercicios) {
            txtFields->addItem(QString::fromStdString(codigo));
        }
        txtFields->setCurrentIndex(-1);  // the list is filled; the box itself stays empty
        lbln->setEnabled(true);
        lblDesc->setEnabled(true);
        txtFields->setEnabled(true);
        lblHasta->setEnabled(false);
        txtFecha->setEnabled(false);
        bPorEjercicio_ = true;
        return;
    }
    ui::prompter().MsgBox(std::string("Atención, ") + kNotice);
    lbln->setEnabled(false);
    SetDescription(QString::fromUtf8(kNotice));
    lblDesc->setEnabled(false);
    txtFields->setEnabled(false);
    lblHasta->setEnabled(true);
    txtFecha->setEnabled(true);
    bPorEjercicio_ = false;
}

void FrmDep::ValidaCampo(QWidget* control) {
    const std::string texto = text::Trim(ControlText(control));
    const std::string regla = text::Trim(control->property("DataField").toString().toStdString());
    Guarded(utils_, "ValidaCampo", [&] {
        if (text::EqualsNoCase(regla, "Ejercicio")) {
            if (texto.empty()) {
                Stop("Debe ingresar código de ejercicio");
                return;
            }
            const std::optional<Ejercicio> ejercicio = BuscaEjercicio(db_, texto, rsEjercicio);
            if (!ejercicio) {
                Stop("Ejercicio inexistente!!!");
                return;
            }
            SetDescription(QString::fromStdString(ejercicio->Descripcion()));
            if (!ejercicio->Closed()) Stop("El Ejercicio a depurar debe estar cerrado");
        } else if (text::EqualsNoCase(regla, "Fecha")) {
            if (!text::IsDate(texto)) Stop("Debe ingresar una fecha válida!!!");
        }
    });
}

void FrmDep::CmdAceptar_Click() {
    // One run at a time: the buttons and the inputs stay disabled and the window refuses to
    // close until the run is over, so no second run starts inside the first, no step is cut
    // short and no validation message interrupts a step with its transaction open.
    if (running_) return;
    running_ = true;
    runFiscalYear_ = txtFields->currentText().toStdString();
    runDate_ = txtFecha->text().toStdString();
    LockInputs();
    struct Done {
        FrmDep& w;
        ~Done() {
            w.running_ = false;
            w.UnlockInputs();
        }
    } done{*this};
    PurgeRun run(*this, db_);
    lastRun_ = run.Run();
}

void FrmDep::LockInputs() {
    locked_ = Locked{txtFields->isEnabled(), txtFecha->isEnabled(), focusWidget(), nullptr};
    for (QWidget* w : {static_cast<QWidget*>(CmdAceptar), static_cast<QWidget*>(CmdCancelar),
                       static_cast<QWidget*>(txtFields), static_cast<QWidget*>(txtFecha)}) {
        w->setEnabled(false);
    }
}

void FrmDep::UnlockInputs() {
    CmdAceptar->setEnabled(true);
    CmdCancelar->setEnabled(true);
    txtFields->setEnabled(locked_.fields);
    txtFecha->setEnabled(locked_.fecha);
    QWidget* focus = locked_.focusAfter != nullptr ? locked_.focusAfter : locked_.focus;
    if (focus != nullptr && focus->isEnabled()) focus->setFocus(Qt::OtherFocusReason);
    locked_ = {};
}

void FrmDep::CmdCancelar_Click() {
    Form_Unload();
}

void FrmDep::Form_Unload() {
    if (running_) return;
    hide();
    // The operator's own way out: the event loop ends and the program with it (status 0).
    QCoreApplication::exit(0);
}

void FrmDep::closeEvent(QCloseEvent* event) {
    if (running_) {
        event->ignore();
        return;
    }
    event->accept();
    Form_Unload();
}

bool FrmDep::eventFilter(QObject* watched, QEvent* event) {
    QWidget* input = watched == txtFecha    ? static_cast<QWidget*>(txtFecha)
                     : watched == txtFields ? static_cast<QWidget*>(txtFields)
                                            : nullptr;
    if (input == nullptr) return QWidget::eventFilter(watched, event);
    switch (event->type()) {
        case QEvent::FocusIn: {
            const bool fromList =
                static_cast<QFocusEvent*>(event)->reason() == Qt::PopupFocusReason;
            // The box takes the focus first, so the selection made here is not undone.
            const bool handled = watched->event(event);
            if (!fromList) GotFocus(input);
            RefreshFocusColours();
            return handled;
        }
        case QEvent::FocusOut: {
            leaving_ = true;
            const bool handled = watched->event(event);
            leaving_ = false;
            RefreshFocusColours();
            return handled;
        }
        case QEvent::KeyPress: {
            // A disabled input still passes its keys through this filter: none goes on
            // during a run, not even a character the date filter would rewrite.
            if (running_) return true;
            auto& key = *static_cast<QKeyEvent*>(event);
            // Tab moves the focus; like the platform's own text boxes, the input never sees
            // it as a key of its own (leaving an input validates nothing).
            if (key.key() == Qt::Key_Tab || key.key() == Qt::Key_Backtab) break;
            const int code = PlatformKeyCode(key);
            if (input == txtFields) {
                txtFields_KeyDown(code);
                // Enter is the box's confirmation; it must not also pick from the list.
                return code == key::kEnter;
            }
            txtFecha_KeyDown(code);
            int typed = TypedCharacter(key);
            if (typed < 0) break;
            const int original = typed;
            if (!txtFecha_KeyPress(typed)) return true;
            if (typed != original) {
                txtFecha->insert(QString(QChar(typed)));
                return true;
            }
            break;
        }
        default:
            break;
    }
    return QWidget::eventFilter(watched, event);
}

void FrmDep::GotFocus(QWidget* input) {
    if (input == txtFecha) {
        txtFecha->setSelection(0, static_cast<int>(txtFecha->text().size()));
    } else if (QLineEdit* edit = txtFields->lineEdit()) {
        edit->setSelection(0, static_cast<int>(edit->text().size()));
    }
}

void FrmDep::RefreshFocusColours() {
    // The window's own focus widget: it stays while a message box or the list is up, and
    // moves when the focus goes to another control or an input is disabled.
    const QWidget* focus = focusWidget();
    const bool combo = focus != nullptr && (focus == txtFields || focus == txtFields->lineEdit());
    SetBackColour(txtFields, combo ? QColor(0, 255, 255) : QColor(255, 255, 255));
    SetBackColour(txtFecha, focus == txtFecha ? QColor(0, 255, 255) : QColor(255, 255, 255));
}

void FrmDep::txtFecha_KeyDown(int keyCode) {
    if (dateBox_.IsCompletionKey(keyCode)) ValidaCampo(txtFecha);
}

bool FrmDep::txtFecha_KeyPress(int& keyAscii) {
    if (keyAscii != key::kEscape) keyFilter_(txtFecha, keyAscii);
    return keyAscii != 0;
}

void FrmDep::txtFields_KeyDown(int keyCode) {
    if (running_) return;
    if (keyCode == key::kEnter) ValidaCampo(txtFields);
}

void FrmDep::txtFields_Click() {
    // A pick from the list, with the mouse or the keyboard; not the report the combo gives
    // of the typed text when it loses the focus (leaving an input validates nothing).
    if (leaving_) return;
    txtFields_KeyDown(key::kEnter);
}

// PurgePort.

void FrmDep::SetProgress(double value) {
    progress_ = value;
    PBDepurar->setValue(static_cast<int>(std::lround(value)));
}

void FrmDep::ShowWaiting(bool waiting) {
    // The statement holds the event loop, so the bar is repainted at once.
    PBDepurar->setFormat(waiting ? QString::fromUtf8(kWaitingText) : QStringLiteral("%p%"));
    PBDepurar->setTextVisible(waiting);
    PBDepurar->repaint();
}

void FrmDep::SetProgressRange(int min, int max) {
    PBDepurar->setRange(min, max);
}

void FrmDep::ProcessEvents() {
    ui::events().ProcessEvents();
}

void FrmDep::SetTrashVisible(bool visible) {
    ImgBasura->setVisible(visible);
}

std::string FrmDep::FiscalYearText() const {
    return running_ ? runFiscalYear_ : txtFields->currentText().toStdString();
}

std::string FrmDep::DateText() const {
    return running_ ? runDate_ : txtFecha->text().toStdString();
}

void FrmDep::FocusInput() {
    QWidget* input =
        bPorEjercicio_ ? static_cast<QWidget*>(txtFields) : static_cast<QWidget*>(txtFecha);
    // During a run the inputs are disabled: the focus goes there once they are back.
    if (running_) {
        locked_.focusAfter = input;
    } else {
        input->setFocus(Qt::OtherFocusReason);
    }
}

}  // namespace purge
