#pragma once
// Step 2 of the purge run: the accounting entries, with the operating date range widened
// while they are deleted and the purge date recorded.
#include <string>

#include "db/db_dll.h"
#include "purge/purge_port.h"
#include "purge/step_report.h"

namespace purge {

StepReport DepuraAsientos(const std::string& codigo, PurgePort& port, db::DB_Dll& db);

}  // namespace purge
