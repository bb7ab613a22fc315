#include "purge/batch_options.h"

#include <string_view>

namespace purge {

namespace {

// "--name VALUE" or "--name=VALUE"; advances i past the value.
bool TakeValue(int argc, const char* const* argv, int& i, std::string_view name,
               std::optional<std::string>& into, std::string& error) {
    const std::string_view arg = argv[i];
    std::string value;
    if (arg == name) {
        if (i + 1 >= argc) {
            error = "Falta el valor de " + std::string(name) + ".";
            return true;
        }
        value = argv[++i];
    } else if (arg.size() > name.size() && arg.substr(0, name.size()) == name &&
               arg[name.size()] == '=') {
        value = std::string(arg.substr(name.size() + 1));
    } else {
        return false;
    }
    if (into) {
        error = std::string(name) + " se indicó más de una vez.";
    } else {
        into = value;
    }
    return true;
}

}  // namespace

CommandLineOptions ParseCommandLine(int argc, const char* const* argv) {
    CommandLineOptions o;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") o.help = true;
        if (arg == "--batch") o.batch = true;
    }
    if (o.help) return o;
    for (int i = 1; i < argc && o.error.empty(); ++i) {
        const std::string_view arg = argv[i];
        if (!o.batch) {
            o.parameterArgs.push_back(i);
            continue;
        }
        if (arg == "--batch") continue;
        if (arg == "--yes") {
            o.yes = true;
            continue;
        }
        if (TakeValue(argc, argv, i, "--fiscal-year", o.fiscalYear, o.error)) continue;
        if (TakeValue(argc, argv, i, "--date", o.date, o.error)) continue;
        if (arg.substr(0, 2) == "--") {
            o.error = "Opción desconocida: " + std::string(arg) + ".";
            break;
        }
        o.parameterArgs.push_back(i);
    }
    if (o.batch && o.error.empty()) {
        if (o.fiscalYear.has_value() == o.date.has_value()) {
            o.error = "Indique --fiscal-year CÓDIGO o --date FECHA (uno de los dos).";
        } else if (o.parameterArgs.empty()) {
            o.error = "Falta la cadena de parámetros (\"@Server=...;@DbName=...;\").";
        }
    }
    return o;
}

std::string HelpText(const std::string& program) {
    return "Uso:\n"
           "  " +
           program +
           " [<cadena de parámetros>]\n"
           "      Abre la ventana de depuraciones.\n"
           "  " +
           program +
           " --batch (--fiscal-year CÓDIGO | --date FECHA) [--yes] <cadena de parámetros>\n"
           "      Depura sin ventana, para administradores que depuran desde un guion o un\n"
           "      programador de tareas.\n"
           "  " +
           program +
           " --help\n"
           "      Muestra esta ayuda.\n"
           "\n"
           "Cadena de parámetros (la misma que usa el sistema al iniciar el programa):\n"
           "  \"@Server=<servidor>;@DbName=<base de "
           "datos>;@Usuario=<usuario>;@Password=<clave>;\"\n"
           "  Ejemplo con la base de datos incorporada: "
           "\"@Server=local;@DbName=empresa.db;@Usuario=admin;@Password=;\"\n"
           "\n"
           "Opciones del modo por lotes:\n"
           "  --fiscal-year CÓDIGO  Depura hasta la fecha de fin del ejercicio cerrado CÓDIGO.\n"
           "                        Se usa cuando la base de datos tiene ejercicios cerrados.\n"
           "  --date FECHA          Depura hasta la fecha indicada (día/mes/año, según la\n"
           "                        configuración regional). Solo cuando la base de datos no\n"
           "                        tiene ningún ejercicio cerrado; no puede ser posterior a hoy.\n"
           "  --yes                 Confirma la depuración sin preguntar. Sin esta opción se\n"
           "                        pregunta en la terminal y, si no la hay, no se depura.\n"
           "\n"
           "Se aplican las mismas validaciones que en la ventana. Los mensajes se escriben en la\n"
           "salida de errores con su título; el avance, en una línea de la salida de errores que\n"
           "se actualiza. Al terminar, la salida estándar muestra una tabla con cada paso: la\n"
           "tabla depurada, el resultado (completo, revertido o abandonado), las filas borradas\n"
           "o escritas y los segundos que llevó.\n"
           "\n"
           "Las preguntas que ofrecen reintentar se responden sin reintentar, y el diálogo de\n"
           "conexión no puede mostrarse: sin servidor en la cadena de parámetros el programa\n"
           "termina sin conectarse.\n"
           "\n"
           "Estado de salida:\n"
           "  0  todos los pasos se completaron\n"
           "  1  algún paso no se completó (revertido o abandonado)\n"
           "  2  argumentos incorrectos, sin conexión, o depuración rechazada por la validación\n"
           "     o no confirmada\n";
}

}  // namespace purge
