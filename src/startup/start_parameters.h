#pragma once
// The start-up parameter string: items "@Key value;" read by key, letter case ignored.
#include <string>

namespace startup {

struct StartParameters {
    std::string parametroAdicional;  // "@ParametroAdicional"
    std::string menu;                // "@Menu"
    std::string server;              // "@Server"
    std::string dbName;              // "@DbName"
    std::string user;                // "@Usuario"
    std::string password;            // "@Password"
    std::string usuarioLogeado;      // "@UsuarioLogeado"
    std::string caja = "1";          // "@Caja"
};

// Reads the eight keys from `text`, first occurrence of each. A key that does not occur
// gives its default (empty; "1" for "@Caja"). A value runs from the end of its key to the
// next ";", with "=" removed and blanks trimmed. An item with no ";" after it leaves the
// field as it was in `previous`, except "@ParametroAdicional", which then takes the 19
// characters after its key.
StartParameters ParseStartParameters(const std::string& text, const StartParameters& previous);

// A server written "#name" names an Oracle data source: the "#" is dropped and, when
// `connectionString` is empty, the Oracle connection string for the database, user and
// password is put there.
void ApplyOracleServer(StartParameters& params, std::string& connectionString);

// The parameter string built from the values stored in the INI file.
std::string ParameterStringFromIni(const std::string& server, const std::string& dbName,
                                   const std::string& user, const std::string& password);

// Byte range [begin, end) of the value of the first "@Password" item in `text` (to the next
// ";", or to the end of the text when none follows); begin == end when there is none.
struct TextRange {
    std::size_t begin = 0;
    std::size_t end = 0;
};
TextRange PasswordValueRange(const std::string& text);

}  // namespace startup
