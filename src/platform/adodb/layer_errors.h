#pragma once
// Errors that the data-access layer raises itself (not the database), with their numbers
// and readable descriptions.
#include <cstdint>
#include <string>

#include "platform/adodb/error.h"

namespace adodb {

inline constexpr char kConnectionSource[] = "ADODB.Connection";
inline constexpr char kRecordsetSource[] = "ADODB.Recordset";
inline constexpr char kFieldSource[] = "ADODB.Field";

// Numbers not listed with the ones the program tests.
namespace code {
inline constexpr std::int32_t kOperationNotAllowedOpen = 3705;
inline constexpr std::int32_t kConnectionNotUsable = 3709;
inline constexpr std::int32_t kNoTransaction = -2147168242;  // 0x8004D00E
}  // namespace code

Error MakeError(std::int32_t number, std::string description, std::string source,
                std::string sqlState = {});

[[noreturn]] void RaiseClosed(const std::string& source);
[[noreturn]] void RaiseAlreadyOpen(const std::string& source);
[[noreturn]] void RaiseNoCurrentRecord(const std::string& source);
[[noreturn]] void RaiseItemNotFound(const std::string& what);
[[noreturn]] void RaiseNotUpdatable(const std::string& why);

}  // namespace adodb
