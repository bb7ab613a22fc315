#pragma once
// Start-up and configuration module: start-up parameters, INI file, connection, the
// configuration table reader and the global settings.
#include <cstdint>
#include <functional>
#include <string>

#include "platform/adodb/variant.h"

namespace db {
class DB_Dll;
}

// The start-up, the configuration reader and the settings work on the database object they
// are given; the forms without one use the program's shared object, db::Db().
namespace startup {

// Start-up routine: parameters from `parametros` (or the program's arguments), INI file,
// connection through the database object, lookup service and catalogue, global settings.
// The lookup service reads the configuration through `db` afterwards, so `db` must outlive it.
void IniciarSistema(db::DB_Dll& db, bool leerIni, const std::string& parametros,
                    std::string& cadenaConexion);
void IniciarSistema(bool leerIni, const std::string& parametros, std::string& cadenaConexion);

// Server name for the database object: drops "net/" before and ":port" after the name.
std::string NormalizarServidor(const std::string& texto);

// VALOR of a configuration key (a single blank when the key has no row); valorAux receives
// the row's valoraux.
std::string LeerConfiguracion(db::DB_Dll& db, const std::string& clave, std::string& valorAux);
std::string LeerConfiguracion(db::DB_Dll& db, const std::string& clave);
std::string LeerConfiguracion(const std::string& clave, std::string& valorAux);
std::string LeerConfiguracion(const std::string& clave);

// Loads the global settings from the configuration table.
void CargarConfiguracion(db::DB_Dll& db, const std::string& carpeta);
void CargarConfiguracion(const std::string& carpeta);

// The program's arguments (after the program name), as the parameter string reads them.
void SetCommandLine(int argc, char** argv);

// "Ends the program at once": the one exit path. The default handler exits the process with
// the given non-zero status; tests install their own and observe it. After it returns (in
// tests) ProgramEnded() is true and callers stop what they were doing.
void EndProgram(int status);
bool ProgramEnded();
void SetExitHandler(std::function<void(int)> handler);  // empty restores the default
void ResetProgramEnded();

}  // namespace startup
