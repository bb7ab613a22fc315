// Text comparison and LIKE as the suite's database compares texts.
#include "platform/collation/text_compare.h"

#include <gtest/gtest.h>

namespace {

using collation::CompareText;
using collation::FindText;
using collation::LikeMatch;

int Sign(int v) {
    return (v > 0) - (v < 0);
}

TEST(SqliteTextCompare, CaseAndTrailingBlanksIgnoredAccentsKept) {
    struct Case {
        const char* a;
        const char* b;
        int expected;
    };
    const Case cases[] = {
        {"ÑANDÚ", "ñandú  ", 0}, {"abc", "ABC", 0},   {"abc ", "abc", 0}, {" abc", "abc", -1},
        {"a", "á", -1},          {"á", "b", -1},      {"nz", "ña", -1},   {"ña", "oa", -1},
        {"Ç", "ç", 0},           {"abc", "abcd", -1}, {"", "   ", 0},     {"\xC0", "\xE0", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.a) + " vs " + c.b);
        EXPECT_EQ(Sign(CompareText(c.a, c.b)), c.expected);
        EXPECT_EQ(Sign(CompareText(c.b, c.a)), -c.expected);
    }
}

TEST(SqliteTextCompare, LikePatterns) {
    struct Case {
        const char* value;
        const char* pattern;
        bool matches;
    };
    const Case cases[] = {
        {"Tornillo niquelado", "tor%ni%", true},
        {"TORNILLO", "tor%ni%", true},
        {"Tuerca", "tor%ni%", false},
        {"ÑANDÚ", "ñand_", true},
        {"nandu", "ñand_", false},
        {"abc", "a_c", true},
        {"ac", "a_c", false},
        {"abc", "%", true},
        {"", "%", true},
        {"abc", "[a-b]bc", true},
        {"cbc", "[a-b]bc", false},
        {"cbc", "[^a-b]bc", true},
        {"[x", "[x", true},
        {"a%b", "a!%b", true},
        {"axb", "a!%b", false},
        {"mississippi", "%iss%ipp_", true},
        {"FC  ", "FC", true},  // trailing blanks of the value do not count
        {"FC  ", "FC__", true},
        {"FC", "FC ", false},
        {"áb", "[a-c]b", true},  // ranges follow the collation's order
        {"Ñu", "[n-o]u", true},
        {"ñu", "[m-n]u", false},
        {"Bx", "[a-c]x", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.value) + " LIKE " + c.pattern);
        EXPECT_EQ(LikeMatch(c.pattern, c.value, '!'), c.matches);
    }
}

TEST(SqliteTextCompare, FindIgnoresCaseAndCountsCharacters) {
    EXPECT_EQ(FindText("DÚ", "ñandú"), 4);
    EXPECT_EQ(FindText("a", "banana", 3), 4);
    EXPECT_EQ(FindText("x", "banana"), 0);
    EXPECT_EQ(FindText("", "banana"), 0);
    EXPECT_EQ(FindText("a", "banana", 0), 2);
}

}  // namespace
