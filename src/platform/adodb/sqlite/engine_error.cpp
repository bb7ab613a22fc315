#include "platform/adodb/sqlite/engine_error.h"

#include "platform/text/strings.h"

namespace adodb::sqlite {
namespace {

Error Make(std::int32_t number, std::string state, std::string description, int native) {
    Error e;
    e.Number = number;
    e.SQLState = std::move(state);
    e.Description = std::move(description);
    e.NativeError = native;
    e.Source = kSource;
    return e;
}

}  // namespace

const char* DescribeResult(int rc) {
    switch (rc & 0xFF) {
        case SQLITE_CANTOPEN:
            return "No se puede abrir el archivo de la base de datos";
        case SQLITE_READONLY:
            return "La base de datos es de sólo lectura";
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            return "La base de datos está ocupada por otro proceso";
        case SQLITE_FULL:
            return "El disco está lleno: no queda espacio para la base de datos";
        case SQLITE_NOTADB:
            return "El archivo no es una base de datos";
        case SQLITE_CORRUPT:
            return "La base de datos está dañada";
        case SQLITE_IOERR:
            return "Error de lectura o escritura en el disco";
        case SQLITE_NOMEM:
            return "No hay memoria suficiente";
        case SQLITE_PERM:
        case SQLITE_AUTH:
            return "No hay permiso para acceder a la base de datos";
        default:
            return "Error del motor de base de datos";
    }
}

Error EngineError(sqlite3* db, int rc, int timeoutSeconds) {
    const std::string message = db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    const int native = db != nullptr ? sqlite3_extended_errcode(db) : rc;
    // The suite's functions start their messages with the SQL state in brackets.
    if (message.size() > 8 && message[0] == '[' && message[6] == ']') {
        const std::string state = message.substr(1, 5);
        const std::string text = message.substr(8);
        std::int32_t number = code::kFail;
        if (state == "22007" || state == "22008" || state == "22018" || state == "22003") {
            number = code::kCantConvert;
        }
        if (state == "42000" || state == "22019") number = code::kErrorsInCommand;
        return Make(number, state, text, native);
    }
    switch (rc & 0xFF) {
        case SQLITE_CONSTRAINT:
            return Make(code::kIntegrity, "23000", "Infracción de una restricción: " + message,
                        native);
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            return Make(code::kTimeout, "HYT00",
                        "La base de datos está ocupada por otro proceso; se agotó el tiempo de "
                        "espera de " +
                            std::to_string(timeoutSeconds) + " segundos (" + message + ")",
                        native);
        case SQLITE_MISMATCH:
            return Make(code::kCantConvert, "22018", "Error de conversión de datos: " + message,
                        native);
        case SQLITE_ERROR:
            if (text::StartsWith(message, "no such table")) {
                return Make(code::kNoTable, "42S02", "Nombre de objeto no válido: " + message,
                            native);
            }
            if (text::StartsWith(message, "no such column")) {
                return Make(code::kErrorsInCommand, "42S22",
                            "Nombre de columna no válido: " + message, native);
            }
            return Make(code::kErrorsInCommand, "42000", "Error en la sentencia: " + message,
                        native);
        default:
            // The engine's own text stays after the description, for whoever looks further.
            return Make(code::kFail, "HY000",
                        std::string(DescribeResult(rc)) + " (" + message + ")", native);
    }
}

Error FromDialectError(const DialectError& e) {
    return Make(e.Number(), e.SqlState(), e.what(), 0);
}

Error OpenError(const std::string& file, const std::string& reason) {
    return Make(code::kFail, "08001",
                "No se puede abrir la base de datos '" + file + "': " + reason, 0);
}

}  // namespace adodb::sqlite
