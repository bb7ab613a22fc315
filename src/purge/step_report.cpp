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
    }
    return "";
}

}  // namespace purge
