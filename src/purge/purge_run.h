#pragma once
// The purge run started by the window's "Aceptar" (and by batch mode): validation and
// confirmation, the cut-off date text, the twelve steps in their fixed order with the
// progress bar going from 0 to 1200, and the completion message.
#include <optional>
#include <string>
#include <vector>

#include "db/db_dll.h"
#include "purge/purge_port.h"
#include "purge/step_report.h"

namespace purge {

struct RunResult {
    bool started = false;           // validated, confirmed and a cut-off date found
    std::vector<StepReport> steps;  // one per step, in the order they ran
};

// The confirmation question of the run (batch mode recognises it to answer it).
const std::string& ConfirmationText();

class PurgeRun {
  public:
    PurgeRun(PurgePort& port, db::DB_Dll& db) : port_(port), db_(db) {}

    // The whole run (the body of CmdAceptar_Click).
    RunResult Run();

    // True when the input of the current mode is acceptable and the operator confirmed.
    bool ValidaDepuracion();
    // The cut-off date text: the fiscal year's end date in the default date format, or the
    // date box's text trimmed. Nothing when the fiscal year has no end date to read.
    std::optional<std::string> ObtieneFechaHasta(const std::string& codigo);

  private:
    bool FiscalYearAcceptable(const std::string& codigo);
    bool DateAcceptable(const std::string& fecha);
    std::vector<StepReport> RunSteps(const std::string& codigo, const std::string& fechaHasta);
    void ShowCompletion(const std::vector<StepReport>& steps);

    PurgePort& port_;
    db::DB_Dll& db_;
};

}  // namespace purge
