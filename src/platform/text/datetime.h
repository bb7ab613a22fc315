#pragma once
// Calendar date with an optional time of day, as stored and compared by the program.
#include <compare>
#include <optional>
#include <string>
#include <string_view>

namespace text {

struct DateTime {
    int year = 1899;
    int month = 12;
    int day = 30;
    int hour = 0;
    int minute = 0;
    int second = 0;

    bool HasTime() const { return hour != 0 || minute != 0 || second != 0; }
    auto operator<=>(const DateTime&) const = default;

    // "YYYY-MM-DD HH:MM:SS", the form the embedded database stores.
    std::string ToIso() const;
    // Reads "YYYY-MM-DD", "YYYY-MM-DD HH:MM[:SS[.fff]]" or with "T"; nullopt otherwise.
    static std::optional<DateTime> FromIso(std::string_view s);
    // Days since 1899-12-30 plus the fraction of the day (the platform's serial date).
    double ToSerial() const;
    // The date of a serial date; nullopt when it is not a number or falls outside the years
    // 1 to 9999.
    static std::optional<DateTime> FromSerial(double serial);
    static bool IsValidDate(int year, int month, int day);
};

}  // namespace text
