// The program's entry: the purge window, or batch mode with --batch; --help explains both.
#include <QApplication>
#include <QCoreApplication>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string_view>
#include <vector>

#include "clientlib/progress_display.h"
#include "clientlib/qt_progress_display.h"
#include "db/db_dll.h"
#include "platform/ui/ports.h"
#include "platform/ui/qt_ports.h"
#include "platform/ui/qt_prompter.h"
#include "platform/ui/qt_translations.h"
#include "purge/batch_mode.h"
#include "purge/batch_options.h"
#include "purge/frm_dep.h"
#include "purge/trace_option.h"
#include "startup/mod_global.h"

namespace {

// Whether the window can be shown: Qt ends the process with an English message of its own
// when its platform plugin finds no display, so that case is told apart beforehand.
bool DisplayAvailable() {
    const auto set = [](const char* name) {
        const char* value = std::getenv(name);
        return value != nullptr && *value != '\0';
    };
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    const std::string chosen = platform != nullptr ? platform : "";
    if (chosen.rfind("xcb", 0) == 0) return set("DISPLAY");
    if (chosen.rfind("wayland", 0) == 0) return set("WAYLAND_DISPLAY");
    if (!chosen.empty()) return true;  // offscreen, vnc, eglfs...: they need no display server
    return set("DISPLAY") || set("WAYLAND_DISPLAY");
}

// The arguments without "--trace FILE" / "--trace=FILE": the rest is the parameter string.
std::vector<char*> WithoutTrace(int argc, char** argv) {
    std::vector<char*> kept;
    for (int i = 0; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (i > 0 && arg == "--trace") {
            ++i;
            continue;
        }
        if (i > 0 && arg.rfind("--trace=", 0) == 0) continue;
        kept.push_back(argv[i]);
    }
    return kept;
}

int RunWindow(int argc, char** argv) {
    QApplication app(argc, argv);
    const ui::SpanishTranslations spanish;
    ui::SetPrompter(std::make_shared<ui::QtPrompter>());
    ui::SetEventPump(std::make_shared<ui::QtEventPump>());
    ui::SetBusyPointer(std::make_shared<ui::QtBusyPointer>());
    clientlib::SetProgressDisplay(std::make_shared<clientlib::QtProgressDisplay>());
    // The parameter string is read after Qt has taken its own options out of the arguments.
    std::vector<char*> arguments = WithoutTrace(argc, argv);
    startup::SetCommandLine(static_cast<int>(arguments.size()), arguments.data());

    int status = 1;
    {
        purge::FrmDep window;
        window.Form_Load();
        if (!startup::ProgramEnded()) {
            window.show();
            status = app.exec();
        }
    }
    // The Qt ports hold widgets and the pointer state: they go before the application does.
    clientlib::SetProgressDisplay(nullptr);
    ui::SetBusyPointer(nullptr);
    ui::SetEventPump(nullptr);
    ui::SetPrompter(nullptr);
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    ui::SetApplicationTitle("Depuraciones");
    const purge::CommandLineOptions options = purge::ParseCommandLine(argc, argv);
    if (options.help) {
        const std::string program =
            argc > 0 ? std::filesystem::path(argv[0]).filename().string() : "depuraciones";
        std::cout << purge::HelpText(program);
        return 0;
    }
    if (options.batch) {
        QCoreApplication app(argc, argv);
        return purge::RunBatch(options, argc, argv, std::cout, std::cerr);
    }
    if (!options.error.empty()) {
        std::cerr << options.error << "\n";
        return purge::kExitNotStarted;
    }
    if (!DisplayAvailable()) {
        std::cerr << "No hay pantalla donde mostrar la ventana de depuraciones. Para depurar sin "
                     "ventana use --batch (vea --help).\n";
        return purge::kExitNotStarted;
    }
    if (!purge::AttachTrace(options.trace, db::Db(), std::cerr)) return purge::kExitNotStarted;
    return RunWindow(argc, argv);
}
