#pragma once
// A value of any of the kinds the program passes around: Empty, Null, Missing (an omitted
// optional argument), Boolean, 16- and 32-bit integers, Double, Currency (fixed point with
// four decimals), Date and String.
#include <cstdint>
#include <string>
#include <variant>

#include "platform/text/datetime.h"

namespace adodb {

enum class VarType { Empty, Null, Missing, Boolean, Integer, Long, Double, Currency, Date, String };

struct Currency {
    std::int64_t scaled = 0;  // value * 10000
    auto operator<=>(const Currency&) const = default;
    double ToDouble() const { return static_cast<double>(scaled) / 10000.0; }
    static Currency FromDouble(double v);  // rounded to four decimals, half away from zero
};

class Variant {
  public:
    Variant() = default;  // Empty
    // Copies and moves are defined out of line: inlined std::variant copies make GCC 12
    // report false "may be used uninitialized" warnings at -O2 in every caller.
    Variant(const Variant&);
    Variant(Variant&&) noexcept;
    Variant& operator=(const Variant&);
    Variant& operator=(Variant&&) noexcept;
    ~Variant();
    Variant(bool v) : type_(VarType::Boolean), value_(v) {}
    Variant(std::int16_t v) : type_(VarType::Integer), value_(std::int64_t{v}) {}
    Variant(std::int32_t v) : type_(VarType::Long), value_(std::int64_t{v}) {}
    Variant(double v) : type_(VarType::Double), value_(v) {}
    Variant(Currency v) : type_(VarType::Currency), value_(v) {}
    Variant(const text::DateTime& v) : type_(VarType::Date), value_(v) {}
    Variant(std::string v) : type_(VarType::String), value_(std::move(v)) {}
    Variant(const char* v) : type_(VarType::String), value_(std::string(v)) {}

    static Variant Null();
    static Variant Missing();

    VarType Type() const { return type_; }
    bool IsEmpty() const { return type_ == VarType::Empty; }
    bool IsNull() const { return type_ == VarType::Null; }
    bool IsMissing() const { return type_ == VarType::Missing; }
    bool IsNumeric() const;  // Boolean, Integer, Long, Double, Currency

    // Conversions. Null raises text::RuntimeError 94 ("Invalid use of Null"); a text that is
    // not a number / date raises 13 ("Type mismatch"). Empty converts to "", 0, false.
    // Numbers become text the way the platform writes them (regional decimal separator),
    // dates in the default date format (short date, time only when present), Booleans as
    // "Verdadero"/"Falso".
    std::string ToString() const;
    double ToDouble() const;
    std::int32_t ToLong() const;  // rounded half to even, range checked (error 6)
    bool ToBool() const;          // numbers: non-zero; texts: "true"/"false"/numbers
    text::DateTime ToDate() const;
    Currency ToCurrency() const;

    // Raw access for providers; the caller has checked the type.
    std::int64_t RawInt() const { return std::get<std::int64_t>(value_); }
    bool RawBool() const { return std::get<bool>(value_); }
    double RawDouble() const { return std::get<double>(value_); }
    const std::string& RawString() const { return std::get<std::string>(value_); }
    const text::DateTime& RawDate() const { return std::get<text::DateTime>(value_); }
    Currency RawCurrency() const { return std::get<Currency>(value_); }

    // Same kind and same value (Empty == Empty, Null == Null).
    bool operator==(const Variant& o) const;

  private:
    VarType type_ = VarType::Empty;
    std::variant<std::monostate, bool, std::int64_t, double, Currency, text::DateTime, std::string>
        value_;
};

}  // namespace adodb
