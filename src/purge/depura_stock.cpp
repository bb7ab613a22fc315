// Step 3 of the purge run: the stock movements dated on or before the cut-off are replaced
// by opening balances. One "SI" voucher gets one row per article, unit, deposit, position,
// serial number, lot and description with the summed quantities of the non-voided
// movements; then the movements up to the cut-off (except those new rows) are deleted. All
// of it is one transaction, committed only when every insert and the deletion succeeded, so
// stock totals are the same before and after the step whatever happens.
#include "purge/depura_stock.h"

#include <chrono>
#include <optional>
#include <string>

#include "clientlib/progress_display.h"
#include "clientlib/utility_services.h"
#include "platform/adodb/connection.h"
#include "platform/text/runtime_error.h"
#include "platform/text/strings.h"
#include "platform/ui/ports.h"
#include "purge/stock_statements.h"

namespace purge {

namespace {

// The operator ended the step from the error report.
struct StepEnded {};

class StockStep {
  public:
    StockStep(const std::string& fechaHasta, PurgePort& port, db::DB_Dll& db)
        : fechaHasta_(fechaHasta), port_(port), db_(db), cnn_(db.gCnn) {}

    StepReport Run() {
        StepReport report{3, "V_MV_STOCK", StepOutcome::Abandoned, 0, 0.0};
        try {
            report.outcome = Execute();
            if (report.outcome == StepOutcome::Committed) report.rows = written_ + deleted_;
        } catch (const StepEnded&) {
            // Nothing of an abandoned step stays, and no transaction is left open on the
            // shared connection.
            if (transactionOpen_) Quietly("ROLLBACK TRANSACTION");
        }
        return report;
    }

  private:
    // Runs one operation under the step's error handling. Until the first insert, a raised
    // error closes the progress display and goes to the error report, whose answer repeats
    // the operation (4), skips it (5) or ends the step (3 or anything else). From the first
    // insert on, raised errors are ignored here: the connection's error collection decides.
    // Returns false when the operation raised and was not repeated.
    template <class Op>
    bool Guard(Op&& op) {
        for (;;) {
            try {
                op();
                return true;
            } catch (const text::RuntimeError& e) {
                if (tolerant_) return false;
                clientlib::progress().CloseProgress();
                utils_.SetProcessState(false);
                bError_ = true;
                const int answer = utils_.ReportError(e);
                if (answer == ui::kRetry) continue;
                if (answer == ui::kIgnore) return false;
                throw StepEnded{};
            }
        }
    }

