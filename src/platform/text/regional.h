#pragma once
// Regional formats for dates and numbers, read once from the process locale with an
// override through the environment variable DEPURACIONES_REGIONAL, for example
// "DMY,/,.,," (date order, date separator, thousands separator, decimal separator)
// or "MDY,/,,,." . Without either: day/month/year, "/", decimal comma, thousands point.
#include <optional>
#include <string>
#include <string_view>

#include "platform/text/datetime.h"

namespace text {

enum class DateOrder { DMY, MDY, YMD };

struct RegionalSettings {
    DateOrder dateOrder = DateOrder::DMY;
    char dateSeparator = '/';
    char decimalSeparator = ',';
    char thousandsSeparator = '.';

    // Short-date pattern such as "dd/MM/yyyy".
    std::string ShortDatePattern() const;

    // Settings from DEPURACIONES_REGIONAL when set, else from LC_TIME/LC_NUMERIC/LANG,
    // else the defaults.
    static RegionalSettings FromEnvironment();
    // Parses the override form described above; nullopt when malformed.
    static std::optional<RegionalSettings> Parse(std::string_view spec);

    // Process-wide settings (initialised from the environment on first use).
    static const RegionalSettings& Current();
    static void SetCurrent(const RegionalSettings& rs);
};

// "Reads as a date": day, month and year in the regional order, separated by "/", "-" or
// ".", a two- or four-digit year (two digits: 00-29 -> 20xx, 30-99 -> 19xx), optionally
// followed by a time "HH:MM[:SS]". Also accepts ISO "YYYY-MM-DD[ HH:MM[:SS]]". Leading and
// trailing blanks are ignored. Impossible dates (31/02/2004) do not read.
std::optional<DateTime> ParseDate(std::string_view s,
                                  const RegionalSettings& rs = RegionalSettings::Current());
bool IsDate(std::string_view s, const RegionalSettings& rs = RegionalSettings::Current());

// Default date-to-text conversion: short date with a four-digit year in the regional
// order and separator, the time ("HH:MM:SS") appended after a blank only when it has one.
std::string FormatDefault(const DateTime& d,
                          const RegionalSettings& rs = RegionalSettings::Current());
// General date format: short date and time always.
std::string FormatGeneral(const DateTime& d,
                          const RegionalSettings& rs = RegionalSettings::Current());
// Day/month/four-digit-year with the given separator ("31/12/2004").
std::string FormatDMY(const DateTime& d, char sep = '/');

// Number formats of the form "########0.00" / "########0.0" / "00000000": fixed decimals
// (rounded half away from zero) with the regional decimal separator, no thousands
// separator, at least as many integer digits as the pattern has zeros before the point.
std::string FormatNumber(double value, std::string_view pattern,
                         const RegionalSettings& rs = RegionalSettings::Current());

// A number written as text the way the platform's default conversion writes it: shortest
// form, regional decimal separator, no thousands separator ("1234,5", "12", "-0,25").
std::string NumberToText(double value, const RegionalSettings& rs = RegionalSettings::Current());

// Reads a number written with the regional separators (thousands separators ignored);
// nullopt when the text is not a number.
std::optional<double> ParseRegionalNumber(std::string_view s,
                                          const RegionalSettings& rs = RegionalSettings::Current());

}  // namespace text
