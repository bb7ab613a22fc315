// Step 3 of the purge run: the stock movements dated on or before the cut-off are replaced
// by opening balances. One "SI" voucher gets one row per article, unit, deposit, position,
// serial number, lot and description with the summed quantities of the non-voided
// movements; then the movements up to the cut-off (except those new rows) are deleted. All
// of it is one transaction, committed only when every insert and the deletion succeeded, so
// stock totals are the same before and after the step whatever happens.
#include "purge/depura_stock.h"

#include <optional>
#include <string>

#include "clientlib/error_policy.h"
#include "clientlib/progress_display.h"
#include "clientlib/utility_services.h"
#include "platform/adodb/connection.h"
#include "platform/text/strings.h"
#include "platform/ui/ports.h"
#include "purge/step_runner.h"
#include "purge/step_transaction.h"
#include "purge/stock_statements.h"

namespace purge {

namespace {

constexpr double kBeforeInserts = 215;
constexpr double kDuringInserts = 250;
constexpr double kBandEnd = 300;

// From the first insert on, raised errors are ignored: the connection's error collection
// decides how the step ends.
const auto kIgnoring = [](auto&& op) { return clientlib::IgnoringFailure(op); };

class StockStep {
  public:
    StockStep(const std::string& fechaHasta, PurgePort& port, db::DB_Dll& db, StepCount& count)
        : fechaHasta_(fechaHasta), port_(port), db_(db), cnn_(db.gCnn), count_(count) {}

    // An abandoned step leaves nothing behind: its transaction, when it had one, is rolled
    // back as it goes out of scope.
    StepOutcome Run() {
        try {
            return Execute();
        } catch (const clientlib::ProcedureLeft&) {
            return StepOutcome::Abandoned;
        }
    }

  private:
    // Runs one operation under the step's error handling until the first insert: a raised
    // error closes the progress display and goes to the error report, whose answer repeats
    // the operation (4), skips it (5) or ends the step (3 or anything else). Returns false
    // when the operation raised and was not repeated.
    template <class Op>
    bool Reported(Op&& op) {
        return clientlib::RunStepOrLeave(op, [this](const text::RuntimeError& e) {
            clientlib::progress().CloseProgress();
            utils_.SetProcessState(false);
            bError_ = true;
            return clientlib::AskReportError(utils_, e);
        });
    }
    auto Reporting() {
        return [this](auto&& op) { return Reported(op); };
    }

    StepOutcome Execute() {
        bool existe = false;
        Reported([&] {
            existe = db_.ExisteEnTabla("V_TA_CPTE", "SI", "Codigo", nullptr,
                                       adodb::Variant(std::int32_t{adodb::dtype::kBSTR}), "");
        });
        if (!existe) {
            // Without the voucher type the rows written would carry an unregistered type.
            ui::prompter().MsgBox(
                "DEBE DAR DE ALTA EN TABLA DE COMPROBANTES EL CODIGO SI PARA SALDO INICIAL...");
            return StepOutcome::Abandoned;
        }
        if (!Numerar()) return StepOutcome::Abandoned;

        clientlib::ProgressDisplay& display = clientlib::progress();
        display.ShowProgress("Depurando Movimientos de Stock...", false);
        display.UpdateProgress(false, "Obteniendo Saldo Inicial a la Fecha de Depuración");

        std::string fecha;
        Reported([&] { fecha = utils_.SqlDateLiteral(fechaHasta_); });
        const StepOutcome outcome = ReplaceInTransaction(fecha);
        display.CloseProgress();
        port_.SetProgress(kBandEnd);
        return outcome;
    }

    // The balances are read inside the step's transaction, which holds the movements up to
    // the cut-off against other writers until it ends: a movement another program commits
    // meanwhile either waits for the step or was already in the balances. (The embedded
    // engine takes its write lock when the transaction begins; SQL Server holds update locks
    // on the range the balance query reads.)
    StepOutcome ReplaceInTransaction(const std::string& fecha) {
        std::optional<StepTransaction> transaction;
        Reported([&] { transaction.emplace(db_, StepTransaction::Route::Connection); });
        // Without a transaction the inserts and the deletion could not be undone together.
        if (!transaction) return StepOutcome::Abandoned;

        // Nothing but the opening balances of an earlier purge up to the same cut-off: there
        // is nothing to replace, and rewriting them would only renumber them.
        adodb::Recordset rs;
        long pendientes = -1;
        Reported([&] {
            db_.AbrirRecordset(stock::PendientesSql(fecha), rs, nullptr, adodb::kOpenForwardOnly,
                               adodb::kLockReadOnly, -1, true);
        });
        Reported([&] {
            if (rs.State() != adodb::kStateClosed && !rs.EOF())
                pendientes = rs.Fields("Movimientos").Value().ToLong();
        });
        db_.CierraRecordset(rs);
        if (pendientes < 0) return StepOutcome::Abandoned;
        if (pendientes == 0) {
            transaction->Finish(true);
            return StepOutcome::Committed;
        }

        const bool holdLocks = !text::Contains(db_.gCnn.ConnectionString(), "ORACLE");
        std::string sql = stock::SaldosSql(fecha, holdLocks);
        Reported([&] {
            db_.AbrirRecordset(sql, rs, nullptr, adodb::kOpenForwardOnly, adodb::kLockReadOnly, -1,
                               true);
        });
        // A balance query that could not be opened leaves the step undone, not "done".
        if (rs.State() == adodb::kStateClosed) return StepOutcome::Abandoned;
        bool hayFilas = false;
        Reported([&] { hayFilas = !rs.EOF(); });
        if (!hayFilas) {
            transaction->Finish(true);
            return StepOutcome::Committed;
        }
        return ReplaceMovements(rs, fecha, *transaction);
    }

