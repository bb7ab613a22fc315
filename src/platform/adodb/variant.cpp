#include "platform/adodb/variant.h"

#include <cfenv>
#include <charconv>
#include <cmath>
#include <limits>
#include <string_view>

#include "platform/text/regional.h"
#include "platform/text/runtime_error.h"
#include "platform/text/strings.h"

namespace adodb {
namespace {

[[noreturn]] void RaiseNull() {
    throw text::RuntimeError(text::errnum::kInvalidUseOfNull, "Uso no válido de Null");
}
[[noreturn]] void RaiseMismatch() {
    throw text::RuntimeError(text::errnum::kTypeMismatch, "No coinciden los tipos");
}
[[noreturn]] void RaiseOverflow() {
    throw text::RuntimeError(text::errnum::kOverflow, "Desbordamiento");
}

// Largest magnitude a Currency holds (922337203685477.5807).
constexpr double kCurrencyLimit = 922337203685477.5807;

double TextToNumber(const std::string& s) {
    auto n = text::ParseRegionalNumber(text::Trim(s));
    if (!n) RaiseMismatch();
    return *n;
}

}  // namespace

Currency Currency::FromDouble(double v) {
    if (!std::isfinite(v) || std::fabs(v) > kCurrencyLimit) RaiseOverflow();
    // Rounded on the shortest decimal form of the number, so that 1.00005 rounds up as
    // written rather than down as its binary value (1.0000499999...) would. The buffer holds
    // the fixed form of any value below the limit, the smallest fractions included.
    char buf[400];
    const auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(v), std::chars_format::fixed);
    if (res.ec != std::errc()) RaiseOverflow();
    const std::string_view digits(buf, static_cast<std::size_t>(res.ptr - buf));
    const auto point = digits.find('.');
    const std::string_view whole = digits.substr(0, point);
    const std::string_view frac =
        point == std::string_view::npos ? std::string_view() : digits.substr(point + 1);
    // The limit as a double lies above the largest Currency, so the last digits can still
    // step over it: every step is checked.
    std::int64_t scaled = 0;
    const auto push = [&scaled](int digit) {
        if (__builtin_mul_overflow(scaled, 10, &scaled) ||
            __builtin_add_overflow(scaled, digit, &scaled))
            RaiseOverflow();
    };
    for (char c : whole) push(c - '0');
    for (std::size_t i = 0; i < 4; ++i) push(i < frac.size() ? frac[i] - '0' : 0);
    if (frac.size() > 4 && frac[4] >= '5' && __builtin_add_overflow(scaled, 1, &scaled))
        RaiseOverflow();
    return Currency{v < 0 ? -scaled : scaled};
}

Variant::Variant(const Variant&) = default;
Variant::Variant(Variant&&) noexcept = default;
Variant& Variant::operator=(const Variant&) = default;
Variant& Variant::operator=(Variant&&) noexcept = default;
Variant::~Variant() = default;

Variant Variant::Null() {
    Variant v;
    v.type_ = VarType::Null;
    return v;
}

Variant Variant::Missing() {
    Variant v;
    v.type_ = VarType::Missing;
    return v;
}

bool Variant::IsNumeric() const {
    switch (type_) {
        case VarType::Boolean:
        case VarType::Integer:
        case VarType::Long:
        case VarType::Double:
        case VarType::Currency:
            return true;
        default:
            return false;
    }
}

std::string Variant::ToString() const {
    switch (type_) {
        case VarType::Empty:
            return {};
        case VarType::Null:
            RaiseNull();
        case VarType::Missing:
            RaiseMismatch();
        case VarType::Boolean:
            return RawBool() ? "Verdadero" : "Falso";
        case VarType::Integer:
        case VarType::Long:
            return std::to_string(RawInt());
        case VarType::Double:
            return text::NumberToText(RawDouble());
        case VarType::Currency:
            return text::NumberToText(RawCurrency().ToDouble());
        case VarType::Date:
            return text::FormatDefault(RawDate());
        case VarType::String:
            return RawString();
    }
    RaiseMismatch();
}

double Variant::ToDouble() const {
    switch (type_) {
        case VarType::Empty:
            return 0.0;
        case VarType::Null:
            RaiseNull();
        case VarType::Missing:
            RaiseMismatch();
        case VarType::Boolean:
            return RawBool() ? -1.0 : 0.0;  // the platform's True is -1
        case VarType::Integer:
        case VarType::Long:
            return static_cast<double>(RawInt());
        case VarType::Double:
            return RawDouble();
        case VarType::Currency:
            return RawCurrency().ToDouble();
        case VarType::Date:
            return RawDate().ToSerial();
        case VarType::String:
            return TextToNumber(RawString());
    }
    RaiseMismatch();
}

std::int32_t Variant::ToLong() const {
    if (type_ == VarType::Integer || type_ == VarType::Long) {
        return static_cast<std::int32_t>(RawInt());
    }
    const double d = ToDouble();
    if (!std::isfinite(d)) RaiseOverflow();
    // Half to even, as the platform rounds.
    const int saved = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double r = std::nearbyint(d);
    std::fesetround(saved);
    if (r < static_cast<double>(std::numeric_limits<std::int32_t>::min()) ||
        r > static_cast<double>(std::numeric_limits<std::int32_t>::max())) {
        RaiseOverflow();
    }
    return static_cast<std::int32_t>(r);
}

bool Variant::ToBool() const {
    switch (type_) {
        case VarType::Boolean:
            return RawBool();
        case VarType::String: {
            const std::string t = text::Trim(RawString());
            if (text::EqualsNoCase(t, "true") || text::EqualsNoCase(t, "verdadero")) return true;
            if (text::EqualsNoCase(t, "false") || text::EqualsNoCase(t, "falso")) return false;
            return TextToNumber(t) != 0.0;
        }
        default:
            return ToDouble() != 0.0;
    }
}

text::DateTime Variant::ToDate() const {
    switch (type_) {
        case VarType::Date:
            return RawDate();
        case VarType::Null:
            RaiseNull();
        case VarType::Missing:
            RaiseMismatch();
        case VarType::String: {
            auto d = text::ParseDate(RawString());
            if (!d) RaiseMismatch();
            return *d;
        }
        default: {
            const auto d = text::DateTime::FromSerial(ToDouble());
            if (!d) RaiseOverflow();
            return *d;
        }
    }
}

Currency Variant::ToCurrency() const {
    if (type_ == VarType::Currency) return RawCurrency();
    return Currency::FromDouble(ToDouble());
}

bool Variant::operator==(const Variant& o) const {
    return type_ == o.type_ && value_ == o.value_;
}

}  // namespace adodb
