// Numbers: every number written as text (the default conversion and the fixed formats) reads
// back as the same number; conversions to Currency and Long give a value within rounding or
// raise the overflow error (6); any text converts or raises 13 or 6.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

#include "platform/adodb/variant.h"
#include "platform/text/regional.h"
#include "platform/text/runtime_error.h"
#include "regional_settings.h"
#include "support/fuzz_check.h"

using fuzzsupport::Require;

namespace {

constexpr double kCurrencyMax = 922337203685477.5807;

bool IsConversionError(const text::RuntimeError& e) {
    return e.Number() == text::errnum::kOverflow || e.Number() == text::errnum::kTypeMismatch;
}

void CheckWritten(double x, const text::RegionalSettings& rs, std::string_view input) {
    const std::string written = text::NumberToText(x, rs);
    const auto back = text::ParseRegionalNumber(written, rs);
    Require(back.has_value(), "written as " + written + ", does not read back", input);
    Require(text::NumberToText(*back, rs) == written,
            "written as " + written + ", reads back as " + text::NumberToText(*back, rs), input);
    for (const auto& [pattern, decimals] : {std::pair{"########0.00", 2}, std::pair{"0.0", 1},
                                            std::pair{"00000000", 0}, std::pair{"0.0000", 4}}) {
        const std::string fixed = text::FormatNumber(x, pattern, rs);
        const auto fixedBack = text::ParseRegionalNumber(fixed, rs);
        Require(fixedBack.has_value(), "formatted as " + fixed + ", does not read back", input);
        const double tolerance = 0.5 * std::pow(10.0, -decimals) + std::fabs(x) * 1e-14;
        Require(std::fabs(*fixedBack - x) <= tolerance, "formatted as " + fixed, input);
    }
}

void CheckConversions(const adodb::Variant& v, double x, std::string_view input) {
    try {
        const adodb::Currency c = v.ToCurrency();
        Require(std::fabs(c.ToDouble() - x) <= 0.00005 + std::fabs(x) * 1e-15,
                "currency " + std::to_string(c.scaled) + " for " + text::NumberToText(x), input);
    } catch (const text::RuntimeError& e) {
        Require(e.Number() == text::errnum::kOverflow,
                "currency error " + std::to_string(e.Number()), input);
        Require(!(std::fabs(x) < kCurrencyMax - 1), "overflow within range", input);
    }
    try {
        const std::int32_t n = v.ToLong();
        Require(std::fabs(n - x) <= 0.5, "long " + std::to_string(n), input);
    } catch (const text::RuntimeError& e) {
        Require(e.Number() == text::errnum::kOverflow, "long error " + std::to_string(e.Number()),
                input);
        Require(!(std::fabs(x) < 2147483647.0), "long overflow within range", input);
    }
    (void)v.ToString();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzsupport::InputReader reader(data, size);
    const text::RegionalSettings rs = fuzzsupport::ChosenSettings(reader.Byte());
    const std::string rest(reader.Rest());
    const text::RegionalSettings saved = text::RegionalSettings::Current();
    text::RegionalSettings::SetCurrent(rs);

    // The first eight bytes as a number.
    if (rest.size() >= sizeof(double)) {
        double x = 0;
        std::memcpy(&x, rest.data(), sizeof x);
        if (std::isfinite(x)) {
            CheckWritten(x, rs, reader.All());
            CheckConversions(adodb::Variant(x), x, reader.All());
        }
    }
    // The text as a number, as the program reads texts typed or stored.
    if (const auto x = text::ParseRegionalNumber(rest, rs)) {
        if (std::isfinite(*x)) {
            CheckWritten(*x, rs, reader.All());
            CheckConversions(adodb::Variant(rest), *x, reader.All());
        }
    } else {
        for (const auto convert : {+[](const adodb::Variant& v) { (void)v.ToDouble(); },
                                   +[](const adodb::Variant& v) { (void)v.ToCurrency(); },
                                   +[](const adodb::Variant& v) { (void)v.ToLong(); },
                                   +[](const adodb::Variant& v) { (void)v.ToBool(); }}) {
            try {
                convert(adodb::Variant(rest));
            } catch (const text::RuntimeError& e) {
                Require(IsConversionError(e), "error " + std::to_string(e.Number()), reader.All());
            }
        }
    }
    text::RegionalSettings::SetCurrent(saved);
    return 0;
}
