// Step 2 of the purge run: deletes the accounting entries dated on or before the cut-off in
// ten counted batches and a final statement, with the configured operating range widened to
// "01/01/1900" .. cut-off while it deletes, and records the purge date.
//
// The whole step is one transaction: the range is widened, the entries deleted, the purge
// date written and the range put back, and only then committed. A step that is rolled back,
// abandoned by the operator or cut short by the end of the process therefore never leaves a
// widened range, a purge date that did not happen, or an open transaction behind.
#include "purge/depura_asientos.h"

#include <optional>
#include <string>

#include "clientlib/error_policy.h"
#include "platform/adodb/connection.h"
#include "platform/text/strings.h"
#include "platform/ui/ports.h"
#include "purge/asientos_statements.h"
#include "purge/fiscal_years.h"
#include "purge/step_runner.h"
#include "purge/step_transaction.h"
#include "startup/mod_global.h"

namespace purge {

namespace {

constexpr int kBatches = 10;
constexpr double kBandBase = 100.0;
constexpr double kBatchProgress = 10.0;

// Runs an operation of a step that was abandoned: nothing more is shown, whatever fails.
const auto kQuietly = [](auto&& op) { clientlib::IgnoringFailure(op); };

class AsientosStep {
  public:
    AsientosStep(const std::string& codigo, PurgePort& port, db::DB_Dll& db, StepCount& count)
        : codigo_(codigo), port_(port), db_(db), count_(count) {}

    StepOutcome Run() {
        try {
            return Execute();
        } catch (const clientlib::ProcedureLeft&) {
            Abandon();
            return StepOutcome::Abandoned;
        }
    }

  private:
    // Runs one operation under the step's error handling: a raised error is shown to the
    // operator, who repeats the operation (Retry), goes on with the next one (Ignore) or ends
    // the step (Abort or any other answer).
    template <class Op>
    void Guard(Op&& op) {
        clientlib::RunStepOrLeave(op, [this](const text::RuntimeError& e) {
            port_.SetTrashVisible(true);
            return clientlib::AskAbortRetryIgnore(
                "Se ha producido el siguiente error:" + e.Description(), "Aviso al operador");
        });
    }
    auto Reported() {
        return [this](auto&& op) { Guard(op); };
    }

    StepOutcome Execute() {
        std::string valorAux;
        Guard([&] { desde_ = startup::LeerConfiguracion(db_, "fechaoperdesde", valorAux); });
        Guard([&] { hasta_ = startup::LeerConfiguracion(db_, "fechaoperhasta", valorAux); });

        adodb::Recordset rs;
        if (port_.ByFiscalYear()) {
            std::string sql = asientos::EjercicioSql(codigo_);
            Guard([&] {
                db_.AbrirRecordset(sql, rs, &db_.gCnn, adodb::kOpenDynamic, adodb::kLockOptimistic,
                                   -1, true);
            });
            Guard([&] { fecha_ = rs.Fields("FECHA HASTA").Value().ToString(); });
        } else {
            Guard([&] { fecha_ = CutOffFromTyped(port_.DateText()); });
        }
        Guard([&] { db_.CierraRecordset(rs); });
        // Without a cut-off there is nothing the step could delete, and widening the range
        // up to an empty date would only damage the configuration.
        if (text::Trim(fecha_).empty()) return StepOutcome::Abandoned;

        transaction_.emplace(db_, StepTransaction::Route::DatabaseObject);

        SetKeyValue(Reported(), asientos::kDesdeSql, asientos::kInicioRango);
        SetKeyValue(Reported(), asientos::kHastaSql, fecha_);

        bool bError = false;
        bool counted = false;
        Guard([&] {
            db_.AbrirRecordset(asientos::CountSql(fecha_), rs, nullptr, adodb::kOpenForwardOnly,
                               adodb::kLockReadOnly, -1, true);
        });
        Guard([&] { counted = !rs.BOF(); });
        long rows = 0;
        if (counted) {
            long n = 0;
            Guard([&] { n = rs.Fields("Registros").Value().ToLong() / kBatches; });
            const std::string lote = asientos::BatchSql(n, fecha_);
            for (int i = 0; i < kBatches; ++i) {
                port_.ProcessEvents();
                Guard([&] { Delete(lote, rows); });
                if (HasErrors()) {
                    bError = true;
                    break;
                }
                port_.SetProgress(kBandBase + kBatchProgress * i);
            }
            // The final statement runs even after a failed batch; the rollback below undoes
            // whatever it deleted.
            Guard([&] { Delete(asientos::FinalSql(fecha_), rows); });
            if (HasErrors()) bError = true;
        }

        port_.SetProgress(kBandBase + 100.0);
        port_.SetTrashVisible(false);

        if (!bError) {
            WritePurgeDate();
            RestoreRange(Reported());
        }
        const bool committed = transaction_->Finish(!bError);
        transaction_.reset();
        if (!committed) {
            // Normally the rollback already undid the widening; this covers a database that
            // did not open the transaction.
            RestoreRange(Reported());
            return StepOutcome::RolledBack;
        }
        count_.Add(rows);
        return StepOutcome::Committed;
    }

