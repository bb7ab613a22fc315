#include <gtest/gtest.h>

#include <string>

#include "db/db_dll.h"
#include "fixture_db.h"

namespace {

using adodb::Variant;

struct ValueCase {
    Variant value;
    std::string tipo;
    std::string expected;
};

TEST(SQLValue, WritesLiterals) {
    dbtest::RegionalScope regional;  // decimal comma, thousands point
    const ValueCase cases[] = {
        {Variant("Tornillo"), "'", "'Tornillo'"},
        {Variant("O'Brien"), "'", "'O''Brien'"},
        {Variant::Null(), "'", "NULL"},
        {Variant::Null(), "", "NULL"},
        {Variant("abc"), "", "abc"},
        {Variant(std::int32_t{12}), "#", "12"},
        {Variant("1234,5"), "@", "1234.5"},
        {Variant(1234.5), "@", "1234.5"},
        {Variant("1.234,5"), "@", "1234.5"},
        {Variant("abc"), "@", "0"},
        {Variant::Null(), "@", "0"},
    };
    db::DB_Dll db;
    for (const ValueCase& c : cases) {
        const Variant result = db.SQLValue(c.value, c.tipo);
        EXPECT_EQ(result.Type(), adodb::VarType::String);
        EXPECT_EQ(result.ToString(), c.expected) << c.tipo << " " << c.expected;
    }
}

TEST(TypeClassifiers, AnswerForTheirDataTypeNumbers) {
    db::DB_Dll db;
    const auto matching = [&](int type) {
        const Variant t(std::int32_t{type});
        return std::string(db.adodate(t) ? "D" : "") + (db.ADOText(t) ? "T" : "") +
               (db.ADONumeric(t) ? "N" : "") + (db.ADOCurrency(t) ? "C" : "") +
               (db.ADOBoolean(t) ? "B" : "");
    };
    for (int type : {7, 133, 137, 134, 135, 64}) EXPECT_EQ(matching(type), "D") << type;
    for (int type : {8, 201, 203, 200, 202, 130}) EXPECT_EQ(matching(type), "T") << type;
    for (int type : {20, 14, 5, 3, 131, 4, 2, 16, 21, 19, 18, 17}) {
        EXPECT_EQ(matching(type), "N") << type;
    }
    EXPECT_EQ(matching(6), "C");
    EXPECT_EQ(matching(11), "B");
    for (int type : {129, 0, 12, 72}) EXPECT_EQ(matching(type), "") << type;
    EXPECT_FALSE(db.ADOText(Variant::Null()));
    EXPECT_TRUE(db.ADOText(Variant("200")));
}

}  // namespace
