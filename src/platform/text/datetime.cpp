#include "platform/text/datetime.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

namespace text {

namespace {

// Days since 1970-01-01 of a proleptic Gregorian date.
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void CivilFromDays(std::int64_t z, int& year, int& month, int& day) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t y = static_cast<std::int64_t>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    year = static_cast<int>(y + (m <= 2));
    month = static_cast<int>(m);
    day = static_cast<int>(d);
}

const std::int64_t kSerialEpoch = DaysFromCivil(1899, 12, 30);

bool ReadDigits(std::string_view s, std::size_t& i, std::size_t count, int& value) {
    if (i + count > s.size()) return false;
    int v = 0;
    for (std::size_t k = 0; k < count; ++k) {
        const char c = s[i + k];
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
    }
    i += count;
    value = v;
    return true;
}

}  // namespace

bool DateTime::IsValidDate(int year, int month, int day) {
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1) return false;
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    int max = kDays[month - 1];
    if (month == 2 && ((year % 4 == 0 && year % 100 != 0) || year % 400 == 0)) max = 29;
    return day <= max;
}

std::string DateTime::ToIso() const {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", year, month, day, hour, minute,
                  second);
    return buf;
}

std::optional<DateTime> DateTime::FromIso(std::string_view s) {
    DateTime d;
    std::size_t i = 0;
    if (!ReadDigits(s, i, 4, d.year) || i >= s.size() || s[i++] != '-' ||
        !ReadDigits(s, i, 2, d.month) || i >= s.size() || s[i++] != '-' ||
        !ReadDigits(s, i, 2, d.day))
        return std::nullopt;
    if (!IsValidDate(d.year, d.month, d.day)) return std::nullopt;
    if (i == s.size()) return d;
    if (s[i] != ' ' && s[i] != 'T') return std::nullopt;
    ++i;
    if (!ReadDigits(s, i, 2, d.hour) || i >= s.size() || s[i++] != ':' ||
        !ReadDigits(s, i, 2, d.minute))
        return std::nullopt;
    if (i < s.size()) {
        if (s[i++] != ':' || !ReadDigits(s, i, 2, d.second)) return std::nullopt;
        if (i < s.size()) {
            // Fractions of a second are read and dropped.
            if (s[i++] != '.' || i == s.size()) return std::nullopt;
            for (; i < s.size(); ++i)
                if (s[i] < '0' || s[i] > '9') return std::nullopt;
        }
    }
    if (d.hour > 23 || d.minute > 59 || d.second > 59) return std::nullopt;
    return d;
}

double DateTime::ToSerial() const {
    const auto days = static_cast<double>(
        DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) -
        kSerialEpoch);
    const double fraction = (hour * 3600 + minute * 60 + second) / 86400.0;
    // Before the epoch the whole part counts days backwards while the fraction still
    // counts the time forwards from midnight (-1.25 is 1899-12-29 06:00).
    return days >= 0 ? days + fraction : days - fraction;
}

std::optional<DateTime> DateTime::FromSerial(double serial) {
    // Checked before any conversion to an integer, which would be undefined out of range.
    // Below the epoch the whole part is the day, so the first day's serials run down to just
    // above one day less; the last second of 9999 ends where rounding would reach 10000.
    static const double kBeforeFirst = DateTime{1, 1, 1}.ToSerial() - 1.0;
    static const double kLast = DateTime{9999, 12, 31, 23, 59, 59}.ToSerial() + 0.5 / 86400.0;
    if (!(serial > kBeforeFirst && serial < kLast)) return std::nullopt;
    auto days = static_cast<std::int64_t>(std::trunc(serial));
    auto seconds =
        static_cast<std::int64_t>(std::llround(std::fabs(serial - std::trunc(serial)) * 86400.0));
    if (seconds >= 86400) {
        seconds -= 86400;
        days += 1;
    }
    DateTime d;
    CivilFromDays(days + kSerialEpoch, d.year, d.month, d.day);
    d.hour = static_cast<int>(seconds / 3600);
    d.minute = static_cast<int>(seconds / 60 % 60);
    d.second = static_cast<int>(seconds % 60);
    return d;
}

}  // namespace text
