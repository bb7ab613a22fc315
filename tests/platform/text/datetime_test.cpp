#include "platform/text/datetime.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using text::DateTime;

TEST(DateTime, IsoRoundTripAndRejects) {
    const DateTime d{2004, 12, 31, 23, 5, 9};
    EXPECT_EQ(d.ToIso(), "2004-12-31 23:05:09");
    EXPECT_EQ(DateTime::FromIso(d.ToIso()), d);
    EXPECT_EQ(DateTime::FromIso("2004-12-31"), (DateTime{2004, 12, 31, 0, 0, 0}));
    EXPECT_EQ(DateTime::FromIso("2004-12-31T01:02"), (DateTime{2004, 12, 31, 1, 2, 0}));
    EXPECT_EQ(DateTime::FromIso("2004-12-31 01:02:03.999"), (DateTime{2004, 12, 31, 1, 2, 3}));
    for (const char* bad : {"", "2004-02-30", "2004-12-31 25:00", "2004-1-31", "31/12/2004",
                            "2004-12-31 01:02:03.", "2004-12-31x"})
        EXPECT_FALSE(DateTime::FromIso(bad).has_value()) << bad;
}

TEST(DateTime, SerialNumbersOfThePlatform) {
    struct Case {
        DateTime d;
        double serial;
    } cases[] = {
        {{1899, 12, 30, 0, 0, 0}, 0.0},     {{1900, 1, 1, 0, 0, 0}, 2.0},
        {{2004, 12, 31, 0, 0, 0}, 38352.0}, {{2004, 12, 31, 18, 0, 0}, 38352.75},
        {{1899, 12, 29, 6, 0, 0}, -1.25},
    };
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(c.d.ToSerial(), c.serial) << c.d.ToIso();
        EXPECT_EQ(DateTime::FromSerial(c.serial), c.d) << c.serial;
    }
    // A time a hair before midnight rounds to the next day.
    EXPECT_EQ(DateTime::FromSerial(38352.9999999), (DateTime{2005, 1, 1, 0, 0, 0}));

    // Years 1 to 9999 only: before the epoch the whole part is the day.
    EXPECT_EQ(DateTime::FromSerial(-693593.5), (DateTime{1, 1, 1, 12, 0, 0}));
    EXPECT_EQ(DateTime::FromSerial(2958465.99998), (DateTime{9999, 12, 31, 23, 59, 58}));
    for (const double outside : {-693594.0, 2958466.0, 1.9e14, -1e300, std::nan("")})
        EXPECT_EQ(DateTime::FromSerial(outside), std::nullopt) << outside;
}

TEST(DateTime, ValidDates) {
    EXPECT_TRUE(DateTime::IsValidDate(2000, 2, 29));
    EXPECT_FALSE(DateTime::IsValidDate(1900, 2, 29));
    EXPECT_FALSE(DateTime::IsValidDate(2004, 4, 31));
    EXPECT_FALSE(DateTime::IsValidDate(2004, 13, 1));
    EXPECT_FALSE(DateTime::IsValidDate(0, 1, 1));
}

}  // namespace
