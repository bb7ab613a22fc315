#include "purge/batch_mode.h"

#include <unistd.h>

#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "clientlib/progress_display.h"
#include "db/db_dll.h"
#include "platform/text/strings.h"
#include "platform/ui/box_buttons.h"
#include "platform/ui/console_prompter.h"
#include "purge/batch_connection_dialog.h"
#include "purge/batch_port.h"
#include "purge/fiscal_years.h"
#include "purge/purge_run.h"
#include "purge/result_table.h"
#include "purge/suite_tables.h"
#include "purge/trace_option.h"
#include "startup/connection_dialog_setup.h"
#include "startup/mod_global.h"

namespace purge {

namespace {

// The operator's answer to the purge confirmation: --yes, else a question on the terminal
// when there is one, else No.
int Confirm(bool yes, const std::string& prompt, std::ostream& err) {
    if (yes) return ui::kYes;
    if (isatty(STDIN_FILENO) == 0) {
        err << "Sin --yes y sin una terminal donde preguntar, la depuración no se confirma.\n";
        return ui::kNo;
    }
    err << ui::WithLineBreaks(prompt) << "\n¿Confirma la depuración? (s/n): " << std::flush;
    std::string line;
    if (!std::getline(std::cin, line)) return ui::kNo;
    const std::string answer = text::ToLower(text::Trim(line));
    return answer == "s" || answer == "si" || answer == "sí" ? ui::kYes : ui::kNo;
}

// The window enters fiscal-year mode when the database has a closed fiscal year and date
// mode otherwise; batch mode accepts only the input the window would offer.
bool ModeAllowed(const CommandLineOptions& o, db::DB_Dll& db, std::ostream& err) {
    std::vector<std::string> cerrados;
    try {
        cerrados = EjerciciosCerrados(db);
    } catch (const text::RuntimeError& e) {
        err << "No se pudieron leer los ejercicios cerrados: " << e.Description() << "\n";
        return false;
    }
    if (cerrados.empty() && o.fiscalYear) {
        err << "No se ha detectado ningún ejercicio cerrado: la depuración se hace hasta una "
               "fecha (--date FECHA).\n";
        return false;
    }
    if (!cerrados.empty() && o.date) {
        std::string lista;
        for (const std::string& c : cerrados) lista += (lista.empty() ? "" : ", ") + c;
        err << "La base de datos tiene ejercicios cerrados (" << lista
            << "): la depuración se hace por ejercicio (--fiscal-year CÓDIGO).\n";
        return false;
    }
    return true;
}

}  // namespace

int RunBatch(const CommandLineOptions& options, int argc, char** argv, std::ostream& out,
             std::ostream& err) {
    if (!options.error.empty() || !options.batch) {
        const std::string program =
            argc > 0 ? std::filesystem::path(argv[0]).filename().string() : "depuraciones";
        err << options.error << "\n\n" << HelpText(program);
        return kExitNotStarted;
    }
    // The parameter string from standard input keeps the password off the command line.
    std::string parametros;
    if (options.parametersFromStdin && !std::getline(std::cin, parametros)) parametros.clear();
    if (options.parametersFromStdin && text::Trim(parametros).empty()) {
        err << "No se recibió la cadena de parámetros por la entrada estándar.\n";
        return kExitNotStarted;
    }
    BatchPort port(options, err);

    auto prompter = std::make_shared<ui::ConsolePrompter>(err);
    prompter->SetPolicy(
        [&](const std::string& prompt, ui::Buttons buttons, ui::Icon, const std::string&) {
            port.EndLine();
            if (prompt == ConfirmationText()) return Confirm(options.yes, prompt, err);
            // Every other question is answered the way that does nothing more: no retries.
            return ui::EscapeAnswer(buttons);
        });
    ui::ScopedPrompter scopedPrompter(prompter);
    clientlib::SetProgressDisplay(std::make_shared<clientlib::ConsoleProgressDisplay>());
    startup::SetConnectionDialogFactory(
        [&err] { return std::make_unique<BatchConnectionDialog>(err); });
    // Without a connection the start-up ends the program; here that ends batch mode with its
    // own status instead.
    startup::SetExitHandler([](int) {});

    std::vector<char*> arguments{argc > 0 ? argv[0] : nullptr};
    for (int i : options.parameterArgs) arguments.push_back(argv[i]);
    startup::SetCommandLine(static_cast<int>(arguments.size()), arguments.data());

    db::DB_Dll& db = db::Db();
    if (!AttachTrace(options.trace, db, err)) return kExitNotStarted;
    std::string cadenaConexion;
    try {
        startup::IniciarSistema(db, false, parametros, cadenaConexion);
    } catch (const text::RuntimeError& e) {
        err << "No se pudo iniciar el sistema: " << e.Description() << "\n";
        return kExitNotStarted;
    }
    if (startup::ProgramEnded() || !db.gOpenFlag) {
        err << "Sin conexión con la base de datos: no se depuró nada.\n";
        return kExitNotStarted;
    }
    if (const auto refusal = NotASuiteDatabase(db)) {
        err << *refusal << "\n";
        return kExitNotStarted;
    }
    if (!ModeAllowed(options, db, err)) return kExitNotStarted;

    PurgeRun run(port, db);
    const RunResult result = run.Run();
    port.EndLine();
    if (!result.started) return kExitNotStarted;
    PrintResultTable(out, result.steps);
    for (const StepReport& r : result.steps) {
        if (r.outcome != StepOutcome::Committed) return kExitStepFailed;
    }
    return kExitCommitted;
}

}  // namespace purge
