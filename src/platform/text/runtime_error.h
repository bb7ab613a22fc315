#pragma once
// The one error type that every layer raises. It carries the numeric code, the readable
// description and the source that the program's error handlers read and report.
#include <cstdint>
#include <stdexcept>
#include <string>

namespace text {

class RuntimeError : public std::runtime_error {
public:
    RuntimeError(std::int32_t number, std::string description, std::string source = {})
        : std::runtime_error(description),
          number_(number),
          description_(std::move(description)),
          source_(std::move(source)) {}

    std::int32_t Number() const noexcept { return number_; }
    const std::string& Description() const noexcept { return description_; }
    const std::string& Source() const noexcept { return source_; }

private:
    std::int32_t number_;
    std::string description_;
    std::string source_;
};

// Error numbers raised by the program's own code (not by the database).
namespace errnum {
inline constexpr std::int32_t kInvalidArgument = 5;   // "Invalid procedure call or argument"
inline constexpr std::int32_t kOverflow = 6;
inline constexpr std::int32_t kTypeMismatch = 13;
inline constexpr std::int32_t kInvalidUseOfNull = 94;
inline constexpr std::int32_t kItemNotFound = 3265;  // field name not in the record
}  // namespace errnum

}  // namespace text
