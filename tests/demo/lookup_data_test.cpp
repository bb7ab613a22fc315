// What the demo database gives the lookups to show.
#include <gtest/gtest.h>

#include "demo/demo_db.h"
#include "demo/generator.h"
#include "support/temp_dir.h"

namespace {

TEST(DemoLookupData, ArticlesSettingsContactsAndHierarchies) {
    testsupport::TempDir dir;
    const std::string path = dir.File("demo.db");
    demo::GeneratorOptions options;
    options.scale = demo::kMinimumScale;
    demo::GenerateDemoDatabase(path, options);
    auto db = demotest::OpenReadOnly(path);
    const auto count = [&](const std::string& where, const std::string& table = "V_MA_ARTICULOS") {
        return demotest::Count(db.get(), "SELECT COUNT(*) FROM " + table + " WHERE " + where);
    };
    EXPECT_GT(count("PUNTOPEDIDO IS NULL"), 0);
    EXPECT_GT(count("PUNTOPEDIDO > 0 AND Stock < PUNTOPEDIDO"), 0);
    EXPECT_GT(count("PUNTOPEDIDO > 0 AND Stock > PUNTOPEDIDO"), 0);
    EXPECT_GT(count("PUNTOPEDIDO > 0 AND Stock = PUNTOPEDIDO"), 0);
    EXPECT_GT(count("SUSPENDIDO = 1"), 0);
    EXPECT_EQ(count("PRECIO8 IS NULL"), 0);
    for (const char* key : {"NOM_PCLASE8", "Stk_Nivel1", "Stk_Nivel4", "TopConsArt",
                            "MostrarStockenConsultas", "UsaConsultaLIKE"}) {
        EXPECT_EQ(count("CLAVE = '" + std::string(key) + "' COLLATE NOCASE", "TA_CONFIGURACION"), 1)
            << key;
    }
    EXPECT_GE(count("Nombre_y_Apellido LIKE '%''%'", "MA_CONTACTOS"), 50);
    EXPECT_GE(count("Nombre_y_Apellido LIKE '% '", "MA_CONTACTOS"), 50);
    EXPECT_GE(count("Nombre_y_Apellido LIKE '%ñ%' OR Nombre_y_Apellido LIKE '%Ñ%'", "MA_CONTACTOS"),
              50);
    EXPECT_GT(count("Dada_De_Baja = 1", "VT_CLIENTES"), 0);
    EXPECT_GT(count("Dada_De_Baja = 1", "VT_PROVEEDORES"), 0);
    EXPECT_EQ(count("IDFAMILIA = Codigo", "V_TA_FAMILIAS"), count("1 = 1", "V_TA_FAMILIAS"));
    EXPECT_EQ(count("length(Codigo) = 7", "V_TA_FAMILIAS"), 4);  // third level
    EXPECT_EQ(count("length(IDPOSICION) = 6", "MA_POSICIONES"), 2);
    EXPECT_EQ(count("CODIGO = '21'", "TA_CCOSTO"), 2);  // the repeated code
}

}  // namespace
