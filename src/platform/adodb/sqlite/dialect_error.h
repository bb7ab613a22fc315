#pragma once
// Failure to understand or convert a statement while translating it for the embedded
// engine. Carries the data-access error number and SQL state it is reported with.
#include <cstdint>
#include <stdexcept>
#include <string>

#include "platform/adodb/error.h"

namespace adodb::sqlite {

class DialectError : public std::runtime_error {
  public:
    DialectError(std::int32_t number, std::string sqlState, const std::string& description)
        : std::runtime_error(description), number_(number), sqlState_(std::move(sqlState)) {}

    std::int32_t Number() const noexcept { return number_; }
    const std::string& SqlState() const noexcept { return sqlState_; }

  private:
    std::int32_t number_;
    std::string sqlState_;
};

// A construct the embedded engine does not translate: "Sentencia no soportada por el motor
// local: <what>".
[[noreturn]] inline void ThrowUnsupported(const std::string& what) {
    throw DialectError(code::kErrorsInCommand, "42000",
                       "Sentencia no soportada por el motor local: " + what);
}

// A statement that is not valid SQL: "Error de sintaxis ...".
[[noreturn]] inline void ThrowSyntax(const std::string& what) {
    throw DialectError(code::kErrorsInCommand, "42000", "Error de sintaxis: " + what);
}

}  // namespace adodb::sqlite
