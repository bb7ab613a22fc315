#include "platform/adodb/sqlite/date_styles.h"

#include <cstdio>

namespace adodb::sqlite {
namespace {

// The platform's serial dates count from 1899-12-30, two days before SQL Server's.
constexpr double kServerEpochOffset = 2.0;

std::string Two(int v) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02d", v % 100);
    return buf;
}

std::string Four(int v) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%04d", v);
    return buf;
}

std::string Time(const text::DateTime& d) {
    return Two(d.hour) + ":" + Two(d.minute) + ":" + Two(d.second);
}

}  // namespace

bool IsKnownDateStyle(int style) {
    switch (style) {
        case -1:
        case 0:
        case 100:
        case 1:
        case 101:
        case 3:
        case 103:
        case 4:
        case 104:
        case 5:
        case 105:
        case 10:
        case 110:
        case 11:
        case 111:
        case 12:
        case 112:
        case 8:
        case 108:
        case 20:
        case 120:
        case 21:
        case 121:
        case 23:
        case 126:
            return true;
        default:
            return false;
    }
}

namespace {

std::optional<text::DateTime> InRange(std::optional<text::DateTime> d) {
    if (d && (d->year < 1753 || d->year > 9999)) return std::nullopt;
    return d;
}

std::optional<text::DateTime> ReadAnyRange(std::string_view s, int style,
                                           const text::RegionalSettings& session);

}  // namespace

std::optional<text::DateTime> ReadDateInStyle(std::string_view s, int style,
                                              const text::RegionalSettings& session) {
    return InRange(ReadAnyRange(s, style, session));
}

namespace {

std::optional<text::DateTime> ReadAnyRange(std::string_view s, int style,
                                           const text::RegionalSettings& session) {
    std::string_view trimmed = s;
    while (!trimmed.empty() && trimmed.front() == ' ') trimmed.remove_prefix(1);
    while (!trimmed.empty() && trimmed.back() == ' ') trimmed.remove_suffix(1);
    if (trimmed.empty()) return text::DateTime{1900, 1, 1, 0, 0, 0};
    if (style == 12 || style == 112 ||
        (trimmed.size() == 8 &&
         trimmed.find_first_not_of("0123456789") == std::string_view::npos)) {
        // yyyymmdd (SQL Server also reads eight digits this way in every style).
        if (trimmed.size() != 8 ||
            trimmed.find_first_not_of("0123456789") != std::string_view::npos) {
            return std::nullopt;
        }
        const int y = std::stoi(std::string(trimmed.substr(0, 4)));
        const int m = std::stoi(std::string(trimmed.substr(4, 2)));
        const int d = std::stoi(std::string(trimmed.substr(6, 2)));
        if (!text::DateTime::IsValidDate(y, m, d)) return std::nullopt;
        return text::DateTime{y, m, d, 0, 0, 0};
    }
    text::RegionalSettings rs = session;
    switch (style) {
        case 1:
        case 101:
        case 10:
        case 110:
            rs.dateOrder = text::DateOrder::MDY;
            break;
        case 3:
        case 103:
        case 4:
        case 104:
        case 5:
        case 105:
            rs.dateOrder = text::DateOrder::DMY;
            break;
        case 11:
        case 111:
        case 20:
        case 120:
        case 21:
        case 121:
        case 23:
        case 126:
            rs.dateOrder = text::DateOrder::YMD;
            break;
        default:
            break;
    }
    if (auto d = text::ParseDate(trimmed, rs)) return d;
    return text::DateTime::FromIso(trimmed);
}

}  // namespace

std::string WriteDateInStyle(const text::DateTime& d, int style) {
    const std::string dd = Two(d.day), mm = Two(d.month), yy = Two(d.year), yyyy = Four(d.year);
    switch (style) {
        case 1:
            return mm + "/" + dd + "/" + yy;
        case 101:
            return mm + "/" + dd + "/" + yyyy;
        case 3:
            return dd + "/" + mm + "/" + yy;
        case 103:
            return dd + "/" + mm + "/" + yyyy;
        case 4:
            return dd + "." + mm + "." + yy;
        case 104:
            return dd + "." + mm + "." + yyyy;
        case 5:
            return dd + "-" + mm + "-" + yy;
        case 105:
            return dd + "-" + mm + "-" + yyyy;
        case 10:
            return mm + "-" + dd + "-" + yy;
        case 110:
            return mm + "-" + dd + "-" + yyyy;
        case 11:
            return yy + "/" + mm + "/" + dd;
        case 111:
            return yyyy + "/" + mm + "/" + dd;
        case 12:
            return yy + mm + dd;
        case 112:
            return yyyy + mm + dd;
        case 8:
        case 108:
            return Time(d);
        case 20:
        case 120:
            return d.ToIso();
        case 21:
        case 121:
            return d.ToIso() + ".000";
        case 23:
            return yyyy + "-" + mm + "-" + dd;
        case 126:
            return yyyy + "-" + mm + "-" + dd + "T" + Time(d);
        default:
            break;
    }
    static constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const int hour12 = d.hour % 12 == 0 ? 12 : d.hour % 12;
    char buf[48];
    std::snprintf(buf, sizeof buf, "%s %2d %04d %2d:%02d%s", kMonths[(d.month - 1) % 12], d.day,
                  d.year, hour12, d.minute, d.hour < 12 ? "AM" : "PM");
    return buf;
}

std::optional<text::DateTime> DateFromSerial(double serial) {
    // 1753-01-01 and 9999-12-31 as serial dates.
    constexpr double kFirst = -53688.0, kLast = 2958465.999988;
    if (!(serial >= kFirst && serial <= kLast)) return std::nullopt;
    return text::DateTime::FromSerial(serial);
}

std::optional<text::DateTime> DateFromServerDays(double days) {
    return DateFromSerial(days + kServerEpochOffset);
}

}  // namespace adodb::sqlite
