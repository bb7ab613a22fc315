#include "purge/batch_connection_dialog.h"

#include <ostream>

#include "platform/text/strings.h"

namespace purge {

void BatchConnectionDialog::SetBoxes(const std::string& dbName, const std::string& server,
                                     const std::string& userId, const std::string& password) {
    dbName_ = dbName;
    server_ = server;
    userId_ = userId;
    password_ = password;
}

void BatchConnectionDialog::ShowModal() {
    err_ << "[Control de Acceso] El diálogo de conexión no puede mostrarse en modo por lotes";
    if (text::Trim(server_).empty()) {
        err_ << ": falta el servidor.";
    } else {
        err_ << " (servidor \"" << server_ << "\", base de datos \"" << dbName_ << "\").";
    }
    err_ << "\nIndique la conexión en la cadena de parámetros, por ejemplo\n"
            "  \"@Server=<servidor>;@DbName=<base de "
            "datos>;@Usuario=<usuario>;@Password=<clave>;\"\n"
            "(con la base de datos incorporada: \"@Server=local;@DbName=<archivo>.db;"
            "@Usuario=<usuario>;@Password=;\").\n"
         << std::flush;
}

}  // namespace purge
