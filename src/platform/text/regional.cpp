#include "platform/text/regional.h"

#include <langinfo.h>
#include <locale.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace text {

namespace {

const char* EnvOrNull(const char* name) {
    const char* v = std::getenv(name);
    return v != nullptr && *v != '\0' ? v : nullptr;
}

// The locale name in force for a category, as the C library chooses it: LC_ALL, then the
// category's own variable, then LANG.
std::string LocaleName(const char* categoryVar) {
    for (const char* name : {"LC_ALL", categoryVar, "LANG"})
        if (const char* v = EnvOrNull(name)) return v;
    return {};
}

bool SaysNothing(const std::string& name) {
    return name.empty() || name == "C" || name == "POSIX" || name.rfind("C.", 0) == 0;
}

// Reads the date order and separator from a strftime pattern such as "%d/%m/%Y".
void ApplyDatePattern(const char* fmt, RegionalSettings& rs) {
    std::string order;
    char sep = 0;
    for (const char* p = fmt; *p != '\0'; ++p) {
        if (*p == '%' && p[1] != '\0') {
            ++p;
            while (*p == 'E' || *p == 'O' || *p == '-' || *p == '_' || *p == '0') ++p;
            switch (*p) {
                case 'd':
                case 'e':
                    order += 'D';
                    break;
                case 'm':
                    order += 'M';
                    break;
                case 'y':
                case 'Y':
                case 'C':
                    order += 'Y';
                    break;
                case 'D':
                    order = "MDY", sep = '/';
                    break;
                case 'F':
                    order = "YMD", sep = '-';
                    break;
                default:
                    break;
            }
            if (*p == '\0') break;
        } else if (sep == 0 && !order.empty()) {
            sep = *p;
        }
    }
    if (order == "DMY")
        rs.dateOrder = DateOrder::DMY;
    else if (order == "MDY")
        rs.dateOrder = DateOrder::MDY;
    else if (order == "YMD")
        rs.dateOrder = DateOrder::YMD;
    else
        return;
    if (sep == '/' || sep == '-' || sep == '.') rs.dateSeparator = sep;
}

RegionalSettings FromLocale() {
    RegionalSettings rs;
    const std::string timeName = LocaleName("LC_TIME");
    if (!SaysNothing(timeName)) {
        if (locale_t loc = newlocale(LC_TIME_MASK, timeName.c_str(), locale_t{})) {
            ApplyDatePattern(nl_langinfo_l(D_FMT, loc), rs);
            freelocale(loc);
        }
    }
    const std::string numName = LocaleName("LC_NUMERIC");
    if (!SaysNothing(numName)) {
        if (locale_t loc = newlocale(LC_NUMERIC_MASK, numName.c_str(), locale_t{})) {
            const std::string radix = nl_langinfo_l(RADIXCHAR, loc);
            const std::string thousands = nl_langinfo_l(THOUSEP, loc);
            if (radix.size() == 1) {
                rs.decimalSeparator = radix[0];
                // Locales without a one-byte thousands separator get the usual partner.
                rs.thousandsSeparator = thousands.size() == 1 && thousands[0] != radix[0]
                                            ? thousands[0]
                                            : (radix[0] == ',' ? '.' : ',');
            }
            freelocale(loc);
        }
    }
    return rs;
}

RegionalSettings& CurrentStorage() {
    static RegionalSettings rs = RegionalSettings::FromEnvironment();
    return rs;
}

// Reads 1..maxDigits digits; returns the number of digits read (0 when none).
int ReadNumber(std::string_view s, std::size_t& i, int maxDigits, int& value) {
    int count = 0;
    value = 0;
    while (i < s.size() && count < maxDigits && s[i] >= '0' && s[i] <= '9') {
        value = value * 10 + (s[i] - '0');
        ++i;
        ++count;
    }
    if (i < s.size() && s[i] >= '0' && s[i] <= '9') return 0;  // too many digits
    return count;
}

bool IsDateSep(char c) {
    return c == '/' || c == '-' || c == '.';
}

// "HH:MM[:SS[.fff]]" from `i` to the end of the text.
bool ReadTime(std::string_view s, std::size_t i, DateTime& d) {
    if (ReadNumber(s, i, 2, d.hour) == 0) return false;
    if (i >= s.size() || s[i++] != ':' || ReadNumber(s, i, 2, d.minute) != 2) return false;
    if (i < s.size()) {
        if (s[i++] != ':' || ReadNumber(s, i, 2, d.second) != 2) return false;
        if (i < s.size()) {
            if (s[i++] != '.' || i == s.size()) return false;
            for (; i < s.size(); ++i)
                if (s[i] < '0' || s[i] > '9') return false;
        }
    }
    return d.hour <= 23 && d.minute <= 59 && d.second <= 59;
}

std::string TwoDigits(int v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d", v);
    return buf;
}

std::string DatePart(const DateTime& d, const RegionalSettings& rs) {
    char y[16];
    std::snprintf(y, sizeof y, "%04d", d.year);
    const std::string dd = TwoDigits(d.day), mm = TwoDigits(d.month);
    const char sep = rs.dateSeparator;
    switch (rs.dateOrder) {
        case DateOrder::MDY:
            return mm + sep + dd + sep + y;
        case DateOrder::YMD:
            return y + (sep + mm) + sep + dd;
        case DateOrder::DMY:
            break;
    }
    return dd + sep + mm + sep + y;
}

// The platform writes numbers with 15 significant digits. Next to the largest double that
// form can round past it and no longer read as a number; those few values get 17 digits,
// which always read back as the same double.
int SignificantDigits(double magnitude) {
    char buf[64];
    const auto res =
        std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific, 14);
    double back = 0.0;
    const auto read = std::from_chars(buf, res.ptr, back);
    return read.ec == std::errc() ? 15 : 17;
}

