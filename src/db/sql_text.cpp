#include "db/sql_text.h"

#include "platform/text/regional.h"
#include "platform/text/runtime_error.h"
#include "platform/text/strings.h"

namespace db::detail {

std::optional<double> TypeNumber(const adodb::Variant& v) {
    if (v.IsNumeric()) return v.ToDouble();
    if (v.Type() != adodb::VarType::String) return std::nullopt;
    try {
        return v.ToDouble();
    } catch (const text::RuntimeError&) {
        return std::nullopt;
    }
}

std::string DoubleQuotes(std::string_view s) {
    return text::ReplaceAllExact(s, "'", "''");
}

std::string SqlNumber(double value) {
    text::RegionalSettings settings = text::RegionalSettings::Current();
    settings.decimalSeparator = '.';
    settings.thousandsSeparator = ',';
    return text::NumberToText(value, settings);
}

std::string SqlText(const adodb::Variant& v) {
    if (v.IsNumeric() && v.Type() != adodb::VarType::Boolean) return SqlNumber(v.ToDouble());
    return v.ToString();
}

double ReadNumber(const std::string& s) {
    if (const auto n = text::ParseRegionalNumber(s)) return *n;
    return text::LeadingNumber(s);
}

}  // namespace db::detail
