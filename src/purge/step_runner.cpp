#include "purge/step_runner.h"

#include <chrono>

#include "platform/text/runtime_error.h"
#include "platform/ui/ports.h"

namespace purge {

StepReport RunPurgeStep(const StepId& id, const std::function<StepOutcome(StepCount&)>& body) {
    const auto started = std::chrono::steady_clock::now();
    StepReport report{id.number, id.table, StepOutcome::Abandoned, 0, 0.0};
    StepCount count;
    try {
        report.outcome = body(count);
    } catch (const text::RuntimeError& e) {
        ui::prompter().MsgBox("No se pudo realizar el paso " + std::to_string(id.number) +
                                  " de la depuración (" + id.table + "):\r" + e.Description(),
                              ui::Buttons::OK, ui::Icon::Critical, "Aviso al operador");
        report.outcome = StepOutcome::Abandoned;
    }
    if (report.outcome == StepOutcome::Committed) report.rows = count.Rows();
    report.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    return report;
}

}  // namespace purge
