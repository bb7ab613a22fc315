#pragma once
// depuraciones-consulta: one lookup of the lookup service, for operators and scripts. It
// starts up like the program (parameter string, INI file, connection, configuration,
// catalogue), runs one ConsultaSearch and prints ValorDevuelto on the first line and one
// line per item of Valores.
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace lookupapp {

inline constexpr int kExitAccepted = 0;
inline constexpr int kExitCancelled = 1;
inline constexpr int kExitNotStarted = 2;  // bad arguments or no connection

struct ConsultaOptions {
    bool help = false;
    std::string sql;  // TABLA or SENTENCIA
    std::string campoDevuelto;
    std::optional<std::vector<std::string>> campos;
    bool marcas = false;
    bool cantidades = false;
    std::string clave;
    std::string campoBusqueda;
    std::string where;
    std::string valores;
    bool arbol = false;
    std::vector<int> parameterArgs;  // indexes into argv of the start-up parameter string
    std::string error;               // non-empty: the arguments are not acceptable
};

ConsultaOptions ParseConsultaArguments(int argc, const char* const* argv);
std::string ConsultaHelp(const std::string& program);

// Runs the command; a QApplication must exist. Returns the exit status.
int RunConsulta(int argc, char** argv, std::ostream& out, std::ostream& err);

}  // namespace lookupapp