    StepOutcome Execute() {
        bool existe = false;
        Guard([&] {
            existe = db_.ExisteEnTabla("V_TA_CPTE", "SI", "Codigo", nullptr,
                                       adodb::Variant(std::int32_t{8}), "");
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
        Guard([&] { fecha = utils_.SqlDateLiteral(fechaHasta_); });
        adodb::Recordset rs;
        std::string sql = stock::SaldosSql(fecha);
        Guard([&] { db_.AbrirRecordset(sql, rs, nullptr, 0, 1, -1, true); });
        // A balance query that could not be opened leaves the step undone, not "done".
        StepOutcome outcome = StepOutcome::Abandoned;
        if (rs.State() != adodb::kStateClosed) {
            bool hayFilas = false;
            outcome = StepOutcome::Committed;
            Guard([&] { hayFilas = !rs.EOF(); });
            if (hayFilas) outcome = ReplaceMovements(rs, fecha);
        }

        display.CloseProgress();
        port_.SetProgress(300);
        return outcome;
    }

    // The new voucher number, or false (after telling the operator) when there is none.
    bool Numerar() {
        adodb::Recordset rs;
        std::string sql = stock::kUltimoSaldoSql;
        Guard([&] { db_.AbrirRecordset(sql, rs, nullptr, 0, 1, -1, true); });
        adodb::Variant ultimo;
        bool leido = false;
        Guard([&] {
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

    StepOutcome ReplaceMovements(adodb::Recordset& rs, const std::string& fecha) {
        clientlib::ProgressDisplay& display = clientlib::progress();
        Guard([&] { rs.MoveFirst(); });
        bError_ = false;
        port_.SetProgress(215);
        Guard([&] {
            cnn_.Execute("BEGIN TRANSACTION", nullptr, -1);
            transactionOpen_ = true;
        });

        long secuencia = 1;
        while (!AtEnd(rs)) {
            port_.ProcessEvents();
            stock::Saldo saldo;
            std::string insert;
            const bool leido = Guard([&] {
                saldo = Leer(rs);
                insert = stock::InsertSql(db_, numero_, secuencia, fecha, saldo);
            });
            // A group that could not be read or written makes the step fail as a whole.
            if (!leido) bError_ = true;
            tolerant_ = true;
            if (leido) {
                if (Send(insert))
                    ++written_;
                else
                    bError_ = true;
            }
            port_.SetProgress(250);
            display.UpdateProgress(
                false, "Generando Saldo Inicial",
                text::Trim(Text(saldo.idArticulo)) + " " + Text(saldo.descripcion),
                std::to_string(secuencia));
            port_.ProcessEvents();
            ++secuencia;
            if (!Guard([&] { rs.MoveNext(); })) {
                bError_ = true;
                break;
            }
        }

        if (!bError_) {
            display.UpdateProgress(
                false, "Eliminando Movimientos de Stock",
                "Este proceso puede demorar unos minutos, por favor sea pasciente...", "");
            long affected = 0;
            if (Send(stock::DeleteSql(db_, fecha, numero_), &affected))
                deleted_ = affected;
            else
                bError_ = true;
        }
        // A commit the database refuses is rolled back like any other failure, so the step
        // is never reported done while its changes are pending or lost.
        if (!bError_ && !Send("COMMIT TRANSACTION")) bError_ = true;
        if (bError_) Send("ROLLBACK TRANSACTION");
        transactionOpen_ = false;
        return bError_ ? StepOutcome::RolledBack : StepOutcome::Committed;
    }

    bool AtEnd(adodb::Recordset& rs) {
        bool fin = true;
        if (!Guard([&] { fin = rs.EOF(); })) return true;
        return fin;
    }

    static stock::Saldo Leer(adodb::Recordset& rs) {
        stock::Saldo s;
        s.idArticulo = rs.Fields("IdArticulo").Value();
        s.descripcion = rs.Fields("Descripcion").Value();
        s.idUnidad = rs.Fields("IdUnidad").Value();
        s.cantidad = rs.Fields("SALDOCANTIDAD").Value();
        s.cantidadUD = rs.Fields("SALDOCANTIDADUD").Value();
        s.idDeposito = rs.Fields("IdDeposito").Value();
        s.idPosicion = rs.Fields("IdPosicion").Value();
        s.nroSerie = rs.Fields("NroSerie").Value();
        s.nroLote = rs.Fields("NroLote").Value();
        return s;
    }

    std::string Text(const adodb::Variant& v) const { return utils_.NullToEmpty(v).ToString(); }

    // Sends one statement of the error-tolerant part; true when the connection reported no
    // error for it.
    bool Send(const std::string& sql, long* affected = nullptr) {
        try {
            cnn_.Execute(sql, affected, -1);
        } catch (const text::RuntimeError&) {
        }
        return cnn_.Errors().Count() == 0;
    }

    void Quietly(const std::string& sql) {
        try {
            cnn_.Execute(sql, nullptr, -1);
        } catch (const text::RuntimeError&) {
        }
    }

    const std::string& fechaHasta_;
    PurgePort& port_;
    db::DB_Dll& db_;
    adodb::Connection& cnn_;
    clientlib::UtilityServices utils_;
    std::string numero_;
    bool bError_ = false;
    bool tolerant_ = false;
    bool transactionOpen_ = false;
    long written_ = 0;
    long deleted_ = 0;
};

}  // namespace

StepReport DepuraStock(const std::string& fechaHasta, PurgePort& port, db::DB_Dll& db) {
    const auto start = std::chrono::steady_clock::now();
    StepReport report = StockStep(fechaHasta, port, db).Run();
    report.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return report;
}

}  // namespace purge
