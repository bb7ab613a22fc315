#include "platform/adodb/layer_errors.h"

#include <utility>

namespace adodb {

Error MakeError(std::int32_t number, std::string description, std::string source,
                std::string sqlState) {
    Error e;
    e.Number = number;
    e.Description = std::move(description);
    e.Source = std::move(source);
    e.SQLState = std::move(sqlState);
    return e;
}

void RaiseClosed(const std::string& source) {
    throw ComError(MakeError(code::kOperationNotAllowedClosed,
                             "No se permite realizar la operación si el objeto está cerrado.",
                             source));
}

void RaiseAlreadyOpen(const std::string& source) {
    throw ComError(MakeError(code::kOperationNotAllowedOpen,
                             "No se permite realizar la operación si el objeto está abierto.",
                             source));
}

void RaiseNoCurrentRecord(const std::string& source) {
    throw ComError(MakeError(code::kBofEof,
                             "BOF o EOF es True, o el registro actual se eliminó; la operación "
                             "solicitada requiere un registro actual.",
                             source));
}

void RaiseItemNotFound(const std::string& what) {
    throw ComError(MakeError(code::kItemNotFound,
                             "No se encontró el elemento " + what +
                                 " en la colección correspondiente al nombre o al ordinal "
                                 "solicitado.",
                             kRecordsetSource));
}

void RaiseNotUpdatable(const std::string& why) {
    throw ComError(MakeError(code::kNotSupported,
                             "La operación solicitada no es compatible: " + why, kRecordsetSource));
}

}  // namespace adodb
