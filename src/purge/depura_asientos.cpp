// Step 2 of the purge run: deletes the accounting entries dated on or before the cut-off in
// ten counted batches and a final statement, with the configured operating range widened to
// "01/01/1900" .. cut-off while it deletes, and records the purge date.
//
// The whole step is one transaction: the range is widened, the entries deleted, the purge
// date written and the range put back, and only then committed. A step that is rolled back,
// abandoned by the operator or cut short by the end of the process therefore never leaves a
// widened range, a purge date that did not happen, or an open transaction behind.
#include "purge/depura_asientos.h"

#include <chrono>
#include <string>

#include "platform/adodb/connection.h"
#include "platform/text/runtime_error.h"
#include "platform/text/strings.h"
#include "platform/ui/ports.h"
#include "purge/asientos_statements.h"
#include "startup/mod_global.h"

namespace purge {

namespace {

constexpr int kBatches = 10;

// The operator ended the step from the error message.
struct StepEnded {};

class AsientosStep {
  public:
    AsientosStep(const std::string& codigo, PurgePort& port, db::DB_Dll& db)
        : codigo_(codigo), port_(port), db_(db) {}

    StepReport Run() {
        StepReport report{2, "MV_ASIENTOS", StepOutcome::Abandoned, 0, 0.0};
        try {
            report.outcome = Execute();
            if (report.outcome == StepOutcome::Committed) report.rows = rows_;
        } catch (const StepEnded&) {
            Abandon();
        }
        return report;
    }

  private:
    // Runs one operation under the step's error handling: a raised error is shown to the
    // operator, who repeats the operation (Retry), goes on with the next one (Ignore) or ends
    // the step (Abort or any other answer).
    template <class Op>
    void Guard(Op&& op) {
        for (;;) {
            try {
                op();
                return;
            } catch (const text::RuntimeError& e) {
                if (quiet_) return;
                port_.SetTrashVisible(true);
                const int answer = ui::prompter().MsgBox(
                    "Se ha producido el siguiente error:" + e.Description(),
                    ui::Buttons::AbortRetryIgnore, ui::Icon::Critical, "Aviso al operador");
                if (answer == ui::kRetry) continue;
                if (answer == ui::kIgnore) return;
                throw StepEnded{};
            }
        }
    }

    StepOutcome Execute() {
        std::string valorAux;
        Guard([&] { desde_ = startup::LeerConfiguracion("fechaoperdesde", valorAux); });
        Guard([&] { hasta_ = startup::LeerConfiguracion("fechaoperhasta", valorAux); });

        adodb::Recordset rs;
        if (port_.ByFiscalYear()) {
            std::string sql = asientos::EjercicioSql(codigo_);
            Guard([&] { db_.AbrirRecordset(sql, rs, &db_.gCnn, 2, 3, -1, true); });
            Guard([&] { fecha_ = rs.Fields("FECHA HASTA").Value().ToString(); });
        } else {
            Guard([&] { fecha_ = text::Trim(port_.DateText()); });
        }
        Guard([&] { db_.CierraRecordset(rs); });
        // Without a cut-off there is nothing the step could delete, and widening the range
        // up to an empty date would only damage the configuration.
        if (text::Trim(fecha_).empty()) return StepOutcome::Abandoned;

        Send("BEGIN TRANSACTION");
        transactionOpen_ = true;

        SetKeyValue(asientos::kDesdeSql, asientos::kInicioRango);
        SetKeyValue(asientos::kHastaSql, fecha_);

        bool bError = false;
        bool counted = false;
        Guard([&] { db_.AbrirRecordset(asientos::CountSql(fecha_), rs, nullptr, 0, 1, -1, true); });
        Guard([&] { counted = !rs.BOF(); });
        if (counted) {
            long n = 0;
            Guard([&] { n = rs.Fields("Registros").Value().ToLong() / kBatches; });
            const std::string lote = asientos::BatchSql(n, fecha_);
            for (int i = 0; i < kBatches; ++i) {
                port_.ProcessEvents();
                Guard([&] { Delete(lote); });
                if (HasErrors()) {
                    bError = true;
                    break;
                }
                port_.SetProgress(100.0 + 10.0 * i);
            }
            // The final statement runs even after a failed batch; the rollback below undoes
            // whatever it deleted.
            Guard([&] { Delete(asientos::FinalSql(fecha_)); });
            if (HasErrors()) bError = true;
        }

        port_.SetProgress(200);
        port_.SetTrashVisible(false);

        StepOutcome outcome = StepOutcome::Committed;
        if (!bError) {
            WritePurgeDate();
            RestoreRange();
            Send("COMMIT TRANSACTION");
            // The database object does not pass a failed commit on; the connection's error
            // collection still tells. Such a transaction is rolled back, never left open.
            if (HasErrors()) bError = true;
        }
        if (bError) {
            Send("ROLLBACK TRANSACTION");
            outcome = StepOutcome::RolledBack;
            // Normally the rollback already undid the widening; this covers a database that
            // did not open the transaction.
            RestoreRange();
        }
        transactionOpen_ = false;
        return outcome;
    }

    // After the operator ended the step: nothing it did stays, the range included. No
    // further message is shown, whatever fails here.
    void Abandon() {
        quiet_ = true;
        if (!transactionOpen_) return;
        Send("ROLLBACK TRANSACTION");
        transactionOpen_ = false;
        RestoreRange();
    }

    // Transaction statements go through the database object, which reports its own failures.
    void Send(const std::string& statement) {
        std::string sql = statement;
        long recordsAffected = 0;
        Guard([&] { db_.EjecutaConsultaSQL(sql, recordsAffected); });
    }

    void Delete(const std::string& sql) {
        long affected = 0;
        db_.gCnn.Execute(sql, &affected, -1);
        if (affected > 0) rows_ += affected;
    }

    bool HasErrors() {
        bool errors = false;
        Guard([&] { errors = db_.gCnn.Errors().Count() > 0; });
        return errors;
    }

    // Sets Valor of the configuration row the query selects, when there is one.
    void SetKeyValue(const std::string& query, const std::string& valor) {
        adodb::Recordset rs;
        std::string sql = query;
        bool found = false;
        Guard([&] { db_.AbrirRecordset(sql, rs, &db_.gCnn, 2, 3, -1, true); });
        Guard([&] { found = !rs.BOF(); });
        if (!found) return;
        Guard([&] { rs.Fields("Valor").SetValue(valor); });
        Guard([&] { rs.Update(); });
    }

    void RestoreRange() {
        SetKeyValue(asientos::kDesdeSql, desde_);
        SetKeyValue(asientos::kHastaSql, hasta_);
    }

    // The purge date, created in group "DATOS" when the key has no row yet.
    void WritePurgeDate() {
        adodb::Recordset rs;
        std::string sql = asientos::kUltimaDepuracionSql;
        bool found = false;
        Guard([&] { db_.AbrirRecordset(sql, rs, &db_.gCnn, 2, 3, -1, true); });
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
    std::string desde_;
    std::string hasta_;
    std::string fecha_;
    long rows_ = 0;
    bool transactionOpen_ = false;
    bool quiet_ = false;
};

}  // namespace

StepReport DepuraAsientos(const std::string& codigo, PurgePort& port, db::DB_Dll& db) {
    const auto start = std::chrono::steady_clock::now();
    StepReport report = AsientosStep(codigo, port, db).Run();
    report.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return report;
}

}  // namespace purge
