#pragma once
// Small helpers for putting values into statement text.
#include <optional>
#include <string>
#include <string_view>

#include "platform/adodb/variant.h"

namespace db::detail {

// The data-type number a variant holds (a number, or a text that reads as one); nullopt
// for anything else.
std::optional<double> TypeNumber(const adodb::Variant& v);

// Every single quote doubled, so the text can stand between single quotes in a statement.
std::string DoubleQuotes(std::string_view s);

// A number as a statement needs it: shortest form, "." as decimal point, no grouping,
// whatever the regional settings say.
std::string SqlNumber(double value);

// A value written into a statement: numbers as SqlNumber, everything else as its text.
std::string SqlText(const adodb::Variant& v);

// A number read back from a field's text: the regional form when the whole text is one,
// else its leading numeric part (text without one reads as 0).
double ReadNumber(const std::string& s);

}  // namespace db::detail
