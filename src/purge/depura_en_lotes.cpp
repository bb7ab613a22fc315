#include "purge/depura_en_lotes.h"

#include "platform/text/runtime_error.h"

namespace purge {

namespace {

constexpr int kBatches = 20;

// Sends one statement of the error-tolerant part of the step: a raised error is neither
// reported nor allowed to stop the step; the connection's error collection (cleared by the
// data-access layer at the start of every statement) tells whether the statement failed.
bool Send(adodb::Connection& cnn, const std::string& sql, long& rows) {
    long affected = 0;
    try {
        cnn.Execute(sql, &affected);
    } catch (const text::RuntimeError&) {
    }
    if (cnn.Errors().Count() > 0) return false;
    if (affected > 0) rows += affected;
    return true;
}

}  // namespace

StepReport DepuraEnLotes(const BatchedTable& tabla, const std::string& fechaHasta, PurgePort& port,
                         db::DB_Dll& db) {
    const std::string lote = BatchStatement(tabla, fechaHasta);
    const std::string final = FinalStatement(tabla, fechaHasta);
    adodb::Connection& cnn = db.gCnn;
    StepReport report{tabla.step, tabla.table, StepOutcome::Committed, 0, 0.0};
    long rows = 0;
    bool bError = false;

    cnn.Execute("BEGIN TRANSACTION");

    for (int i = 0; i < kBatches; ++i) {
        port.ProcessEvents();
        if (!Send(cnn, lote, rows)) {
            bError = true;
            break;
        }
        port.SetProgress(tabla.bandBase + 5.0 * i);
    }
    if (!bError && !Send(cnn, final, rows)) bError = true;

    // A commit the database refuses is rolled back like any other failure, so the step is
    // never reported done while its deletions are still pending or lost.
    if (!bError && !Send(cnn, "COMMIT TRANSACTION", rows)) bError = true;
    if (bError) {
        long ignored = 0;
        Send(cnn, "ROLLBACK TRANSACTION", ignored);
        report.outcome = StepOutcome::RolledBack;
        rows = 0;  // nothing this step deleted stays deleted
    }
    report.rows = rows;
    port.SetProgress(tabla.bandBase + 100.0);
    return report;
}

}  // namespace purge
