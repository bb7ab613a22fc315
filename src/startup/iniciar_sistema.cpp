// The start-up routine: parameters, INI file, connection, lookup service and catalogue,
// global settings.
#include <filesystem>

#include "clientlib/error_policy.h"
#include "clientlib/settings.h"
#include "clientlib/utility_services.h"
#include "db/db_dll.h"
#include "lookup/crear_mascaras.h"
#include "lookup/lib_clscons3.h"
#include "platform/text/strings.h"
#include "startup/command_line.h"
#include "startup/connection_dialog_setup.h"
#include "startup/globals.h"
#include "startup/mod_global.h"
#include "startup/program_folder.h"
#include "startup/start_parameters.h"
#include "startup/startup_state.h"

namespace startup {
namespace {

constexpr const char* kIniFile = "CN000pr.INI";

// Runs one step of the start-up. A step that fails with "invalid argument" (5) is skipped and
// the start-up goes on; any other failure leaves the start-up (the caller carries on).
template <class Step>
void Run(Step&& step) {
    clientlib::RunStepOrLeave(step, [](const text::RuntimeError& e) {
        return e.Number() == text::errnum::kInvalidArgument ? clientlib::OnError::Skip
                                                            : clientlib::OnError::Leave;
    });
}

std::string WorkstationSection() {
    const clientlib::StationInfo station;
    return text::ToUpper(station.FirstIdentity()) + "|" + text::ToUpper(station.SecondIdentity());
}

// The parameter string built from the database keys of the workstation's INI section.
std::string ParametersFromIni() {
    const clientlib::UtilityServices utils;
    const clientlib::IniSettings ini;
    const auto read = [&](const char* key, const std::string& defaultValue) {
        return ini.ReadValue(kIniFile, WorkstationSection() + "BaseDeDatos", key, defaultValue);
    };
    const std::string server = utils.StripChars(read("Servidor", ""), "|");
    const std::string dbName = utils.StripChars(read("DbName", ""), "|");
    const std::string user =
        utils.StripChars(utils.DecodeStored(read("Usuario", utils.EncodeStored("Orvalis"))), "|");
    const std::string password = utils.StripChars(
        utils.DecodeStored(read("UserPassWord", utils.EncodeStored("pardelo"))), "|");
    return ParameterStringFromIni(server, dbName, user, password);
}

// Steps 8 to 14: parameters onto the database object and the connection. False when the
// program was ended for want of a connection.
bool Connect(db::DB_Dll& database, const std::string& texto, std::string& cadenaConexion) {
    StartParameters previous;
    previous.parametroAdicional = gParametroAdicional;
    previous.menu = gMenu;
    previous.usuarioLogeado = gUsuarioLogeado;
    previous.caja = gCaja;
    StartParameters params = previous;
    Run([&] {
        params = ParseStartParameters(texto, previous);
        gParametroAdicional = params.parametroAdicional;
        gMenu = params.menu;
        gUsuarioLogeado = params.usuarioLogeado;
        gCaja = params.caja;
    });
    Run([&] { ApplyOracleServer(params, cadenaConexion); });
    Run([&] {
        database.gUsuario = params.user;
        database.gDbName = params.dbName;
        database.gUserPassWord = params.password;
        database.gServidor = NormalizarServidor(params.server);
    });
    Run([&] {
        database.OpenServerADODB(text::Trim(params.server).empty(), 3, cadenaConexion, true);
    });
    if (!database.gOpenFlag) {
        EndProgram(kExitNoConnection);
        return false;
    }
    Run([&] { gUsuarioLogeado = database.gUsuario; });
    Run([&] {
        database.gCnn.SetCommandTimeout(360);
        database.gCnn.SetDefaultDatabase(database.gDbName);
    });
    return true;
}

// The default catalogue when the file is missing. A catalogue that cannot be written does
// not stop the start-up: lookups then build their statements from the tables themselves.
void EnsureCatalogue() {
    std::error_code ec;
    if (std::filesystem::exists(lookup::ClsCons3().gRutaMascaraConsultas, ec)) return;
    try {
        lookup::CrearMascarasConsultas();
    } catch (const text::RuntimeError&) {
    }
}

}  // namespace

void IniciarSistema(bool leerIni, const std::string& parametros, std::string& cadenaConexion) {
    IniciarSistema(db::Db(), leerIni, parametros, cadenaConexion);
}

void IniciarSistema(db::DB_Dll& database, bool leerIni, const std::string& parametros,
                    std::string& cadenaConexion) {
    lookup::SetConfigReader(
        [&database](const std::string& clave) { return LeerConfiguracion(database, clave); });
    InstallConnectionDialog(database);
    try {
        const clientlib::UtilityServices utils;

        std::string carpeta;
        Run([&] { carpeta = utils.WithTrailingSeparator(ProgramFolder()); });
        Run([&] {
            gColorLetra = 0;
            gColorFondo = 0xFFFFFF;
        });
        std::string texto;
        Run([&] {
            texto = parametros;
            if (texto.empty()) {
                texto = CommandLineText();
                BlankPasswordInArguments();
            }
        });
        Run([&] {
            if (text::Trim(texto).empty() && leerIni) texto = ParametersFromIni();
        });
        Run([&] { gSeccionIni = WorkstationSection(); });
        Run([&] {
            gFlatToolbars = text::LeadingNumber(
                clientlib::IniSettings().ReadValue(kIniFile, gSeccionIni, "FlatToolbars", "1"));
        });

        if (!database.gOpenFlag && !Connect(database, texto, cadenaConexion)) return;

        Run([&] {
            gCadenaDSN = "DSN=" + database.gDbName + "; UID=" + database.gUsuario +
                         "; PWD=" + database.gUserPassWord;
        });
        Run([&] { clientlib::ApplicationContext().SetApplicationFolder(carpeta); });
        Run([&] {
            lookup::Lib_ClsCons3& consultas = lookup::ClsCons3();
            consultas.gConnString = database.gConnString;
            consultas.gUsarMascarasConsultas = true;
            consultas.gRutaMascaraConsultas =
                utils.WithTrailingSeparator(ProgramFolder()) + "consultas.ovl";
        });
        Run([&] { EnsureCatalogue(); });
        Run([&] {
            if (!database.gDbName.empty()) CargarConfiguracion(database, carpeta);
        });
    } catch (const clientlib::ProcedureLeft&) {
        // Any other failure ends the start-up without a message; the caller goes on.
    } catch (const text::RuntimeError&) {
    }
}

}  // namespace startup
