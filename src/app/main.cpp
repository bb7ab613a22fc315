// The program's entry: the purge window, or batch mode with --batch; --help explains both.
#include <QApplication>
#include <QCoreApplication>
#include <filesystem>
#include <iostream>
#include <memory>

#include "clientlib/progress_display.h"
#include "clientlib/qt_progress_display.h"
#include "platform/ui/ports.h"
#include "platform/ui/qt_ports.h"
#include "platform/ui/qt_prompter.h"
#include "platform/ui/qt_translations.h"
#include "purge/batch_mode.h"
#include "purge/batch_options.h"
#include "purge/frm_dep.h"
#include "startup/mod_global.h"

namespace {

int RunWindow(int argc, char** argv) {
    QApplication app(argc, argv);
    const ui::SpanishTranslations spanish;
    ui::SetPrompter(std::make_shared<ui::QtPrompter>());
    ui::SetEventPump(std::make_shared<ui::QtEventPump>());
    ui::SetBusyPointer(std::make_shared<ui::QtBusyPointer>());
    clientlib::SetProgressDisplay(std::make_shared<clientlib::QtProgressDisplay>());
    // The parameter string is read after Qt has taken its own options out of the arguments.
    startup::SetCommandLine(argc, argv);

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
    return RunWindow(argc, argv);
}
