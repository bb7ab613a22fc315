#include "lookup/lib_clscons3.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace {

using adodb::Variant;

// A configuration of fixed answers that records the keys asked for; keys without an answer
// read as having no row.
struct FakeConfiguration {
    std::map<std::string, std::string> values;
    std::vector<std::string> asked;

    lookup::ConfigReader Reader() {
        return [this](const std::string& key) {
            asked.push_back(key);
            const auto it = values.find(key);
            return it == values.end() ? std::string(" ") : it->second;
        };
    }
};

TEST(LibClsCons3, CreationReadsTheLookupKeysInOrder) {
    FakeConfiguration config;
    config.values = {{"MostrarStockenConsultas", "SI"},
                     {"Stk_Nivel1", ""},
                     {"Stk_Nivel2", "255"},
                     {"Stk_Nivel3", "  "},
                     {"UsaConsultaLIKE", "si"}};
    const lookup::Lib_ClsCons3 service(config.Reader());

    EXPECT_EQ(config.asked,
              (std::vector<std::string>{"MostrarStockenConsultas", "Stk_Nivel1", "Stk_Nivel2",
                                        "Stk_Nivel3", "Stk_Nivel4", "UsaConsultaLIKE"}));
    EXPECT_EQ(service.MuestraStock, "SI");
    EXPECT_EQ(service.StkNivel1, Variant(std::int16_t{0}));  // empty text becomes the number 0
    EXPECT_EQ(service.StkNivel2, Variant("255"));
    EXPECT_EQ(service.StkNivel3, Variant("  "));
    EXPECT_EQ(service.StkNivel4, Variant(" "));  // no row: the reader's single blank
    EXPECT_TRUE(service.UsaLikeCfg());

    ASSERT_TRUE(service.CmpsDevueltos.has_value());
    EXPECT_TRUE(service.CmpsDevueltos->empty());
    ASSERT_TRUE(service.Valores.has_value());
    EXPECT_TRUE(service.Valores->empty());
    EXPECT_FALSE(service.Checks);
    EXPECT_FALSE(service.gUsarMascarasConsultas);
    EXPECT_TRUE(service.CampoDevuelto.empty());
}

TEST(LibClsCons3, LikeSwitchNeedsExactlySi) {
    for (const char* value : {" SI", "SI ", "NO", " ", "S"}) {
        FakeConfiguration config;
        config.values = {{"UsaConsultaLIKE", value}};
        EXPECT_FALSE(lookup::Lib_ClsCons3(config.Reader()).UsaLikeCfg()) << '"' << value << '"';
    }
}

TEST(LibClsCons3, SharedServiceIsCreatedOnceWithTheInstalledReader) {
    FakeConfiguration config;
    config.values = {{"MostrarStockenConsultas", "NO"}};
    lookup::ResetClsCons3();
    lookup::SetConfigReader(config.Reader());

    lookup::Lib_ClsCons3& first = lookup::ClsCons3();
    first.gRutaMascaraConsultas = "kept";
    EXPECT_EQ(&lookup::ClsCons3(), &first);
    EXPECT_EQ(lookup::ClsCons3().gRutaMascaraConsultas, "kept");
    EXPECT_EQ(first.MuestraStock, "NO");
    EXPECT_EQ(config.asked.size(), 6u);

    // Without a reader every key reads as having no row.
    lookup::ResetClsCons3();
    lookup::SetConfigReader({});
    EXPECT_EQ(lookup::ClsCons3().MuestraStock, " ");
    EXPECT_TRUE(lookup::ClsCons3().gRutaMascaraConsultas.empty());
    lookup::ResetClsCons3();
}

}  // namespace
