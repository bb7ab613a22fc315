#include "purge/purge_run.h"

#include <functional>
#include <tuple>

#include "clientlib/utility_services.h"
#include "platform/text/regional.h"
#include "platform/text/strings.h"
#include "platform/ui/ports.h"
#include "purge/batched_tables.h"
#include "purge/depura_asientos.h"
#include "purge/depura_en_lotes.h"
#include "purge/depura_stock.h"
#include "purge/fiscal_years.h"
#include "purge/procedure_errors.h"

namespace purge {

namespace {

constexpr const char* kTitle = "Aviso al operador";
constexpr const char* kCR = "\r";

const std::string kConfirmation =
    std::string(
        "Se eliminarán físicamente los registros correspondientes al ejercicio "
        "seleccionado.") +
    kCR + kCR +
    "Antes de realizar este proceso es recomendable realizar una copia de resguardo de la" + kCR +
    "                 base de datos y Emitir los listados correspondientes.              " + kCR +
    kCR + "                     ¿Realmente desea ejecutar este proceso?                        " +
    kCR;

const std::string kCompleted =
    std::string("El proceso finalizó con éxito!!!        ") + kCR +
    "Luego del proceso de depuración es recomendable realizar una compactación de la base de "
    "datos.";

// Refusals of the fiscal-year code, with the field validation's own messages.
void Refuse(PurgePort& port, const std::string& message) {
    ui::prompter().MsgBox(message, ui::Buttons::OK, ui::Icon::Critical, kTitle);
    port.FocusInput();
}

const std::string kNoEndDate = "El Ejercicio a depurar no tiene Fecha Fin del Ejercicio!!!";

bool AfterToday(const text::DateTime& d) {
    const text::DateTime now = ui::clock().Now();
    return std::tie(d.year, d.month, d.day) > std::tie(now.year, now.month, now.day);
}

}  // namespace

const std::string& ConfirmationText() {
    return kConfirmation;
}

RunResult PurgeRun::Run() {
    RunResult result;
    if (!ValidaDepuracion()) return result;
    const std::string codigo = port_.FiscalYearText();
    const std::optional<std::string> fechaHasta = ObtieneFechaHasta(codigo);
    if (!fechaHasta) {
        // The steps cannot run without a cut-off date.
        Refuse(port_, kNoEndDate);
        return result;
    }
    result.started = true;

    port_.SetProgressRange(0, 1200);
    ui::pointer().SetBusy(true);
    port_.SetProgress(0);
    result.steps = RunSteps(text::Trim(codigo), *fechaHasta);
    ui::pointer().SetBusy(false);
    ShowCompletion(result.steps);
    port_.SetProgress(0);
    return result;
}

bool PurgeRun::ValidaDepuracion() {
    clientlib::UtilityServices utils;
    // Each check runs under the procedure's error handling; `refused` ends the validation
    // after a check turned the input down.
    bool refused = false;
    const auto guarded = [&](auto&& operation) {
        return Guarded(utils, "CmdAceptar_Click", operation) && !refused;
    };
    if (port_.ByFiscalYear()) {
        const std::string codigo = port_.FiscalYearText();
        if (!guarded([&] {
                if (text::Trim(codigo).empty()) {
                    ui::prompter().MsgBox("Debe informar el número de ejercicio a depurar");
                    port_.FocusInput();
                    refused = true;
                }
            })) {
            return false;
        }
        // The code goes unquoted into the cut-off query and decides what is deleted: it must
        // name an existing, closed fiscal year with an end date, whether or not the operator
        // confirmed it in the field. A check that could not be made refuses the run.
        bool checked = false;
        if (!guarded([&] {
                refused = !FiscalYearAcceptable(codigo);
                checked = true;
            }) ||
            !checked) {
            return false;
        }
    } else {
        const std::string fecha = port_.DateText();
        if (!guarded([&] {
                if (text::Trim(fecha).empty() || !text::IsDate(fecha)) {
                    ui::prompter().MsgBox(
                        "Debe informar una fecha válida hasta donde quiere depurar!!!");
                    port_.FocusInput();
                    refused = true;
                } else {
                    refused = !DateAcceptable(fecha);
                }
            })) {
            return false;
        }
    }

    bool confirmed = false;
    guarded([&] {
        const int answer =
            ui::prompter().MsgBox(kConfirmation, ui::Buttons::YesNo, ui::Icon::Information, kTitle);
        if (answer == ui::kYes) {
            confirmed = true;
        } else {
            ui::prompter().MsgBox("Depuración Cancelada!!!", ui::Buttons::OK, ui::Icon::Information,
                                  kTitle);
        }
    });
    return confirmed;
}

bool PurgeRun::FiscalYearAcceptable(const std::string& codigo) {
    if (!IsWholeNumberCode(codigo)) {
        Refuse(port_, "Ejercicio inexistente!!!");
        return false;
    }
    adodb::Recordset rs;
    const std::optional<Ejercicio> ejercicio = BuscaEjercicio(db_, codigo, rs);
    db_.CierraRecordset(rs);
    if (!ejercicio) {
        Refuse(port_, "Ejercicio inexistente!!!");
        return false;
    }
    if (!ejercicio->Closed()) {
        Refuse(port_, "El Ejercicio a depurar debe estar cerrado");
        return false;
    }
    if (ejercicio->fechaHasta.IsNull()) {
        Refuse(port_, kNoEndDate);
        return false;
    }
    return true;
}

bool PurgeRun::DateAcceptable(const std::string& fecha) {
    // A cut-off after today would purge the current business: almost surely a typing slip.
    if (AfterToday(*text::ParseDate(fecha))) {
        ui::prompter().MsgBox(
            "La fecha hasta donde quiere depurar no puede ser posterior a la fecha de hoy!!!");
        port_.FocusInput();
        return false;
    }
    return true;
}

std::optional<std::string> PurgeRun::ObtieneFechaHasta(const std::string& codigo) {
    if (!port_.ByFiscalYear()) return text::Trim(port_.DateText());
    adodb::Recordset rs;
    std::optional<std::string> fecha;
    db_.AbrirRecordset("SELECT * FROM MV_EJERCICIOS WHERE CONVERT(INT,PERIODO) = " + codigo, rs,
                       &db_.gCnn, adodb::kOpenDynamic, adodb::kLockOptimistic, -1, true);
    try {
        if (rs.State() != adodb::kStateClosed && !rs.BOF()) {
            const adodb::Variant value = rs.Fields("FECHA HASTA").Value();
            if (!value.IsNull()) fecha = FechaHastaText(value);
        }
    } catch (const text::RuntimeError&) {
        fecha.reset();
    }
    db_.CierraRecordset(rs);
    return fecha;
}

std::vector<StepReport> PurgeRun::RunSteps(const std::string& codigo,
                                           const std::string& fechaHasta) {
    std::vector<std::function<StepReport()>> plan;
    const auto& lotes = BatchedTables();
    const auto lote = [&](const BatchedTable& t) {
        return [&, t] { return DepuraEnLotes(t, fechaHasta, port_, db_); };
    };
    plan.push_back(lote(lotes[0]));
    plan.push_back([&] { return DepuraAsientos(codigo, port_, db_); });
    plan.push_back([&] { return DepuraStock(fechaHasta, port_, db_); });
    for (std::size_t i = 1; i < lotes.size(); ++i) plan.push_back(lote(lotes[i]));

    std::vector<StepReport> reports;
    for (const auto& step : plan) {
        reports.push_back(step());
        port_.SetProgress(100.0 * reports.back().step);
    }
    return reports;
}

void PurgeRun::ShowCompletion(const std::vector<StepReport>& steps) {
    std::string failed;
    for (const StepReport& r : steps) {
        if (r.outcome == StepOutcome::Committed) continue;
        failed += (failed.empty() ? "" : ", ") + std::to_string(r.step) + " (" + r.table + ")";
    }
    if (failed.empty()) {
        ui::prompter().MsgBox(kCompleted, ui::Buttons::OK, ui::Icon::Information, kTitle);
        return;
    }
    ui::prompter().MsgBox(std::string("El proceso finalizó con errores!!!") + kCR +
                              "No se completaron los pasos: " + failed + ".",
                          ui::Buttons::OK, ui::Icon::Exclamation, kTitle);
}

}  // namespace purge
