#include "purge/step_report.h"

namespace purge {

const char* OutcomeText(StepOutcome o) {
    switch (o) {
        case StepOutcome::Committed:
            return "completo";
        case StepOutcome::RolledBack:
            return "revertido";
        case StepOutcome::Abandoned:
            return "abandonado";
        case StepOutcome::Omitted:
            return "omitido";
    }
    return "";
}

std::string OutcomeDescription(const StepReport& r) {
    std::string text = OutcomeText(r.outcome);
    if (r.outcome == StepOutcome::Omitted) text += " (paso " + std::to_string(r.waitedFor) + ")";
    return text;
}

}  // namespace purge
