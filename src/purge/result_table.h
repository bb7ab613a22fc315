#pragma once
// The table batch mode prints at the end of a run: per step the table, the outcome, the rows
// deleted or written and the seconds taken.
#include <iosfwd>
#include <vector>

#include "purge/step_report.h"

namespace purge {

void PrintResultTable(std::ostream& out, const std::vector<StepReport>& steps);

}  // namespace purge
