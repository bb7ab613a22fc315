#pragma once
// How one purge step ended, for the run's completion message and the batch-mode table.
#include <string>
#include <vector>

namespace purge {

enum class StepOutcome {
    Committed,   // the step's transaction committed (or there was nothing to do)
    RolledBack,  // the database reported an error; the step's changes were undone
    Abandoned,   // the operator ended the step, or it could not start
};

struct StepReport {
    int step = 0;       // 1..12
    std::string table;  // the table the step purges
    StepOutcome outcome = StepOutcome::Committed;
    long rows = 0;  // rows deleted (and, for the stock step, balances written)
    double seconds = 0.0;
};

const char* OutcomeText(StepOutcome o);  // "completo", "revertido", "abandonado"

}  // namespace purge
