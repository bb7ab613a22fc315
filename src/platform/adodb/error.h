#pragma once
// Errors of the data-access layer: one entry of a connection's error collection, and the
// exception that a failing operation raises.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/text/runtime_error.h"

namespace adodb {

// Numbers the program tests (32-bit OLE DB codes as signed integers).
namespace code {
inline constexpr std::int32_t kFail = -2147467259;             // 0x80004005 anything else
inline constexpr std::int32_t kErrorsInCommand = -2147217900;  // 0x80040E14 syntax, unknown column
inline constexpr std::int32_t kNoTable = -2147217865;          // 0x80040E37 unknown table
inline constexpr std::int32_t kIntegrity = -2147217873;        // 0x80040E2F constraint violation
inline constexpr std::int32_t kCantConvert = -2147217913;  // 0x80040E07 value cannot be converted
inline constexpr std::int32_t kTimeout = -2147217871;      // 0x80040E31 query timeout (busy)
inline constexpr std::int32_t kNoResult = 265929;          // 0x00040EC9 statement gave no result
inline constexpr std::int32_t kOperationNotAllowedClosed = 3704;  // object is closed
inline constexpr std::int32_t kBofEof = 3021;                     // no current record
inline constexpr std::int32_t kItemNotFound =
    text::errnum::kItemNotFound;                     // name not in the record
inline constexpr std::int32_t kNotSupported = 3251;  // operation not supported (e.g. read-only)
inline constexpr std::int32_t kRowVanished =
    -2147217864;  // 0x80040E38 row to update no longer there
}  // namespace code

struct Error {
    std::int32_t Number = 0;
    std::string Description;
    std::string SQLState;
    std::int32_t NativeError = 0;
    std::string Source;
};

// Raised by every failing operation, after the connection's error collection was filled.
class ComError : public text::RuntimeError {
  public:
    explicit ComError(Error e)
        : text::RuntimeError(e.Number, e.Description, e.Source), error_(std::move(e)) {}
    const Error& Detail() const noexcept { return error_; }

  private:
    Error error_;
};

class ErrorCollection {
  public:
    int Count() const { return static_cast<int>(items_.size()); }
    // Item(0) is the first error. An index out of range raises ComError 3265.
    const Error& Item(int index) const;
    void Clear() { items_.clear(); }
    void Add(Error e) { items_.push_back(std::move(e)); }

  private:
    std::vector<Error> items_;
};

}  // namespace adodb
