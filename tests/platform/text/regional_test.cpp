#include "platform/text/regional.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

namespace {

using text::DateOrder;
using text::DateTime;
using text::RegionalSettings;

RegionalSettings Settings(const char* spec) {
    auto rs = RegionalSettings::Parse(spec);
    EXPECT_TRUE(rs.has_value()) << spec;
    return rs.value_or(RegionalSettings{});
}

DateTime D(int y, int m, int d, int hh = 0, int mm = 0, int ss = 0) {
    return DateTime{y, m, d, hh, mm, ss};
}

TEST(Regional, ParseOverride) {
    const auto dmy = Settings("DMY,/,.,,");
    EXPECT_EQ(dmy.dateOrder, DateOrder::DMY);
    EXPECT_EQ(dmy.dateSeparator, '/');
    EXPECT_EQ(dmy.thousandsSeparator, '.');
    EXPECT_EQ(dmy.decimalSeparator, ',');
    const auto mdy = Settings("MDY,-,,,.");
    EXPECT_EQ(mdy.dateOrder, DateOrder::MDY);
    EXPECT_EQ(mdy.dateSeparator, '-');
    EXPECT_EQ(mdy.thousandsSeparator, ',');
    EXPECT_EQ(mdy.decimalSeparator, '.');
    EXPECT_EQ(mdy.ShortDatePattern(), "MM-dd-yyyy");
    EXPECT_EQ(dmy.ShortDatePattern(), "dd/MM/yyyy");
    for (const char* bad : {"", "DMY", "XYZ,/,.,,", "DMY,/,,,,", "DMY,x,.,,", "DMY;/;.;,"})
        EXPECT_FALSE(RegionalSettings::Parse(bad).has_value()) << bad;
}

TEST(Regional, EnvironmentOverrideWinsAndCLocaleGivesDefaults) {
    const char* saved = std::getenv("DEPURACIONES_REGIONAL");
    const std::string keep = saved ? saved : "";
    setenv("DEPURACIONES_REGIONAL", "MDY,.,,,.", 1);
    const auto rs = RegionalSettings::FromEnvironment();
    EXPECT_EQ(rs.dateOrder, DateOrder::MDY);
    EXPECT_EQ(rs.dateSeparator, '.');

    unsetenv("DEPURACIONES_REGIONAL");
    const char* lcAll = std::getenv("LC_ALL");
    const std::string keepLcAll = lcAll ? lcAll : "";
    setenv("LC_ALL", "C", 1);
    const auto def = RegionalSettings::FromEnvironment();
    EXPECT_EQ(def.dateOrder, DateOrder::DMY);
    EXPECT_EQ(def.dateSeparator, '/');
    EXPECT_EQ(def.decimalSeparator, ',');
    EXPECT_EQ(def.thousandsSeparator, '.');

    if (lcAll)
        setenv("LC_ALL", keepLcAll.c_str(), 1);
    else
        unsetenv("LC_ALL");
    if (saved) setenv("DEPURACIONES_REGIONAL", keep.c_str(), 1);
}

struct DateCase {
    const char* input;
    std::optional<DateTime> dmy;  // read under day/month/year
    std::optional<DateTime> mdy;  // read under month/day/year
};

TEST(Regional, ReadsAsADateUnderBothOrders) {
    const auto dmy = Settings("DMY,/,.,,");
    const auto mdy = Settings("MDY,/,,,.");
    const DateCase cases[] = {
        {"31/12/2004", D(2004, 12, 31), std::nullopt},
        {"12/31/2004", std::nullopt, D(2004, 12, 31)},
        {"01/02/2004", D(2004, 2, 1), D(2004, 1, 2)},
        {"1-2-04", D(2004, 2, 1), D(2004, 1, 2)},
        {"1.2.99", D(1999, 2, 1), D(1999, 1, 2)},
        {"1/2/29", D(2029, 2, 1), D(2029, 1, 2)},
        {"1/2/30", D(1930, 2, 1), D(1930, 1, 2)},
        {" 31/12/2004 ", D(2004, 12, 31), std::nullopt},
        {"31/02/2004", std::nullopt, std::nullopt},
        {"29/02/2004", D(2004, 2, 29), std::nullopt},
        {"29/02/2003", std::nullopt, std::nullopt},
        {"00/01/2004", std::nullopt, std::nullopt},
        {"31/12/2004 23:59:58", D(2004, 12, 31, 23, 59, 58), std::nullopt},
        {"31/12/2004 7:05", D(2004, 12, 31, 7, 5), std::nullopt},
        {"31/12/2004 24:00", std::nullopt, std::nullopt},
        {"31/12/2004 12:60", std::nullopt, std::nullopt},
        {"2004-12-31", D(2004, 12, 31), D(2004, 12, 31)},
        {"2004-12-31 10:11:12.345", D(2004, 12, 31, 10, 11, 12), D(2004, 12, 31, 10, 11, 12)},
        {"2004-12-31T10:11", D(2004, 12, 31, 10, 11), D(2004, 12, 31, 10, 11)},
        {"2004-02-30", std::nullopt, std::nullopt},
        {"", std::nullopt, std::nullopt},
        {"hoy", std::nullopt, std::nullopt},
        {"31/12", std::nullopt, std::nullopt},
        {"31/12/204", std::nullopt, std::nullopt},
        {"31/12/20045", std::nullopt, std::nullopt},
        {"311/12/2004", std::nullopt, std::nullopt},
        {"31/12/2004x", std::nullopt, std::nullopt},
        {"31/12/2004 10", std::nullopt, std::nullopt},
        {"31 12 2004", std::nullopt, std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(text::ParseDate(c.input, dmy), c.dmy) << "DMY: " << c.input;
        EXPECT_EQ(text::ParseDate(c.input, mdy), c.mdy) << "MDY: " << c.input;
        EXPECT_EQ(text::IsDate(c.input, dmy), c.dmy.has_value()) << c.input;
    }
}

TEST(Regional, DateToText) {
    const auto dmy = Settings("DMY,/,.,,");
    const auto mdy = Settings("MDY,-,,,.");
    EXPECT_EQ(text::FormatDefault(D(2004, 1, 2), dmy), "02/01/2004");
    EXPECT_EQ(text::FormatDefault(D(2004, 1, 2, 9, 5, 7), dmy), "02/01/2004 09:05:07");
    EXPECT_EQ(text::FormatDefault(D(2004, 1, 2), mdy), "01-02-2004");
    EXPECT_EQ(text::FormatGeneral(D(2004, 1, 2), dmy), "02/01/2004 00:00:00");
    EXPECT_EQ(text::FormatDMY(D(999, 12, 31)), "31/12/0999");
    EXPECT_EQ(text::FormatDMY(D(2004, 12, 31), '-'), "31-12-2004");
    // What is written reads back as the same date.
    const DateTime d = D(2004, 2, 29, 13, 14, 15);
    EXPECT_EQ(text::ParseDate(text::FormatDefault(d, mdy), mdy), d);
    EXPECT_EQ(text::ParseDate(text::FormatGeneral(d, dmy), dmy), d);
}

TEST(Regional, NumberFormatsWithDecimalComma) {
    const auto comma = Settings("DMY,/,.,,");
    const auto point = Settings("MDY,/,,,.");
    struct Case {
        double value;
        const char* pattern;
        const char* expected;
    } cases[] = {
        {1234.5, "########0.00", "1234,50"},
        {0, "########0.00", "0,00"},
        {0.005, "########0.00", "0,01"},
        {1.005, "########0.00", "1,01"},
        {2.675, "########0.00", "2,68"},
        {-2.5, "########0.0", "-2,5"},
        {-0.04, "########0.0", "0,0"},
        {-0.05, "########0.0", "-0,1"},
        {9.96, "########0.0", "10,0"},
        {999999999.999, "########0.00", "1000000000,00"},
        {0.25, "########0.0", "0,3"},
        {123456789012.0, "########0.00", "123456789012,00"},
        {42, "00000000", "00000042"},
        {42.5, "00000000", "00000043"},
        {0.4, "#", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(text::FormatNumber(c.value, c.pattern, comma), c.expected)
            << c.value << " " << c.pattern;
    EXPECT_EQ(text::FormatNumber(1234.5, "########0.00", point), "1234.50");
}

TEST(Regional, NumbersAsTextAndBack) {
    const auto comma = Settings("DMY,/,.,,");
    const auto point = Settings("MDY,/,,,.");
    EXPECT_EQ(text::NumberToText(1234.5, comma), "1234,5");
    EXPECT_EQ(text::NumberToText(12, comma), "12");
    EXPECT_EQ(text::NumberToText(-0.25, comma), "-0,25");
    EXPECT_EQ(text::NumberToText(0.1 + 0.2, point), "0.3");
    EXPECT_EQ(text::NumberToText(-0.0, point), "0");
    // Next to the largest double, 15 digits would round past it: those values get 17.
    EXPECT_EQ(text::NumberToText(-1.7976931348623157e308, point), "-1.7976931348623157E+308");
    EXPECT_EQ(text::NumberToText(1.79769313486231e308, point), "1.79769313486231E+308");
    EXPECT_EQ(text::ParseRegionalNumber(text::FormatNumber(-1.7976931348623157e308, "0.00", comma),
                                        comma),
              -1.7976931348623157e308);

    struct Case {
        const char* s;
        std::optional<double> comma;
        std::optional<double> point;
    } cases[] = {
        {"1.234,5", 1234.5, std::nullopt},
        {"1,234.5", std::nullopt, 1234.5},
        {"3.5", 35, 3.5},
        {" -12 ", -12, -12},
        {"+0,5", 0.5, 5},
        {"", std::nullopt, std::nullopt},
        {"abc", std::nullopt, std::nullopt},
        {"12abc", std::nullopt, std::nullopt},
        {"1E3", 1000, 1000},
        {"-", std::nullopt, std::nullopt},
        {",", std::nullopt, std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(text::ParseRegionalNumber(c.s, comma), c.comma) << c.s;
        EXPECT_EQ(text::ParseRegionalNumber(c.s, point), c.point) << c.s;
    }
}

TEST(Regional, CurrentSettingsCanBeReplaced) {
    const RegionalSettings saved = RegionalSettings::Current();
    RegionalSettings::SetCurrent(Settings("MDY,/,,,."));
    EXPECT_EQ(text::ParseDate("12/31/2004"), D(2004, 12, 31));
    EXPECT_FALSE(text::IsDate("31/12/2004"));
    RegionalSettings::SetCurrent(saved);
}

}  // namespace
