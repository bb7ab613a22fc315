#include "platform/text/strings.h"

#include <gtest/gtest.h>

#include "platform/text/runtime_error.h"

namespace {

struct FindCase {
    const char* hay;
    const char* needle;
    int start;
    int expected;
};

TEST(Strings, InStrIgnoresCaseOfAccentedLettersAndCountsBytesFromOne) {
    const FindCase cases[] = {
        {"abcabc", "BC", 1, 2},
        {"abcabc", "bc", 3, 5},
        {"abcabc", "bc", 6, 0},
        {"abc", "", 2, 2},
        {"abc", "", 4, 4},
        {"abc", "", 5, 0},
        {"", "a", 1, 0},
        {"CAMIÓN Y AÑO", "camión", 1, 1},
        {"el año", "AÑO", 1, 4},
        // "Ñ" takes two bytes, so "x" after it is at byte 3.
        {"ñx", "X", 1, 3},
        {"PINGÜINO", "güi", 1, 4},
        {"ÁÉÍÓÚÜÑÇ", "áéíóúüñç", 1, 1},
        {"from dbo.TABLA", "Tabla", 1, 10},
    };
    for (const auto& c : cases)
        EXPECT_EQ(text::InStr(c.hay, c.needle, c.start), c.expected)
            << c.hay << " / " << c.needle << " @" << c.start;
}

TEST(Strings, ExactAndReverseSearch) {
    EXPECT_EQ(text::InStrExact("aAa", "A"), 2);
    EXPECT_EQ(text::InStrExact("aAa", "a", 2), 3);
    EXPECT_EQ(text::InStrRev("a.b.C", "c"), 5);
    EXPECT_EQ(text::InStrRev("a.b.c", "."), 4);
    EXPECT_EQ(text::InStrRev("abc", "x"), 0);
}

TEST(Strings, StartPositionBelowOneIsAnInvalidArgument) {
    try {
        text::InStr("abc", "a", 0);
        FAIL() << "no error";
    } catch (const text::RuntimeError& e) {
        EXPECT_EQ(e.Number(), text::errnum::kInvalidArgument);
    }
    EXPECT_THROW(text::Mid("abc", 0), text::RuntimeError);
    EXPECT_THROW(text::Left("abc", -1), text::RuntimeError);
}

TEST(Strings, CaseConversionKeepsLengthAndOtherBytes) {
    EXPECT_EQ(text::ToUpper("árbol ñandú, pingüino: çà"), "ÁRBOL ÑANDÚ, PINGÜINO: ÇÀ");
    EXPECT_EQ(text::ToLower("ÁRBOL ÑANDÚ ×"), "árbol ñandú ×");  // × is not a letter
    EXPECT_EQ(text::ToUpper("€ 5 ÷"), "€ 5 ÷");
    EXPECT_EQ(text::ToUpper("œuvre"), "ŒUVRE");
    EXPECT_EQ(text::ToUpper("ÿ aÿ"), "Ÿ AŸ");
    EXPECT_EQ(text::ToLower("Ÿ AŸ"), "ÿ aÿ");
    EXPECT_TRUE(text::EqualsNoCase("ÿ", "Ÿ"));
    // A lone lead byte at the end is left alone.
    EXPECT_EQ(text::ToUpper(std::string("a\xC3")), std::string("A\xC3"));
}

TEST(Strings, ComparisonsIgnoreCase) {
    EXPECT_TRUE(text::EqualsNoCase("Descripción", "DESCRIPCIÓN"));
    EXPECT_FALSE(text::EqualsNoCase("Descripcion", "DESCRIPCIÓN"));
    EXPECT_TRUE(text::StartsWith("SELECT TOP 5", "select"));
    EXPECT_FALSE(text::StartsWith("SEL", "select"));
    EXPECT_TRUE(text::EndsWith("base.SQLITE", ".sqlite"));
    EXPECT_TRUE(text::Contains("Proveedor=SQLOLEDB", "sqloledb"));
}

TEST(Strings, ReplaceAllScansLeftToRightWithoutRereading) {
    struct Case {
        const char* s;
        const char* find;
        const char* repl;
        const char* expected;
    } cases[] = {
        {"1,5", ",", ".", "1.5"},     {"a*b*", "*", "%", "a%b%"},
        {"aaa", "a", "aa", "aaaaaa"}, {"Año AÑO año", "año", "x", "x x x"},
        {"abc", "", "x", "abc"},      {"", "a", "b", ""},
        {"abab", "ab", "", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(text::ReplaceAll(c.s, c.find, c.repl), c.expected) << c.s;
    EXPECT_EQ(text::ReplaceAllExact("Aa", "a", "x"), "Ax");
}

TEST(Strings, TrimAndSubstrings) {
    EXPECT_EQ(text::Trim("  a b  "), "a b");
    EXPECT_EQ(text::LTrim("  a "), "a ");
    EXPECT_EQ(text::RTrim("  a "), "  a");
    EXPECT_EQ(text::Trim("\ta\t"), "\ta\t");  // blanks only
    EXPECT_EQ(text::Mid("abcdef", 2, 3), "bcd");
    EXPECT_EQ(text::Mid("abcdef", 4), "def");
    EXPECT_EQ(text::Mid("abc", 4), "");
    EXPECT_EQ(text::Mid("abc", 2, 10), "bc");
    EXPECT_EQ(text::Left("abc", 5), "abc");
    EXPECT_EQ(text::Right("abc", 2), "bc");
    EXPECT_EQ(text::Right("abc", 9), "abc");
    EXPECT_EQ(text::Len("año"), 4);
}

TEST(Strings, LeadingNumberIsLenient) {
    struct Case {
        const char* s;
        double expected;
    } cases[] = {
        {"12abc", 12}, {"abc", 0},    {"3.5", 3.5},      {" -7", -7},    {"", 0},
        {"+4x", 4},    {"1e3", 1000}, {"2e", 2},         {".5", 0.5},    {"-", 0},
        {"3,5", 3},    {"007", 7},    {"1.5e-1x", 0.15}, {"  42  ", 42},
    };
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(text::LeadingNumber(c.s), c.expected) << c.s;
}

TEST(Strings, WordCount) {
    struct Case {
        const char* s;
        int expected;
    } cases[] = {{"", 0}, {"a", 1}, {" a  b ", 2}, {"   ", 0}, {"uno dos\ttres", 3}};
    for (const auto& c : cases) EXPECT_EQ(text::WordCount(c.s), c.expected) << c.s;
}

TEST(Strings, Windows1252RoundTrip) {
    const std::string cp = "A\xF1o \x80 \xC1\xE9\xCD\xF3\xDA\xFC \x93q\x94";
    const std::string utf8 = text::Cp1252ToUtf8(cp);
    EXPECT_EQ(utf8, "Año € ÁéÍóÚü “q”");
    EXPECT_TRUE(text::IsValidUtf8(utf8));
    EXPECT_EQ(text::Utf8ToCp1252(utf8), cp);
    // Every byte survives the round trip, the five undefined ones included.
    std::string all;
    for (int b = 1; b < 256; ++b) all.push_back(static_cast<char>(b));
    EXPECT_EQ(text::Utf8ToCp1252(text::Cp1252ToUtf8(all)), all);
    EXPECT_EQ(text::Utf8ToCp1252("日本"), "??");
    EXPECT_EQ(text::Utf8ToCp1252("a\xFF"
                                 "b"),
              "a?b");
}

TEST(Strings, ValidUtf8) {
    EXPECT_TRUE(text::IsValidUtf8("plain"));
    EXPECT_TRUE(text::IsValidUtf8("ñ€😀"));
    EXPECT_FALSE(text::IsValidUtf8("A\xF1o"));        // Windows-1252 text
    EXPECT_FALSE(text::IsValidUtf8("\xC0\xAF"));      // overlong
    EXPECT_FALSE(text::IsValidUtf8("\xED\xA0\x80"));  // surrogate
    EXPECT_FALSE(text::IsValidUtf8("\xE2\x82"));      // cut short
}

}  // namespace
