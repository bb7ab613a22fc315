#include "purge/depura_en_lotes.h"

#include "purge/step_runner.h"
#include "purge/step_transaction.h"

namespace purge {

namespace {

constexpr int kBatches = 20;
constexpr double kBatchProgress = 5.0;  // progress per batch inside the step's band of 100

}  // namespace

StepReport DepuraEnLotes(const BatchedTable& tabla, const std::string& fechaHasta, PurgePort& port,
                         db::DB_Dll& db) {
    return RunPurgeStep({tabla.step, tabla.table}, [&](StepCount& count) {
        const std::string lote = BatchStatement(tabla, fechaHasta);
        const std::string final = FinalStatement(tabla, fechaHasta);
        adodb::Connection& cnn = db.gCnn;
        long rows = 0;
        bool bError = false;

        StepTransaction transaction(db, StepTransaction::Route::Connection);
        for (int i = 0; i < kBatches; ++i) {
            port.ProcessEvents();
            if (!SendTolerant(cnn, lote, &rows)) {
                bError = true;
                break;
            }
            port.SetProgress(tabla.bandBase + kBatchProgress * i);
        }
        if (!bError && !SendTolerant(cnn, final, &rows)) bError = true;

        const bool committed = transaction.Finish(!bError);
        count.Add(rows);
        port.SetProgress(tabla.bandBase + 100.0);
        return committed ? StepOutcome::Committed : StepOutcome::RolledBack;
    });
}

}  // namespace purge
