#pragma once
// Runs one purge step and records it: its number and table, how it ended, the rows it
// deleted or wrote and the seconds it took. A step body holds only its statements and
// decisions; it counts its rows on the StepCount it is given and returns its outcome.
#include <functional>
#include <string>

#include "purge/step_report.h"

namespace purge {

struct StepId {
    int number;         // 1..12
    std::string table;  // the table the step purges
};

// The rows a step deleted or wrote; they count only when the step committed.
class StepCount {
  public:
    void Add(long rows) {
        if (rows > 0) rows_ += rows;
    }
    long Rows() const { return rows_; }

  private:
    long rows_ = 0;
};

// Runs `body` as step `id`. An error the body raises before its own error handling took over
// (its transaction could not even be begun) is shown to the operator and leaves the step
// abandoned: nothing of it was done.
StepReport RunPurgeStep(const StepId& id, const std::function<StepOutcome(StepCount&)>& body);

}  // namespace purge
