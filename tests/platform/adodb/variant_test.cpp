#include "platform/adodb/variant.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "platform/text/regional.h"
#include "platform/text/runtime_error.h"

namespace {

using adodb::Currency;
using adodb::Variant;

class VariantTest : public ::testing::Test {
  protected:
    void SetUp() override {
        saved_ = text::RegionalSettings::Current();
        text::RegionalSettings spanish;  // day/month/year, decimal comma
        text::RegionalSettings::SetCurrent(spanish);
    }
    void TearDown() override { text::RegionalSettings::SetCurrent(saved_); }

    text::RegionalSettings saved_;
};

std::int32_t ErrorOf(const std::function<void()>& op) {
    try {
        op();
    } catch (const text::RuntimeError& e) {
        return e.Number();
    }
    return 0;
}

TEST_F(VariantTest, ConvertsToText) {
    const std::vector<std::pair<Variant, std::string>> cases = {
        {Variant(), ""},
        {Variant(true), "Verdadero"},
        {Variant(false), "Falso"},
        {Variant(std::int16_t{-7}), "-7"},
        {Variant(std::int32_t{2004}), "2004"},
        {Variant(1234.5), "1234,5"},
        {Variant(Currency{125000}), "12,5"},
        {Variant(text::DateTime{2004, 12, 31}), "31/12/2004"},
        {Variant(text::DateTime{2004, 12, 31, 10, 5, 0}), "31/12/2004 10:05:00"},
        {Variant("ñandú"), "ñandú"},
    };
    for (const auto& [v, expected] : cases) EXPECT_EQ(v.ToString(), expected) << expected;
}

TEST_F(VariantTest, NullAndMissingRefuseEveryConversion) {
    const std::vector<std::function<void(const Variant&)>> conversions = {
        [](const Variant& v) { (void)v.ToString(); },
        [](const Variant& v) { (void)v.ToDouble(); },
        [](const Variant& v) { (void)v.ToLong(); },
        [](const Variant& v) { (void)v.ToBool(); },
        [](const Variant& v) { (void)v.ToDate(); },
        [](const Variant& v) { (void)v.ToCurrency(); },
    };
    for (std::size_t i = 0; i < conversions.size(); ++i) {
        EXPECT_EQ(ErrorOf([&] { conversions[i](Variant::Null()); }),
                  text::errnum::kInvalidUseOfNull)
            << "conversion " << i;
        EXPECT_EQ(ErrorOf([&] { conversions[i](Variant::Missing()); }), text::errnum::kTypeMismatch)
            << "conversion " << i;
    }
}

TEST_F(VariantTest, ConvertsToNumbers) {
    EXPECT_EQ(Variant("1.234,5").ToDouble(), 1234.5);
    EXPECT_EQ(Variant(" 12 ").ToLong(), 12);
    EXPECT_EQ(Variant().ToLong(), 0);
    EXPECT_EQ(Variant(true).ToLong(), -1);
    EXPECT_EQ(Variant(text::DateTime{1900, 1, 1}).ToDouble(), 2.0);
    EXPECT_EQ(ErrorOf([] { (void)Variant("abc").ToDouble(); }), text::errnum::kTypeMismatch);

    // Rounded half to even, range checked.
    const std::vector<std::pair<double, std::int32_t>> rounding = {
        {2.5, 2}, {3.5, 4}, {-2.5, -2}, {2.6, 3}, {-0.4, 0}};
    for (const auto& [d, expected] : rounding) EXPECT_EQ(Variant(d).ToLong(), expected) << d;
    EXPECT_EQ(ErrorOf([] { (void)Variant(3e9).ToLong(); }), text::errnum::kOverflow);
    EXPECT_EQ(ErrorOf([] { (void)Variant(1e300).ToCurrency(); }), text::errnum::kOverflow);
}

TEST_F(VariantTest, CurrencyKeepsFourDecimalsRoundingHalfAwayFromZero) {
    const std::vector<std::pair<double, std::int64_t>> cases = {
        {1.00005, 10001}, {-1.00005, -10001}, {0.12344, 1234}, {2.5, 25000}, {0, 0}};
    for (const auto& [d, scaled] : cases) EXPECT_EQ(Currency::FromDouble(d).scaled, scaled) << d;
    EXPECT_EQ(Variant("12,34").ToCurrency().scaled, 123400);
}

TEST_F(VariantTest, ConversionsOutOfRangeRaiseOverflow) {
    // The largest Currency is 922337203685477.5807; the nearest doubles lie either side.
    EXPECT_EQ(Currency::FromDouble(922337203685477.5).scaled, 9223372036854775000);
    EXPECT_EQ(Currency::FromDouble(1e-70).scaled, 0);
    EXPECT_EQ(Variant("1E-70").ToCurrency().scaled, 0);
    const std::vector<std::function<void()>> overflows = {
        [] { (void)Currency::FromDouble(922337203685477.625); },
        [] { (void)Currency::FromDouble(-922337203685477.625); },
        [] { (void)Variant(1.9e14).ToDate(); },
        [] { (void)Variant(-1e300).ToDate(); },
        [] { (void)Variant(std::nan("")).ToDate(); },
    };
    for (std::size_t i = 0; i < overflows.size(); ++i)
        EXPECT_EQ(ErrorOf(overflows[i]), text::errnum::kOverflow) << i;
}

TEST_F(VariantTest, ConvertsToBooleanAndDate) {
    EXPECT_TRUE(Variant("Verdadero").ToBool());
    EXPECT_FALSE(Variant("false").ToBool());
    EXPECT_TRUE(Variant("-1").ToBool());
    EXPECT_FALSE(Variant(0.0).ToBool());
    EXPECT_EQ(ErrorOf([] { (void)Variant("quizá").ToBool(); }), text::errnum::kTypeMismatch);

    EXPECT_EQ(Variant("31/12/2004").ToDate(), (text::DateTime{2004, 12, 31}));
    EXPECT_EQ(ErrorOf([] { (void)Variant("32/13/2004").ToDate(); }), text::errnum::kTypeMismatch);
}

TEST_F(VariantTest, EqualityNeedsTheSameKindAndValue) {
    EXPECT_EQ(Variant::Null(), Variant::Null());
    EXPECT_EQ(Variant(), Variant());
    EXPECT_FALSE(Variant() == Variant::Null());
    EXPECT_FALSE(Variant(std::int16_t{1}) == Variant(std::int32_t{1}));
    EXPECT_FALSE(Variant("1") == Variant(std::int32_t{1}));
    EXPECT_TRUE(Variant(std::int32_t{1}).IsNumeric());
    EXPECT_FALSE(Variant("1").IsNumeric());
}

}  // namespace
