#pragma once
// The text colour of an article row by its stock level.
#include <cstdint>
#include <optional>

#include "clientlib/utility_services.h"
#include "platform/adodb/variant.h"

namespace lookup {

// A reorder point or stock value as a fixed-point number: numbers as they are, texts read
// with the regional separators, Null and empty text as 0.
adodb::Currency NumberOf(const clientlib::UtilityServices& utils, const adodb::Variant& value);

// The level colour for reorder point P and stock S: level 1 when P = 0 and S > 0, level 2
// when P > 0 and S > P, level 3 when P > 0 and S < P, level 4 in every other case.
const adodb::Variant& StockLevelColour(adodb::Currency reorder, adodb::Currency stock,
                                       const adodb::Variant& level1, const adodb::Variant& level2,
                                       const adodb::Variant& level3, const adodb::Variant& level4);

// The colour number of a level value (00BBGGRR, red in the low byte); none when the value
// is blank or not a number.
std::optional<std::uint32_t> ColourNumber(const adodb::Variant& level);

}  // namespace lookup