    // After the operator ended the step: nothing it did stays, the range included.
    void Abandon() {
        if (!transaction_) return;
        transaction_.reset();  // rolls back
        RestoreRange(kQuietly);
    }

    void Delete(const std::string& sql, long& rows) {
        long affected = 0;
        db_.gCnn.Execute(sql, &affected, -1);
        if (affected > 0) rows += affected;
    }

    bool HasErrors() {
        bool errors = false;
        Guard([&] { errors = db_.gCnn.Errors().Count() > 0; });
        return errors;
    }

    // Sets Valor of the configuration row the query selects, when there is one.
    template <class G>
    void SetKeyValue(G&& guard, const std::string& query, const std::string& valor) {
        adodb::Recordset rs;
        std::string sql = query;
        bool found = false;
        guard([&] {
            db_.AbrirRecordset(sql, rs, &db_.gCnn, adodb::kOpenDynamic, adodb::kLockOptimistic, -1,
                               true);
        });
        guard([&] { found = !rs.BOF(); });
        if (!found) return;
        guard([&] { rs.Fields("Valor").SetValue(valor); });
        guard([&] { rs.Update(); });
    }

    template <class G>
    void RestoreRange(G&& guard) {
        SetKeyValue(guard, asientos::kDesdeSql, desde_);
        SetKeyValue(guard, asientos::kHastaSql, hasta_);
    }

    // The purge date, created in group "DATOS" when the key has no row yet.
    void WritePurgeDate() {
        adodb::Recordset rs;
        std::string sql = asientos::kUltimaDepuracionSql;
        bool found = false;
        Guard([&] {
            db_.AbrirRecordset(sql, rs, &db_.gCnn, adodb::kOpenDynamic, adodb::kLockOptimistic, -1,
                               true);
        });
        Guard([&] { found = !rs.BOF(); });
        if (!found) Guard([&] { rs.AddNew(); });
        Guard([&] { rs.Fields("Grupo").SetValue("DATOS"); });
        Guard([&] { rs.Fields("Clave").SetValue("FECHAULTIMADEPURACION"); });
        Guard([&] { rs.Fields("Valor").SetValue(fecha_); });
        Guard([&] { rs.Update(); });
        Guard([&] { db_.CierraRecordset(rs); });
    }

    const std::string& codigo_;
    PurgePort& port_;
    db::DB_Dll& db_;
    StepCount& count_;
    std::string desde_;
    std::string hasta_;
    std::string fecha_;
    std::optional<StepTransaction> transaction_;
};

}  // namespace

StepReport DepuraAsientos(const std::string& codigo, PurgePort& port, db::DB_Dll& db) {
    return RunPurgeStep({2, "MV_ASIENTOS"}, [&](StepCount& count) {
        return AsientosStep(codigo, port, db, count).Run();
    });
}

}  // namespace purge
