// Dates: a text that reads as a date is a valid date and its written forms read back as the
// same date; serial dates and number-to-date conversions give a valid date or raise the
// overflow error (6), never a year outside 1 to 9999.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

#include "platform/adodb/variant.h"
#include "platform/text/regional.h"
#include "platform/text/runtime_error.h"
#include "regional_settings.h"
#include "support/fuzz_check.h"

using fuzzsupport::Require;

namespace {

void CheckDate(const text::DateTime& d, const text::RegionalSettings& rs, std::string_view input) {
    Require(text::DateTime::IsValidDate(d.year, d.month, d.day) && d.hour >= 0 && d.hour < 24 &&
                d.minute >= 0 && d.minute < 60 && d.second >= 0 && d.second < 60,
            "invalid date " + d.ToIso(), input);
    Require(text::ParseDate(text::FormatDefault(d, rs), rs) == d,
            "default form does not read back: " + text::FormatDefault(d, rs), input);
    Require(text::ParseDate(text::FormatGeneral(d, rs), rs) == d,
            "general form does not read back: " + text::FormatGeneral(d, rs), input);
    Require(text::DateTime::FromIso(d.ToIso()) == d, "ISO form does not read back", input);
    Require(text::DateTime::FromSerial(d.ToSerial()) == d, "serial does not read back", input);
}

// The conversion to a date of any value: a valid date or error 6 (13 for a text that is
// not a date).
void CheckConversion(const adodb::Variant& v, std::string_view input) {
    try {
        const text::DateTime d = v.ToDate();
        Require(text::DateTime::IsValidDate(d.year, d.month, d.day), "converted to " + d.ToIso(),
                input);
    } catch (const text::RuntimeError& e) {
        Require(e.Number() == text::errnum::kOverflow || e.Number() == text::errnum::kTypeMismatch,
                "error " + std::to_string(e.Number()), input);
        if (v.Type() == adodb::VarType::Double)
            Require(e.Number() == text::errnum::kOverflow, "a number gave a type mismatch", input);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzsupport::InputReader reader(data, size);
    const text::RegionalSettings rs = fuzzsupport::ChosenSettings(reader.Byte());
    const std::string rest(reader.Rest());

    if (const auto d = text::ParseDate(rest, rs)) CheckDate(*d, rs, reader.All());
    if (const auto d = text::DateTime::FromIso(rest)) CheckDate(*d, rs, reader.All());

    // The first eight bytes as a serial date, and the text as a number.
    if (rest.size() >= sizeof(double)) {
        double serial = 0;
        std::memcpy(&serial, rest.data(), sizeof serial);
        if (const auto d = text::DateTime::FromSerial(serial)) {
            CheckDate(*d, rs, reader.All());
            // Before the epoch the serial's parts count in opposite directions, so only
            // later serials are compared as numbers.
            Require(serial < 0 || std::fabs(d->ToSerial() - serial) <= 1.0 / 86400.0,
                    "serial moved to " + d->ToIso(), reader.All());
        }
        CheckConversion(adodb::Variant(serial), reader.All());
    }
    const text::RegionalSettings saved = text::RegionalSettings::Current();
    text::RegionalSettings::SetCurrent(rs);
    CheckConversion(adodb::Variant(rest), reader.All());
    text::RegionalSettings::SetCurrent(saved);
    return 0;
}