    // The new voucher number, or false (after telling the operator) when there is none.
    bool Numerar() {
        adodb::Recordset rs;
        std::string sql = stock::kUltimoSaldoSql;
        Reported([&] {
            db_.AbrirRecordset(sql, rs, nullptr, adodb::kOpenForwardOnly, adodb::kLockReadOnly, -1,
                               true);
        });
        adodb::Variant ultimo;
        bool leido = false;
        Reported([&] {
            if (!rs.EOF()) ultimo = rs.Fields("IdComprobante").Value();
            leido = true;
        });
        if (!leido) return false;
        const std::optional<std::string> numero = stock::NextVoucherNumber(ultimo);
        if (!numero) {
            ui::prompter().MsgBox(
                "La numeración de los comprobantes SI de saldo inicial llegó a su máximo (" +
                    ultimo.ToString() +
                    "). No se generaron saldos iniciales ni se eliminaron movimientos de stock.",
                ui::Buttons::OK, ui::Icon::Exclamation, "Aviso al operador");
            return false;
        }
        if (numero->empty()) return false;
        numero_ = *numero;
        return true;
    }

    StepOutcome ReplaceMovements(adodb::Recordset& rs, const std::string& fecha,
                                 StepTransaction& transaction) {
        Reported([&] { rs.MoveFirst(); });
        bError_ = false;
        port_.SetProgress(kBeforeInserts);

        // The first group is read under the error report; from its insert on, failures only
        // mark the step as failed.
        long secuencia = 1;
        long written = 0;
        if (!AtEnd(rs, Reporting())) {
            port_.ProcessEvents();
            Group group = ReadGroup(rs, secuencia, fecha, Reporting());
            while (WriteGroup(rs, group, secuencia, written)) {
                ++secuencia;
                if (AtEnd(rs, kIgnoring)) break;
                port_.ProcessEvents();
                group = ReadGroup(rs, secuencia, fecha, kIgnoring);
            }
        }

        long deleted = 0;
        if (!bError_) {
            clientlib::progress().UpdateProgress(
                false, "Eliminando Movimientos de Stock",
                "Este proceso puede demorar unos minutos, por favor sea pasciente...", "");
            if (!SendTolerant(cnn_, stock::DeleteSql(db_, fecha, numero_), &deleted))
                bError_ = true;
        }
        if (!transaction.Finish(!bError_)) return StepOutcome::RolledBack;
        count_.Add(written + deleted);
        return StepOutcome::Committed;
    }

    struct Group {
        bool leido = false;
        stock::Saldo saldo;
        std::string insert;
    };

    template <class G>
    Group ReadGroup(adodb::Recordset& rs, long secuencia, const std::string& fecha, G&& guard) {
        Group g;
        g.leido = guard([&] {
            g.saldo = stock::ReadSaldo(rs);
            g.insert = stock::InsertSql(db_, numero_, secuencia, fecha, g.saldo);
        });
        return g;
    }

    // Writes one group's opening balance and moves to the next row. False when the rows
    // cannot be walked any further.
    bool WriteGroup(adodb::Recordset& rs, const Group& g, long secuencia, long& written) {
        // A group that could not be read or written makes the step fail as a whole.
        if (!g.leido) {
            bError_ = true;
        } else if (SendTolerant(cnn_, g.insert)) {
            ++written;
        } else {
            bError_ = true;
        }
        port_.SetProgress(kDuringInserts);
        clientlib::progress().UpdateProgress(
            false, "Generando Saldo Inicial",
            text::Trim(Text(g.saldo.idArticulo)) + " " + Text(g.saldo.descripcion),
            std::to_string(secuencia));
        port_.ProcessEvents();
        if (!clientlib::IgnoringFailure([&] { rs.MoveNext(); })) {
            bError_ = true;
            return false;
        }
        return true;
    }

    template <class G>
    static bool AtEnd(adodb::Recordset& rs, G&& guard) {
        bool fin = true;
        if (!guard([&] { fin = rs.EOF(); })) return true;
        return fin;
    }

    std::string Text(const adodb::Variant& v) const { return utils_.NullToEmpty(v).ToString(); }

    const std::string& fechaHasta_;
    PurgePort& port_;
    db::DB_Dll& db_;
    adodb::Connection& cnn_;
    StepCount& count_;
    clientlib::UtilityServices utils_;
    std::string numero_;
    bool bError_ = false;
};

}  // namespace

StepReport DepuraStock(const std::string& fechaHasta, PurgePort& port, db::DB_Dll& db) {
    return RunPurgeStep({3, "V_MV_STOCK"}, [&](StepCount& count) {
        return StockStep(fechaHasta, port, db, count).Run();
    });
}

}  // namespace purge