std::string TimePart(const DateTime& d) {
    return TwoDigits(d.hour) + ":" + TwoDigits(d.minute) + ":" + TwoDigits(d.second);
}

}  // namespace

std::string RegionalSettings::ShortDatePattern() const {
    const std::string sep(1, dateSeparator);
    switch (dateOrder) {
        case DateOrder::MDY:
            return "MM" + sep + "dd" + sep + "yyyy";
        case DateOrder::YMD:
            return "yyyy" + sep + "MM" + sep + "dd";
        case DateOrder::DMY:
            break;
    }
    return "dd" + sep + "MM" + sep + "yyyy";
}

std::optional<RegionalSettings> RegionalSettings::Parse(std::string_view spec) {
    // Fixed positions: "OOO,D,T,R" (order, date separator, thousands, decimal), so that
    // "," itself can be a separator.
    if (spec.size() != 9 || spec[3] != ',' || spec[5] != ',' || spec[7] != ',') return std::nullopt;
    RegionalSettings rs;
    const std::string_view order = spec.substr(0, 3);
    if (order == "DMY")
        rs.dateOrder = DateOrder::DMY;
    else if (order == "MDY")
        rs.dateOrder = DateOrder::MDY;
    else if (order == "YMD")
        rs.dateOrder = DateOrder::YMD;
    else
        return std::nullopt;
    rs.dateSeparator = spec[4];
    rs.thousandsSeparator = spec[6];
    rs.decimalSeparator = spec[8];
    if (!IsDateSep(rs.dateSeparator) || rs.thousandsSeparator == rs.decimalSeparator ||
        (rs.decimalSeparator >= '0' && rs.decimalSeparator <= '9') ||
        (rs.thousandsSeparator >= '0' && rs.thousandsSeparator <= '9'))
        return std::nullopt;
    return rs;
}

RegionalSettings RegionalSettings::FromEnvironment() {
    if (const char* spec = EnvOrNull("DEPURACIONES_REGIONAL"))
        if (auto rs = Parse(spec)) return *rs;
    return FromLocale();
}

