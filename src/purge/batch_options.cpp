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

// The start-up parameter string is a list of "@Key=value;" pairs.
bool LooksLikeParameterString(std::string_view arg) {
    const std::size_t first = arg.find_first_not_of(" \t");
    return first != std::string_view::npos && arg[first] == '@' &&
           arg.find('=') != std::string_view::npos;
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
        if (TakeValue(argc, argv, i, "--trace", o.trace, o.error)) continue;
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
        const bool fromStdin = arg == "-";
        if (!fromStdin && !arg.empty() && arg[0] == '-') {
            o.error = "Opción desconocida: " + std::string(arg) + ".";
            break;
        }
        // Anything else must be the parameter string, given once: a stray word could be a
        // mistyped option that the operator believes was taken.
        if (!fromStdin && !LooksLikeParameterString(arg)) {
            o.error = "Argumento desconocido: " + std::string(arg) + ".";
            break;
        }
        if (!o.parameterArgs.empty() || o.parametersFromStdin) {
            o.error = "La cadena de parámetros se indicó más de una vez.";
            break;
        }
        if (fromStdin) {
            o.parametersFromStdin = true;
        } else {
            o.parameterArgs.push_back(i);
        }
    }
    if (o.batch && o.error.empty()) {
        if (o.fiscalYear.has_value() == o.date.has_value()) {
            o.error = "Indique --fiscal-year CÓDIGO o --date FECHA (uno de los dos).";
        } else if (o.parameterArgs.empty() && !o.parametersFromStdin) {
            o.error = "Falta la cadena de parámetros (\"@Server=...;@DbName=...;\").";
        }
    }
    return o;
}

std::string HelpText(const std::string& program) {
    return "Uso:\n"
           "  " +
           program +
           " [--trace ARCHIVO] [<cadena de parámetros>]\n"
           "      Abre la ventana de depuraciones.\n"
           "  " +
           program +
           " --batch (--fiscal-year CÓDIGO | --date FECHA) [--yes] [--trace ARCHIVO]\n"
           "      (<cadena de parámetros> | -)\n"
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
           "  En el modo por lotes, \"-\" en su lugar la lee de la primera línea de la entrada\n"
           "  estándar, para que la clave no quede en la línea de órdenes.\n"
           "\n"
           "Opciones del modo por lotes:\n"
           "  --fiscal-year CÓDIGO  Depura hasta la fecha de fin del ejercicio cerrado CÓDIGO.\n"
           "                        Se usa cuando la base de datos tiene ejercicios cerrados.\n"
           "  --date FECHA          Depura hasta la fecha indicada (día/mes/año, según la\n"
           "                        configuración regional). Solo cuando la base de datos no\n"
           "                        tiene ningún ejercicio cerrado; no puede ser posterior a hoy.\n"
           "  --yes                 Confirma la depuración sin preguntar. Sin esta opción se\n"
           "                        pregunta en la terminal y, si no la hay, no se depura.\n"
           "  --trace ARCHIVO       Añade al archivo cada instrucción enviada a la base de datos\n"
           "                        (hora, duración, filas) y cada llamada de transacción; las\n"
           "                        claves nunca se escriben. También en el modo ventana.\n"
           "\n"
           "Antes del primer paso se comprueba que el archivo de la base de datos no esté\n"
           "dañado; si lo está, no se depura nada.\n"
           "\n"
           "Se aplican las mismas validaciones que en la ventana. Los mensajes se escriben en la\n"
           "salida de errores con su título; el avance, en una línea de la salida de errores que\n"
           "se actualiza. Al terminar, la salida estándar muestra una tabla con cada paso: la\n"
           "tabla depurada, el resultado (completo, revertido, abandonado u omitido), las filas\n"
           "borradas o escritas y los segundos que llevó. Un paso se omite cuando no se\n"
           "completó el paso del que depende (el 2 depende del 1, el 8 de los pasos 4 a 7, el\n"
           "12 de los pasos 9 a 11); sus filas quedan para la próxima depuración.\n"
           "Mientras otra conexión retiene la base de datos, la línea de avance lo indica.\n"
           "\n"
           "Las preguntas que ofrecen reintentar se responden sin reintentar, y el diálogo de\n"
           "conexión no puede mostrarse: sin servidor en la cadena de parámetros el programa\n"
           "termina sin conectarse.\n"
           "\n"
           "Estado de salida:\n"
           "  0  todos los pasos se completaron\n"
           "  1  algún paso no se completó (revertido, abandonado u omitido)\n"
           "  2  argumentos incorrectos, sin conexión, o depuración rechazada por la validación\n"
           "     o no confirmada; también sin pantalla y sin --batch\n";
}

}  // namespace purge
