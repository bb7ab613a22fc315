#pragma once
// FrmDep, the purge window: the operator picks a closed fiscal year (or, when the database
// has none, types a cut-off date) and starts the purge run. The window only holds the
// controls and their events; the run and its steps live in plain classes it drives through
// the PurgePort it implements.
#include <QWidget>
#include <functional>
#include <string>

#include "clientlib/settings.h"
#include "clientlib/utility_services.h"
#include "db/db_dll.h"
#include "purge/purge_port.h"
#include "purge/purge_run.h"

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace purge {

class FrmDep : public QWidget, public PurgePort {
  public:
    explicit FrmDep(db::DB_Dll& db = db::Db(), QWidget* parent = nullptr);
    ~FrmDep() override;

    // Set-up, start-up and the choice of input mode; run once, before the window is shown.
    void Form_Load();
    // Validates an input by its DataField rule ("Ejercicio" or "Fecha"); informs only.
    void ValidaCampo(QWidget* control);
    void CmdAceptar_Click();
    void CmdCancelar_Click();
    // Hides the window and ends the program.
    void Form_Unload();

    bool bPorEjercicio() const { return bPorEjercicio_; }
    bool Running() const { return running_; }
    const RunResult& LastRun() const { return lastRun_; }

    // The date box's character filter; the utility library's DateBoxHelper by default.
    using KeyFilter = std::function<void(QLineEdit*, int&)>;
    void SetDateKeyFilter(KeyFilter filter) { keyFilter_ = std::move(filter); }

    // PurgePort.
    void SetProgress(double value) override;
    double Progress() const override { return progress_; }
    void SetProgressRange(int min, int max) override;
    void ProcessEvents() override;
    void SetTrashVisible(bool visible) override;
    bool ByFiscalYear() const override { return bPorEjercicio_; }
    std::string FiscalYearText() const override;
    std::string DateText() const override;
    void FocusInput() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void BuildControls();
    void GotFocus(QWidget* input);
    // Each input cyan while it holds the window's focus, white otherwise, however the
    // focus came or went (keyboard, mouse, the list opening and closing, a message box).
    void RefreshFocusColours();
    // The window may not be made so small that a text is clipped: recomputed whenever a
    // text of the window changes.
    void UpdateMinimumSize();
    void SetDescription(const QString& text);
    // While a run is under way no input takes events; afterwards each is as it was.
    void LockInputs();
    void UnlockInputs();
    void txtFecha_KeyDown(int keyCode);
    bool txtFecha_KeyPress(int& keyAscii);  // false: the character was cancelled
    void txtFields_KeyDown(int keyCode);
    void txtFields_Click();
    void ShowLoadedMode(const std::vector<std::string>& ejercicios);

    db::DB_Dll& db_;
    clientlib::UtilityServices utils_;
    clientlib::DateBoxHelper dateBox_;
    KeyFilter keyFilter_;

    QPushButton* CmdAceptar = nullptr;
    QPushButton* CmdCancelar = nullptr;
    QFrame* Frame1 = nullptr;
    QFrame* Frame2 = nullptr;
    QProgressBar* PBDepurar = nullptr;
    QLineEdit* txtFecha = nullptr;
    QComboBox* txtFields = nullptr;
    QLabel* lblHasta = nullptr;
    QLabel* lbln = nullptr;
    QLabel* lblDesc = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* ImgBasura = nullptr;
    QLabel* ImgTachito = nullptr;

    bool bPorEjercicio_ = false;
    adodb::Recordset rsEjercicio;
    double progress_ = 0.0;
    bool running_ = false;
    // True while an input handles its loss of focus: the editable combo reports the text
    // typed as a pick then, which is no pick by the operator.
    bool leaving_ = false;
    struct Locked {
        bool fields = false;
        bool fecha = false;
        QWidget* focus = nullptr;       // had the focus when the run started
        QWidget* focusAfter = nullptr;  // asked for by the run (a refused input)
    } locked_;
    // The inputs as they were when the run started: the steps read them while the window
    // keeps processing events.
    std::string runFiscalYear_;
    std::string runDate_;
    RunResult lastRun_;
};

}  // namespace purge
