#pragma once
// The batched deletion shared by ten steps of the purge run: inside one transaction, twenty
// statements each deleting five percent of the rows still matching, then one statement for
// the rest; committed only when the connection reported no error.
#include <string>

#include "db/db_dll.h"
#include "purge/batched_tables.h"
#include "purge/purge_port.h"
#include "purge/step_report.h"

namespace purge {

// Sends every statement, the transaction statements included, straight to db.gCnn.
// "BEGIN TRANSACTION" failing abandons the step with a message (nothing has been done then);
// from the first batch on, errors only show through the connection's error collection.
StepReport DepuraEnLotes(const BatchedTable& tabla, const std::string& fechaHasta, PurgePort& port,
                         db::DB_Dll& db);

}  // namespace purge
