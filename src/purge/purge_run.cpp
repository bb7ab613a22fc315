#include "purge/purge_run.h"

#include <algorithm>
#include <functional>
#include <tuple>

#include "clientlib/utility_services.h"
#include "db/integrity_check.h"
#include "platform/text/regional.h"
#include "platform/text/strings.h"
#include "platform/ui/ports.h"
#include "purge/batched_tables.h"
#include "purge/depura_asientos.h"
#include "purge/depura_en_lotes.h"
#include "purge/depura_stock.h"
#include "purge/fiscal_years.h"
#include "purge/procedure_errors.h"
#include "purge/step_runner.h"

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

// The quick check of the database file before the first step: a damaged file is refused
// while there is still nothing to undo. A check that cannot run refuses too, since nothing
// then says the file is sound.
bool DatabaseSound(db::DB_Dll& db) {
    try {
        const db::IntegrityVerdict verdict = db::CheckIntegrity(db);
        if (verdict.ok) return true;
        ui::prompter().MsgBox(verdict.message, ui::Buttons::OK, ui::Icon::Critical, kTitle);
    } catch (const text::RuntimeError& e) {
        ui::prompter().MsgBox(
            "No se pudo comprobar la base de datos: " + e.Description() + "\n\nNo se depuró nada.",
            ui::Buttons::OK, ui::Icon::Critical, kTitle);
    }
    return false;
}

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
    if (!DatabaseSound(db_)) return result;
    result.started = true;

    port_.SetProgressRange(0, 1200);
    ui::pointer().SetBusy(true);
    port_.SetProgress(0);
    // A statement that waits for another connection's lock says so while it waits.
    db_.gCnn.SetLockWaitObserver([this](bool waiting) { port_.ShowWaiting(waiting); });
    result.steps = RunSteps(text::Trim(codigo), *fechaHasta);
    db_.gCnn.SetLockWaitObserver({});
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
    // The database's dates begin in 1753: an earlier cut-off would make every step fail.
    if (text::ParseDate(fecha)->year < kEarliestCutOffYear) {
        ui::prompter().MsgBox("Debe informar una fecha válida hasta donde quiere depurar!!!");
        port_.FocusInput();
        return false;
    }
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
    if (!port_.ByFiscalYear()) return CutOffFromTyped(port_.DateText());
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
    struct Planned {
        StepId id;
        std::vector<int> needs;  // steps that find their rows through this step's rows
        std::function<StepReport()> run;
    };
    std::vector<Planned> plan;
    const auto& lotes = BatchedTables();
    const auto lote = [&](const BatchedTable& t, std::vector<int> needs = {}) {
        return Planned{{t.step, t.table}, std::move(needs), [&, t] {
                           return DepuraEnLotes(t, fechaHasta, port_, db_);
                       }};
    };
    plan.push_back(lote(lotes[0]));
    plan.push_back({{2, "MV_ASIENTOS"}, {1}, [&] { return DepuraAsientos(codigo, port_, db_); }});
    plan.push_back({{3, "V_MV_STOCK"}, {}, [&] { return DepuraStock(fechaHasta, port_, db_); }});
    for (std::size_t i = 1; i < lotes.size(); ++i) {
        const int step = lotes[i].step;
        std::vector<int> needs;
        if (step == 8) needs = {4, 5, 6, 7};
        if (step == 12) needs = {9, 10, 11};
        plan.push_back(lote(lotes[i], needs));
    }

    // A header or entry is deleted only after every step that reaches its rows through it
    // committed: otherwise those rows could never be selected by a later purge. The omitted
    // step's rows stay for the next purge, which can then finish the job.
    std::vector<StepReport> reports;
    const auto committed = [&](int step) {
        for (const StepReport& r : reports)
            if (r.step == step) return r.outcome == StepOutcome::Committed;
        return false;
    };
    for (const Planned& p : plan) {
        const auto missing = std::find_if(p.needs.begin(), p.needs.end(),
                                          [&](int step) { return !committed(step); });
        if (missing == p.needs.end()) {
            reports.push_back(p.run());
        } else {
            StepReport omitted{p.id.number, p.id.table, StepOutcome::Omitted, 0, 0.0};
            omitted.waitedFor = *missing;
            reports.push_back(omitted);
        }
        port_.SetProgress(100.0 * p.id.number);
    }
    return reports;
}

void PurgeRun::ShowCompletion(const std::vector<StepReport>& steps) {
    std::string failed;
    for (const StepReport& r : steps) {
        if (r.outcome == StepOutcome::Committed) continue;
        failed += (failed.empty() ? "" : ", ") + std::to_string(r.step) + " (" + r.table;
        if (r.outcome == StepOutcome::Omitted) {
            failed += ", omitido: esperaba el paso " + std::to_string(r.waitedFor);
        }
        failed += ")";
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
