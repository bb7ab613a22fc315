#include "clientlib/utility_services.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <memory>

#include "platform/text/regional.h"
#include "platform/ui/qt_ports.h"
#include "platform/ui/scripted_prompter.h"

namespace {

using clientlib::UtilityServices;

// Runs a test under fixed regional settings and puts the previous ones back.
class RegionalScope {
  public:
    explicit RegionalScope(const char* spec) : saved_(text::RegionalSettings::Current()) {
        text::RegionalSettings::SetCurrent(*text::RegionalSettings::Parse(spec));
    }
    ~RegionalScope() { text::RegionalSettings::SetCurrent(saved_); }

  private:
    text::RegionalSettings saved_;
};

TEST(UtilityServices, TextToNumberReadsRegionalDecimalsAndGivesZeroForNonNumbers) {
    RegionalScope spanish("DMY,/,.,,");
    const UtilityServices u;
    struct Case {
        const char* s;
        std::int64_t scaled;
    } cases[] = {
        {"", 0},          {"abc", 0},     {"12abc", 0},   {"12", 120000},  {"1.234,5", 12345000},
        {"-0,25", -2500}, {"0,00005", 1}, {" 7 ", 70000}, {"3.5", 350000},  // "." is the thousands
                                                                            // separator here
    };
    for (const auto& c : cases) EXPECT_EQ(u.TextToNumber(c.s).scaled, c.scaled) << c.s;

    RegionalScope english("MDY,/,,,.");
    EXPECT_EQ(u.TextToNumber("1,234.5").scaled, 12345000);
}

TEST(UtilityServices, TextToLongRoundsToEvenAndRejectsOverflow) {
    RegionalScope spanish("DMY,/,.,,");
    const UtilityServices u;
    EXPECT_EQ(u.TextToLong(""), 0);
    EXPECT_EQ(u.TextToLong("x"), 0);
    EXPECT_EQ(u.TextToLong("2,5"), 2);
    EXPECT_EQ(u.TextToLong("3,5"), 4);
    EXPECT_EQ(u.TextToLong("-2147483648"), INT32_MIN);
    EXPECT_THROW(u.TextToLong("2147483648"), text::RuntimeError);
}

TEST(UtilityServices, NullToEmpty) {
    const UtilityServices u;
    EXPECT_EQ(u.NullToEmpty(adodb::Variant::Null()), adodb::Variant(""));
    EXPECT_EQ(u.NullToEmpty(adodb::Variant()), adodb::Variant(""));
    EXPECT_EQ(u.NullToEmpty(adodb::Variant(std::int32_t{5})), adodb::Variant(std::int32_t{5}));
    EXPECT_EQ(u.NullToEmpty(adodb::Variant("a")), adodb::Variant("a"));
}

TEST(UtilityServices, TextHelpers) {
    const UtilityServices u;
    EXPECT_EQ(u.StripChars("=SUMA", "="), "SUMA");
    EXPECT_EQ(u.StripChars("a-b_c-", "-_"), "abc");
    EXPECT_EQ(u.StripChars(std::string("NOMBRE\0\0", 8), ""), "NOMBRE");
    EXPECT_EQ(u.StripChars("CLIENTE\xFF\xFF", " "), "CLIENTE");
    EXPECT_EQ(u.StripChars("CLIENTEÿÿ", ""), "CLIENTE");
    EXPECT_EQ(u.StripChars("año ñu", "ñ"), "ao u");

    EXPECT_EQ(u.ReplaceAll("1,5", ",", "."), "1.5");
    EXPECT_EQ(u.ReplaceAll("*ab*", "*", "%"), "%ab%");

    struct Width {
        const char* s;
        int width;
        const char* expected;
    } widths[] = {
        {"1", 4, "   1"}, {"12345", 3, "345"}, {"abc", 0, "abc"}, {"abc", -1, "abc"},
        {"ñ", 2, " ñ"},   {"añño", 2, "ño"},   {"", 2, "  "},
    };
    for (const auto& w : widths) EXPECT_EQ(u.FixedWidth(w.s, w.width), w.expected) << w.s;

    EXPECT_EQ(u.WithTrailingSeparator("/opt/app"), "/opt/app/");
    EXPECT_EQ(u.WithTrailingSeparator("/opt/app/"), "/opt/app/");
    EXPECT_EQ(u.WithTrailingSeparator("C:\\app\\"), "C:\\app/");
    EXPECT_EQ(u.WithTrailingSeparator(""), "");
    EXPECT_EQ(u.WordCount(" uno  dos "), 2);
}

TEST(UtilityServices, ReplaceNameReplacesWholeWordsIgnoringCase) {
    const UtilityServices u;
    struct Case {
        const char* text;
        const char* name;
        const char* repl;
        const char* expected;
    } cases[] = {
        {"SELECT * FROM ma_articulos WHERE MA_ARTICULOS.ID = 1", "ma_articulos", "SS_ART",
         "SELECT * FROM SS_ART WHERE SS_ART.ID = 1"},
        {"FROM MA_ARTICULOS2, XMA_ARTICULOS, MA_ARTICULOS_B", "ma_articulos", "S",
         "FROM MA_ARTICULOS2, XMA_ARTICULOS, MA_ARTICULOS_B"},
        {"cañón, CAÑÓN y cañones", "Cañón", "X", "X, X y cañones"},
        {"[ta] ta", "[ta]", "t", "t ta"},
        {"abc", "", "x", "abc"},
        {"aa aa", "aa", "aa aa", "aa aa aa aa"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(u.ReplaceName(c.text, c.name, c.repl), c.expected) << c.text;
}

TEST(UtilityServices, SqlDateLiteralUsesTheRegionalOrderWithFourDigitYear) {
    const UtilityServices u;
    {
        RegionalScope spanish("DMY,-,.,,");
        EXPECT_EQ(u.SqlDateLiteral("31/12/2004"), "'31/12/2004'");
        EXPECT_EQ(u.SqlDateLiteral("1.2.04"), "'01/02/2004'");
        EXPECT_EQ(u.SqlDateLiteral("31/12/2004 10:30"), "'31/12/2004 10:30:00'");
    }
    {
        RegionalScope english("MDY,/,,,.");
        EXPECT_EQ(u.SqlDateLiteral("12/31/04"), "'12/31/2004'");
    }
    RegionalScope spanish("DMY,/,.,,");
    for (const char* bad : {"", "31/02/2004", "hoy", "31/12/2004'; DROP TABLE x; --"}) {
        try {
            u.SqlDateLiteral(bad);
            ADD_FAILURE() << "read as a date: " << bad;
        } catch (const text::RuntimeError& e) {
            EXPECT_EQ(e.Number(), text::errnum::kTypeMismatch) << bad;
        }
    }
}

TEST(UtilityServices, ReportErrorShowsTheErrorAndReturnsTheOperatorsAnswer) {
    const UtilityServices u;
    auto prompter = std::make_shared<ui::ScriptedPrompter>();
    ui::ScopedPrompter scope(prompter);
    const text::RuntimeError error(-2147217900, "Sintaxis incorrecta", "Conexión");

    for (int answer : {ui::kAbort, ui::kRetry, ui::kIgnore}) {
        prompter->Answer(answer);
        EXPECT_EQ(u.ReportError(error, adodb::Variant::Missing(), "Depurar"), answer);
    }
    ASSERT_EQ(prompter->Boxes().size(), 3u);
    const auto& box = prompter->Boxes()[0];
    EXPECT_EQ(box.prompt, "Error -2147217900: Sintaxis incorrecta\r(en Depurar)");
    EXPECT_EQ(box.title, "Aviso al operador");
    EXPECT_EQ(box.buttons, ui::Buttons::AbortRetryIgnore);
    EXPECT_EQ(box.icon, ui::Icon::Critical);

    prompter->Answer(ui::kIgnore);
    u.ReportError(text::RuntimeError(13, "Type mismatch"));
    EXPECT_EQ(prompter->Boxes().back().prompt, "Error 13: Type mismatch");
    prompter->Answer(ui::kIgnore);
    u.ReportError(text::RuntimeError(13, "Type mismatch"), adodb::Variant("x"), "P");
    EXPECT_EQ(prompter->Boxes().back().prompt, "Error 13: Type mismatch\rValor: x\r(en P)");
}

TEST(UtilityServices, StoredFormRoundTripsAnyTextAndIsPrintableAscii) {
    const UtilityServices u;
    std::string allBytes;
    for (int b = 0; b < 256; ++b) allBytes.push_back(static_cast<char>(b));
    for (const std::string& s : {std::string(), std::string("sa"), std::string("contraseña €"),
                                 std::string("a=b;c[d]\r\n\"q\""), allBytes}) {
        const std::string stored = u.EncodeStored(s);
        for (char c : stored) EXPECT_TRUE(c > ' ' && c < 127 && c != ';' && c != '=') << s;
        EXPECT_EQ(u.DecodeStored(stored), s);
    }
    EXPECT_NE(u.EncodeStored("clave"), "clave");
    // What is not a stored form comes back unchanged.
    for (const char* odd : {"abc", "ZZ", "1", "clave secreta"}) EXPECT_EQ(u.DecodeStored(odd), odd);
}

TEST(UtilityServices, SetProcessStateShowsTheBusyPointer) {
    auto pointer = std::make_shared<ui::QtBusyPointer>();
    ui::ScopedBusyPointer scope(pointer);
    const UtilityServices u;
    u.SetProcessState(true);
    EXPECT_NE(QGuiApplication::overrideCursor(), nullptr);
    u.SetProcessState(false);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST(UtilityServices, PrepareWindowCentresOnTheScreen) {
    QWidget window;
    window.resize(200, 100);
    QApplication::setWindowIcon(QIcon());
    UtilityServices().PrepareWindow(&window);
    const QRect area = window.screen()->availableGeometry();
    const QPoint centre = window.frameGeometry().center();
    EXPECT_NEAR(centre.x(), area.center().x(), 2);
    EXPECT_NEAR(centre.y(), area.center().y(), 2);
    UtilityServices().PrepareWindow(nullptr);  // nothing to do, no crash
}

}  // namespace
