// What the translator refuses, and how it treats literals, names and date texts, without a
// database.
#include <gtest/gtest.h>

#include "platform/adodb/error.h"
#include "platform/adodb/sqlite/dialect_error.h"
#include "platform/adodb/sqlite/translator.h"

namespace {

using adodb::sqlite::DialectError;
using adodb::sqlite::Plan;
using adodb::sqlite::SchemaSnapshot;
using adodb::sqlite::Translate;

SchemaSnapshot Schema() {
    SchemaSnapshot s;
    adodb::sqlite::TableMeta t;
    t.name = "MV_ASIENTOS";
    t.columns = {{"ID", "INTEGER", false, 1, "BINARY"},
                 {"FECHA", "DATETIME", false, 0, "BINARY"},
                 {"TC", "VARCHAR(4)", false, 0, "suite_es"}};
    s.AddTable(t);
    return s;
}

Plan TranslateFor(const std::string& sql, text::DateOrder order = text::DateOrder::DMY) {
    text::RegionalSettings rs;
    rs.dateOrder = order;
    return Translate(sql, Schema(), rs);
}

TEST(DialectTranslation, RefusesWhatItDoesNotTranslateNamingTheConstruct) {
    struct Case {
        const char* sql;
        const char* named;
    };
    const Case cases[] = {
        {"SELECT DATEADD(d, 1, FECHA) FROM MV_ASIENTOS", "DATEADD"},
        {"UPDATE MV_ASIENTOS SET TC = 'X' FROM MV_ASIENTOS", "UPDATE ... FROM"},
        {"SELECT @x", "@"},
        {"SELECT * FROM MV_ASIENTOS WHERE FECHA = #2004-12-31#", "#"},
        {"EXEC sp_who", "EXEC"},
        {"SELECT * INTO X FROM MV_ASIENTOS", "INTO"},
        {"SELECT TOP 5 WITH TIES * FROM MV_ASIENTOS", "WITH TIES"},
        {"BEGIN SELECT 1 END", "BEGIN"},
        {"SET ROWCOUNT 10", "ROWCOUNT"},
        {"SELECT * FROM MV_ASIENTOS; DELETE MV_ASIENTOS", "varias sentencias"},
        {"ALTER TABLE dbo.MV_ASIENTOS ADD PESO float Not Null ", "NOT NULL sin valor"},
        {"ALTER TABLE MV_ASIENTOS DROP COLUMN TC", "DROP"},
        {"SELECT CONVERT(XML, TC) FROM MV_ASIENTOS", "XML"},
        {"SELECT ROW_NUMBER() OVER (ORDER BY ID) FROM MV_ASIENTOS", "OVER"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sql);
        try {
            TranslateFor(c.sql);
            ADD_FAILURE() << "translated";
        } catch (const DialectError& e) {
            EXPECT_EQ(e.Number(), adodb::code::kErrorsInCommand);
            EXPECT_EQ(e.SqlState(), "42000");
            EXPECT_NE(std::string(e.what()).find(c.named), std::string::npos) << e.what();
        }
    }
}

TEST(DialectTranslation, SyntaxErrorsSayWhere) {
    try {
        TranslateFor("SELECT * FROM MV_ASIENTOS WHERE (TC = 'A'");
        ADD_FAILURE() << "translated";
    } catch (const DialectError& e) {
        EXPECT_EQ(e.Number(), adodb::code::kErrorsInCommand);
        EXPECT_NE(std::string(e.what()).find("final de la sentencia"), std::string::npos);
    }
    EXPECT_THROW(TranslateFor("SELECT 'abc FROM MV_ASIENTOS"), DialectError);
    EXPECT_THROW(TranslateFor("SELECT [abc FROM MV_ASIENTOS"), DialectError);
}

TEST(DialectTranslation, LiteralsAndBracketedNamesKeepTheirText) {
    // Keywords, brackets, owner prefixes and quotes inside a literal are data, not SQL.
    const Plan p =
        TranslateFor("SELECT 'it''s [dbo].x TOP 5 -- no' AS [a b], N'ñ' FROM dbo.[MV_ASIENTOS]");
    ASSERT_EQ(p.sql.size(), 1u);
    EXPECT_NE(p.sql[0].find("'it''s [dbo].x TOP 5 -- no' AS \"a b\""), std::string::npos)
        << p.sql[0];
    EXPECT_NE(p.sql[0].find("'ñ'"), std::string::npos);
    EXPECT_NE(p.sql[0].find("FROM \"MV_ASIENTOS\""), std::string::npos);
}

TEST(DialectTranslation, DateLiteralsReadInTheSessionOrder) {
    struct Case {
        const char* literal;
        text::DateOrder order;
        const char* iso;  // null: a conversion error
    };
    const Case cases[] = {
        {"31/12/2004", text::DateOrder::DMY, "2004-12-31 00:00:00"},
        {"12/31/2004", text::DateOrder::MDY, "2004-12-31 00:00:00"},
        {"01/02/2005", text::DateOrder::DMY, "2005-02-01 00:00:00"},
        {"01/02/2005", text::DateOrder::MDY, "2005-01-02 00:00:00"},
        {"2004-12-31 10:20:30", text::DateOrder::MDY, "2004-12-31 10:20:30"},
        {"20041231", text::DateOrder::DMY, "2004-12-31 00:00:00"},
        {"31/12/2004", text::DateOrder::MDY, nullptr},
        {"32/13/2004", text::DateOrder::DMY, nullptr},
        {"30/02/2004", text::DateOrder::DMY, nullptr},
        {"mañana", text::DateOrder::DMY, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.literal);
        const std::string sql =
            std::string("DELETE MV_ASIENTOS WHERE FECHA <= '") + c.literal + "'";
        if (c.iso == nullptr) {
            try {
                TranslateFor(sql, c.order);
                ADD_FAILURE() << "translated";
            } catch (const DialectError& e) {
                EXPECT_EQ(e.Number(), adodb::code::kCantConvert);
                EXPECT_EQ(e.SqlState(), "22007");
                EXPECT_NE(std::string(e.what()).find(c.literal), std::string::npos);
            }
        } else {
            const Plan p = TranslateFor(sql, c.order);
            EXPECT_NE(p.sql[0].find(std::string("'") + c.iso + "'"), std::string::npos) << p.sql[0];
        }
    }
}

TEST(DialectTranslation, TopPercentOutOfRangeIsRefused) {
    EXPECT_THROW(TranslateFor("SELECT TOP 101 PERCENT * FROM MV_ASIENTOS"), DialectError);
    EXPECT_THROW(TranslateFor("SELECT TOP 2.5 * FROM MV_ASIENTOS"), DialectError);
}

}  // namespace
