#include "lookup_app/consulta_command.h"

#include <filesystem>
#include <ostream>

#include "db/db_dll.h"
#include "lookup/lib_clscons3.h"
#include "platform/text/strings.h"
#include "startup/mod_global.h"

namespace lookupapp {
namespace {

std::vector<std::string> SplitNames(const std::string& list) {
    std::vector<std::string> names;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = list.find(',', start);
        const std::string name = text::Trim(list.substr(start, comma - start));
        if (!name.empty()) names.push_back(name);
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return names;
}

}  // namespace

ConsultaOptions ParseConsultaArguments(int argc, const char* const* argv) {
    ConsultaOptions o;
    bool sqlSeen = false;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const auto value = [&](std::string& into) {
            if (i + 1 >= argc) {
                o.error = "Falta el valor de " + a + ".";
                return;
            }
            into = argv[++i];
        };
        if (a == "--help" || a == "-h") {
            o.help = true;
        } else if (a == "--campo-devuelto") {
            value(o.campoDevuelto);
        } else if (a == "--campos") {
            std::string list;
            value(list);
            o.campos = SplitNames(list);
        } else if (a == "--marcas") {
            o.marcas = true;
        } else if (a == "--cantidades") {
            o.cantidades = true;
        } else if (a == "--clave") {
            value(o.clave);
        } else if (a == "--campo-busqueda") {
            value(o.campoBusqueda);
        } else if (a == "--where") {
            value(o.where);
        } else if (a == "--valores") {
            value(o.valores);
        } else if (a == "--arbol") {
            o.arbol = true;
        } else if (a.rfind("--", 0) == 0) {
            o.error = "Opción desconocida: " + a + ".";
        } else if (!sqlSeen) {
            o.sql = a;
            sqlSeen = true;
        } else {
            o.parameterArgs.push_back(i);
        }
        if (!o.error.empty()) return o;
    }
    if (!o.help && text::Trim(o.sql).empty()) {
        o.error = "Falta la tabla o la sentencia de la consulta.";
    }
    return o;
}

std::string ConsultaHelp(const std::string& program) {
    return "Uso: " + program +
           " [opciones] TABLA|SENTENCIA \"<cadena de parámetros>\"\n"
           "\n"
           "Abre una consulta del sistema sobre una tabla (con su entrada del catálogo\n"
           "consultas.ovl, o con las columnas de la tabla) o sobre una sentencia SELECT, e\n"
           "imprime lo elegido: en la primera línea el valor devuelto y después una línea por\n"
           "cada valor de la lista de valores (campos pedidos o filas marcadas).\n"
           "La cadena de parámetros es la del programa (@Server=...;@DbName=...;@Usuario=...;\n"
           "@Password=...;); sin ella se usan el archivo INI y el diálogo de conexión.\n"
           "\n"
           "Opciones:\n"
           "  --campo-devuelto CAMPO  campo cuyo valor se devuelve\n"
           "  --campos A,B            campos cuyos valores se devuelven de la fila elegida\n"
           "  --marcas                filas con casillas: se devuelven todas las marcadas\n"
           "  --cantidades            permite cargar cantidades (Insert, Supr, Mayús+Insert)\n"
           "  --clave TEXTO           texto de búsqueda inicial\n"
           "  --campo-busqueda CAMPO  campo por el que se busca y ordena\n"
           "  --where TEXTO           filtro para las entradas del catálogo que no tienen\n"
           "  --valores TEXTO         valores cuyas filas empiezan marcadas\n"
           "  --arbol                 ventana en árbol (familias, posiciones, centros de costo)\n"
           "  --help                  esta ayuda\n"
           "\n"
           "Estado de salida: 0 se aceptó una fila, 1 el operador canceló, 2 argumentos\n"
           "incorrectos o sin conexión.\n";
}

int RunConsulta(int argc, char** argv, std::ostream& out, std::ostream& err) {
    const ConsultaOptions o = ParseConsultaArguments(argc, argv);
    const std::string program =
        argc > 0 ? std::filesystem::path(argv[0]).filename().string() : "depuraciones-consulta";
    if (o.help) {
        out << ConsultaHelp(program);
        return kExitAccepted;
    }
    if (!o.error.empty()) {
        err << o.error << "\nUse --help para ver la ayuda.\n";
        return kExitNotStarted;
    }

    // Without a connection the start-up ends the program; here that ends the command with
    // its own status instead.
    startup::SetExitHandler([](int) {});
    std::vector<char*> arguments{argc > 0 ? argv[0] : nullptr};
    for (int i : o.parameterArgs) arguments.push_back(argv[i]);
    startup::SetCommandLine(static_cast<int>(arguments.size()), arguments.data());

    std::string cadenaConexion;
    try {
        startup::IniciarSistema(false, "", cadenaConexion);
    } catch (const text::RuntimeError& e) {
        err << "No se pudo iniciar el sistema: " << e.Description() << "\n";
        return kExitNotStarted;
    }
    if (startup::ProgramEnded() || !db::Db().gOpenFlag) {
        err << "Sin conexión con la base de datos.\n";
        return kExitNotStarted;
    }

    lookup::Lib_ClsCons3& service = lookup::ClsCons3();
    service.CampoDevuelto = o.campoDevuelto;
    service.Checks = o.marcas;
    service.UsaCantidades = o.cantidades;
    // A lookup that shows no window, or one the operator cancels, leaves no collection.
    service.Valores.reset();
    service.ValorDevuelto = adodb::Variant();
    lookup::Coleccion campos = o.campos;
    std::string campoBusqueda = o.campoBusqueda;
    std::string where = o.where;
    service.ConsultaSearch(o.sql, campos ? &campos : nullptr, o.clave, &campoBusqueda, &where, "",
                           o.arbol, o.valores);

    if (!service.Valores) return kExitCancelled;
    out << (service.ValorDevuelto.IsNull() ? std::string() : service.ValorDevuelto.ToString())
        << "\n";
    for (const std::string& v : *service.Valores) out << v << "\n";
    return kExitAccepted;
}

}  // namespace lookupapp
