#include <gtest/gtest.h>

#include <string>

#include "db/db_dll.h"

namespace {

using db::DB_Dll;

struct NameCase {
    const char* operation;
    std::string name;
    std::string expected;
    std::string variableAfter;  // the caller's variable afterwards
};

std::string Apply(DB_Dll& db, const std::string& operation, std::string& name) {
    if (operation == "stSTF 1") return db.stSTF(name, 1);
    if (operation == "stSTF 0") return db.stSTF(name, 0);
    if (operation == "AddBrackets") return db.AddBrackets(name);
    if (operation == "StripConnect") return db.StripConnect(name);
    if (operation == "StripBrackets") return db.StripBrackets(name);
    if (operation == "StripOwner") return db.StripOwner(name);
    if (operation == "StripFileName") return db.StripFileName(name);
    ADD_FAILURE() << "unknown operation " << operation;
    return {};
}

TEST(NameUtilities, CutAndDecorateNames) {
    const NameCase cases[] = {
        {"stSTF 1", "dbo.ARTICULOS", "ARTICULOS", "dbo.ARTICULOS"},
        {"stSTF 0", "dbo.ARTICULOS", "dbo", "dbo.ARTICULOS"},
        {"stSTF 1", "ARTICULOS", "ARTICULOS", "ARTICULOS"},
        {"stSTF 0", "EMPRESA.dbo.ARTICULOS", "dbo.ARTICULOS", "dbo.ARTICULOS"},
        {"stSTF 1", "EMPRESA.dbo.ARTICULOS", "dbo.ARTICULOS", "dbo.ARTICULOS"},
        {"AddBrackets", "FECHA DESDE", "[FECHA DESDE]", "FECHA DESDE"},
        {"AddBrackets", "[FECHA DESDE]", "[FECHA DESDE]", "[FECHA DESDE]"},
        {"AddBrackets", "FECHA", "FECHA", "FECHA"},
        {"StripConnect", "ARTICULOS ->EMPRESA", "ARTICULOS", "ARTICULOS ->EMPRESA"},
        {"StripConnect", "ARTICULOS", "ARTICULOS", "ARTICULOS"},
        {"StripBrackets", "[FECHA DESDE]", "FECHA DESDE", "[FECHA DESDE]"},
        {"StripBrackets", "FECHA", "FECHA", "FECHA"},
        {"StripOwner", "dbo.ARTICULOS", "ARTICULOS", "ARTICULOS"},
        {"StripOwner", "ARTICULOS", "ARTICULOS", "ARTICULOS"},
        {"StripFileName", "C:\\Suite\\datos\\consultas.ovl", "C:\\Suite\\datos", ""},
        {"StripFileName", "C:\\Suite\\", "C:\\Suite", ""},
        {"StripFileName", "consultas.ovl", "", ""},
    };
    DB_Dll db;
    for (const NameCase& c : cases) {
        std::string variable = c.name;
        EXPECT_EQ(Apply(db, c.operation, variable), c.expected) << c.operation << " " << c.name;
        if (!c.variableAfter.empty()) {
            EXPECT_EQ(variable, c.variableAfter) << c.operation << " " << c.name;
        }
    }
}

TEST(NameUtilities, MalformedNamesFailToTheCaller) {
    DB_Dll db;
    const auto expectInvalidArgument = [](auto&& call, const char* what) {
        try {
            call();
            ADD_FAILURE() << what << " did not fail";
        } catch (const text::RuntimeError& e) {
            EXPECT_EQ(e.Number(), text::errnum::kInvalidArgument) << what;
        }
    };
    std::string noPeriod = "ARTICULOS";
    expectInvalidArgument([&] { db.stSTF(noPeriod, 0); }, "stSTF without a period");
    expectInvalidArgument([&] { db.StripConnect("->EMPRESA"); }, "StripConnect at the start");
    expectInvalidArgument([&] { db.StripBrackets("["); }, "StripBrackets of [");
}

}  // namespace