const RegionalSettings& RegionalSettings::Current() {
    return CurrentStorage();
}

void RegionalSettings::SetCurrent(const RegionalSettings& rs) {
    CurrentStorage() = rs;
}

std::optional<DateTime> ParseDate(std::string_view s, const RegionalSettings& rs) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);

    std::size_t i = 0;
    int a = 0, b = 0, c = 0;
    const int na = ReadNumber(s, i, 4, a);
    if (na == 0 || na == 3 || i >= s.size() || !IsDateSep(s[i])) return std::nullopt;
    ++i;
    if (ReadNumber(s, i, 2, b) == 0 || i >= s.size() || !IsDateSep(s[i])) return std::nullopt;
    ++i;
    const int nc = ReadNumber(s, i, 4, c);
    if (nc == 0) return std::nullopt;

    DateTime d;
    int yearDigits = 0;
    if (na == 4) {  // year first: ISO and the year/month/day order
        if (nc > 2) return std::nullopt;
        d.year = a, d.month = b, d.day = c, yearDigits = 4;
    } else {
        if (na > 2) return std::nullopt;
        yearDigits = nc;
        switch (rs.dateOrder) {
            case DateOrder::MDY:
                d.month = a, d.day = b, d.year = c;
                break;
            case DateOrder::DMY:
                d.day = a, d.month = b, d.year = c;
                break;
            case DateOrder::YMD:
                d.year = a, d.month = b, d.day = c, yearDigits = na;
                break;
        }
        if (rs.dateOrder == DateOrder::YMD && nc > 2) return std::nullopt;
    }
    if (yearDigits == 2)
        d.year += d.year < 30 ? 2000 : 1900;
    else if (yearDigits != 4)
        return std::nullopt;
    if (!DateTime::IsValidDate(d.year, d.month, d.day)) return std::nullopt;

    if (i == s.size()) return d;
    if (s[i] != ' ' && s[i] != 'T') return std::nullopt;
    while (i < s.size() && (s[i] == ' ' || s[i] == 'T')) ++i;
    if (!ReadTime(s, i, d)) return std::nullopt;
    return d;
}

bool IsDate(std::string_view s, const RegionalSettings& rs) {
    return ParseDate(s, rs).has_value();
}

std::string FormatDefault(const DateTime& d, const RegionalSettings& rs) {
    std::string out = DatePart(d, rs);
    if (d.HasTime()) out += " " + TimePart(d);
    return out;
}

std::string FormatGeneral(const DateTime& d, const RegionalSettings& rs) {
    return DatePart(d, rs) + " " + TimePart(d);
}

std::string FormatDMY(const DateTime& d, char sep) {
    RegionalSettings rs;
    rs.dateOrder = DateOrder::DMY;
    rs.dateSeparator = sep;
    return DatePart(d, rs);
}

