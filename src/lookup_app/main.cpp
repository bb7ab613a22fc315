// depuraciones-consulta: one lookup from the command line (see --help).
#include <QApplication>
#include <iostream>
#include <memory>

#include "lookup_app/consulta_command.h"
#include "platform/ui/ports.h"
#include "platform/ui/qt_ports.h"
#include "platform/ui/qt_prompter.h"

int main(int argc, char** argv) {
    ui::SetApplicationTitle("Depuraciones");
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--help" || a == "-h") {
            std::cout << lookupapp::ConsultaHelp("depuraciones-consulta");
            return 0;
        }
    }
    QApplication app(argc, argv);
    ui::SetPrompter(std::make_shared<ui::QtPrompter>());
    ui::SetEventPump(std::make_shared<ui::QtEventPump>());
    ui::SetBusyPointer(std::make_shared<ui::QtBusyPointer>());
    const int status = lookupapp::RunConsulta(argc, argv, std::cout, std::cerr);
    ui::SetBusyPointer(nullptr);
    ui::SetEventPump(nullptr);
    ui::SetPrompter(nullptr);
    return status;
}
