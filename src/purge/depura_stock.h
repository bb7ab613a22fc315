#pragma once
// Step 3 of the purge run: the stock movements up to the cut-off replaced by opening
// balances, so stock totals survive.
#include <string>

#include "db/db_dll.h"
#include "purge/purge_port.h"
#include "purge/step_report.h"

namespace purge {

StepReport DepuraStock(const std::string& fechaHasta, PurgePort& port, db::DB_Dll& db);

}  // namespace purge