std::string FormatNumber(double value, std::string_view pattern, const RegionalSettings& rs) {
    int decimals = 0, minIntDigits = 0;
    const auto point = pattern.find('.');
    for (std::size_t k = 0; k < pattern.size(); ++k) {
        const char ch = pattern[k];
        if (point != std::string_view::npos && k > point) {
            if (ch == '0' || ch == '#') ++decimals;
        } else if (ch == '0') {
            ++minIntDigits;
        }
    }
    if (!std::isfinite(value)) return NumberToText(value, rs);

    // Work on the value's 15 significant decimal digits, so that 1.005 rounds to 1.01 as
    // the operator reads it, not to the binary neighbour 1.00499999...
    char buf[64];
    const int significant = SignificantDigits(std::fabs(value));
    const auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(value),
                                   std::chars_format::scientific, significant - 1);
    const std::string sci(buf, res.ptr);  // "d.dddddddddddddde+XX"
    std::string digits =
        sci.substr(0, 1) + sci.substr(2, static_cast<std::size_t>(significant - 1));
    const int exponent = std::atoi(sci.c_str() + sci.find('e') + 1);
    int intDigits = exponent + 1;  // digits before the decimal point in `digits`
    const int keep = intDigits + decimals;
    if (keep < 0) {
        digits = "0";
        intDigits = 1;
    } else if (keep < static_cast<int>(digits.size())) {
        const bool roundUp = digits[static_cast<std::size_t>(keep)] >= '5';
        digits.resize(static_cast<std::size_t>(keep));
        if (roundUp) {
            int k = keep - 1;
            while (k >= 0 && digits[static_cast<std::size_t>(k)] == '9')
                digits[static_cast<std::size_t>(k--)] = '0';
            if (k >= 0) {
                ++digits[static_cast<std::size_t>(k)];
            } else {
                digits.insert(digits.begin(), '1');
                ++intDigits;
            }
        }
    }
    // Place the digits: pad to the right for decimals, to the left for leading zeros.
    const int wanted = intDigits + decimals;
    if (static_cast<int>(digits.size()) < wanted)
        digits.append(static_cast<std::size_t>(wanted) - digits.size(), '0');
    if (intDigits <= 0) {
        digits.insert(0, static_cast<std::size_t>(1 - intDigits), '0');
        intDigits = 1;
    }
    std::string intPart = digits.substr(0, static_cast<std::size_t>(intDigits));
    const std::string fracPart =
        digits.substr(static_cast<std::size_t>(intDigits), static_cast<std::size_t>(decimals));
    const auto firstNonZero = intPart.find_first_not_of('0');
    intPart = firstNonZero == std::string::npos ? "" : intPart.substr(firstNonZero);
    if (static_cast<int>(intPart.size()) < minIntDigits)
        intPart.insert(0, static_cast<std::size_t>(minIntDigits) - intPart.size(), '0');

    std::string out;
    const bool isZero = intPart.find_first_not_of('0') == std::string::npos &&
                        fracPart.find_first_not_of('0') == std::string::npos;
    if (value < 0 && !isZero) out += '-';
    out += intPart;
    if (decimals > 0) out += rs.decimalSeparator + fracPart;
    return out;
}

std::string NumberToText(double value, const RegionalSettings& rs) {
    if (value == 0) return "0";
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general,
                                   SignificantDigits(std::fabs(value)));
    std::string out(buf, res.ptr);
    for (char& ch : out) {
        if (ch == '.')
            ch = rs.decimalSeparator;
        else if (ch == 'e')
            ch = 'E';
    }
    return out;
}

std::optional<double> ParseRegionalNumber(std::string_view s, const RegionalSettings& rs) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    std::string canonical;
    canonical.reserve(s.size());
    std::size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) negative = s[i++] == '-';
    bool digits = false, point = false;
    for (; i < s.size(); ++i) {
        const char ch = s[i];
        if (ch >= '0' && ch <= '9') {
            canonical.push_back(ch);
            digits = true;
        } else if (ch == rs.decimalSeparator && !point) {
            canonical.push_back('.');
            point = true;
        } else if (ch == rs.thousandsSeparator && !point) {
            // ignored
        } else {
            break;
        }
    }
    if (!digits) return std::nullopt;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        canonical.push_back('e');
        ++i;
        if (i < s.size() && (s[i] == '-' || s[i] == '+')) canonical.push_back(s[i++]);
        bool expDigits = false;
        for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
            canonical.push_back(s[i]);
            expDigits = true;
        }
        if (!expDigits) return std::nullopt;
    }
    if (i != s.size()) return std::nullopt;
    double value = 0.0;
    const auto res = std::from_chars(canonical.data(), canonical.data() + canonical.size(), value);
    if (res.ec != std::errc() || res.ptr != canonical.data() + canonical.size())
        return std::nullopt;
    return negative ? -value : value;
}

}  // namespace text
