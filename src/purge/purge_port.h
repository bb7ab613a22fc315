#pragma once
// What the purge run and its steps need of whoever drives them (the purge window, batch
// mode, tests): the progress bar, processing of pending events, the trash picture and the
// window's inputs.
#include <string>

namespace purge {

class PurgePort {
  public:
    virtual ~PurgePort() = default;
    virtual void SetProgress(double value) = 0;  // PBDepurar.Value
    virtual double Progress() const = 0;
    virtual void SetProgressRange(int min, int max) = 0;  // PBDepurar.Min / Max
    virtual void ProcessEvents() = 0;                     // let the window process pending events
    virtual void SetTrashVisible(bool visible) = 0;       // ImgBasura.Visible
    virtual bool ByFiscalYear() const = 0;                // bPorEjercicio
    virtual std::string FiscalYearText() const = 0;       // txtFields.Text
    virtual std::string DateText() const = 0;             // txtFecha.Text
    // Moves the focus to the input of the current mode (txtFields or txtFecha) after a
    // refused input; drivers without a window have nothing to do.
    virtual void FocusInput() {}
    // A statement of the run has been waiting for another connection's lock (true) or no
    // longer waits (false).
    virtual void ShowWaiting(bool waiting) { (void)waiting; }
};

// The text shown while a statement waits for another connection's lock.
inline constexpr const char* kWaitingText =
    "Esperando a que otra conexión libere la base de datos...";

}  // namespace purge
