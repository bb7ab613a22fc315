#pragma once
// How one purge step ended, for the run's completion message and the batch-mode table.
#include <string>
#include <vector>

namespace purge {

enum class StepOutcome {
    Committed,   // the step's transaction committed (or there was nothing to do)
    RolledBack,  // the database reported an error; the step's changes were undone
    Abandoned,   // the operator ended the step, or it could not start
    Omitted,     // not run: a step whose rows it would orphan did not commit
};

struct StepReport {
    int step = 0;       // 1..12
    std::string table;  // the table the step purges
    StepOutcome outcome = StepOutcome::Committed;
    long rows = 0;  // rows deleted (and, for the stock step, balances written)
    double seconds = 0.0;
    int waitedFor = 0;  // Omitted: the step it needed
};

const char* OutcomeText(StepOutcome o);  // "completo", "revertido", "abandonado", "omitido"

// The outcome as the completion message and the result table show it: for an omitted step,
// with the step it waited for ("omitido (paso 1)").
std::string OutcomeDescription(const StepReport& r);

}  // namespace purge
