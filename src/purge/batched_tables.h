#pragma once
// The ten tables the run purges by batched deletion, with the statement texts that delete
// their rows dated (or belonging to a header dated) on or before the cut-off.
#include <array>
#include <string>

namespace purge {

// One table's deletion. The batch statement is head + batchSelect + middle + cut-off + tail;
// the final statement is the same with finalSelect, which leaves out "TOP 5 PERCENT".
struct BatchedTable {
    int step;  // position in the run, 1..12
    const char* table;
    int bandBase;  // where the step's band of 100 starts on the progress bar
    const char* head;
    const char* batchSelect;
    const char* finalSelect;
    const char* middle;
    const char* tail;
};

std::string BatchStatement(const BatchedTable& t, const std::string& fechaHasta);
std::string FinalStatement(const BatchedTable& t, const std::string& fechaHasta);

// In the order of the run: MV_APLICACION (step 1), then the voucher tables (steps 4 to 12),
// each family's dependent tables before its header.
const std::array<BatchedTable, 10>& BatchedTables();

}  // namespace purge
