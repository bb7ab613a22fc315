#include "lookup/stock_colour.h"

#include "platform/text/strings.h"

namespace lookup {

adodb::Currency NumberOf(const clientlib::UtilityServices& utils, const adodb::Variant& value) {
    if (value.IsNumeric()) return value.ToCurrency();
    if (value.IsNull() || value.IsEmpty()) return {};
    return utils.TextToNumber(value.ToString());
}

const adodb::Variant& StockLevelColour(adodb::Currency reorder, adodb::Currency stock,
                                       const adodb::Variant& level1, const adodb::Variant& level2,
                                       const adodb::Variant& level3, const adodb::Variant& level4) {
    const adodb::Currency zero{};
    if (reorder == zero && stock > zero) return level1;
    if (reorder > zero && stock > reorder) return level2;
    if (reorder > zero && stock < reorder) return level3;
    return level4;
}

std::optional<std::uint32_t> ColourNumber(const adodb::Variant& level) {
    try {
        if (level.IsNull() || level.IsEmpty() || text::Trim(level.ToString()).empty()) {
            return std::nullopt;
        }
        return static_cast<std::uint32_t>(level.ToLong());
    } catch (const text::RuntimeError&) {
        return std::nullopt;
    }
}

}  // namespace lookup
