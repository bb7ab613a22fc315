#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "db/db_dll.h"
#include "fixture_db.h"
#include "support/temp_dir.h"

namespace {

using adodb::Variant;
using db::DB_Dll;
using dbtest::PrompterScope;

struct QueryCase {
    const char* what;
    std::function<void(DB_Dll&)> call;
    std::string sent;
};

TEST(Lookups, BuildTheirQueries) {
    dbtest::RegionalScope regional;  // decimal comma
    const Variant text8(std::int32_t{8});
    const QueryCase cases[] = {
        // ExisteEnTabla: trimmed key, two blanks before "*", synonyms, then upper case.
        {"ExisteEnTabla", [](DB_Dll& d) { d.ExisteEnTabla("ARTICULOS", " 12 "); },
         "SELECT TOP 1  * FROM ARTICULOS WHERE LTRIM(RTRIM(CODIGO)) ='12'"},
        {"ExisteEnTabla quote",
         [](DB_Dll& d) { d.ExisteEnTabla("CLIENTES", " O'Brien ", "Nombre"); },
         "SELECT TOP 1  * FROM CLIENTES WHERE LTRIM(RTRIM(NOMBRE)) ='O''BRIEN'"},
        {"ExisteEnTabla number",
         [](DB_Dll& d) { d.ExisteEnTabla("ma_cuentas", "1", "Codigo", nullptr, std::int32_t{3}); },
         "SELECT TOP 1 * FROM SS_MA_CUENTAS WHERE CODIGO = 1"},
        {"ExisteEnTabla condition",
         [&](DB_Dll& d) {
             d.ExisteEnTabla("ARTICULOS", "x", "Codigo", nullptr, text8, "Precio > 2");
         },
         "SELECT TOP 1 * FROM ARTICULOS WHERE PRECIO > 2"},
        // ExisteEnTablaST: untrimmed, as written, no synonyms.
        {"ST text", [](DB_Dll& d) { d.ExisteEnTablaST("ma_cuentas", " 12 "); },
         "SELECT * FROM ma_cuentas WHERE Codigo =' 12 '"},
        {"ST quote", [](DB_Dll& d) { d.ExisteEnTablaST("ARTICULOS", "d'Or", "Nombre"); },
         "SELECT * FROM ARTICULOS WHERE Nombre ='d''Or'"},
        {"ST date",
         [](DB_Dll& d) {
             d.ExisteEnTablaST("MOVS", " '31/12/2004' ", "Fecha", nullptr, std::int32_t{7});
         },
         "SELECT * FROM MOVS WHERE Fecha = '31/12/2004' "},
        {"ST double",
         [](DB_Dll& d) {
             d.ExisteEnTablaST("ARTICULOS", "12.5 kg", "Precio", nullptr, std::int32_t{5});
         },
         "SELECT * FROM ARTICULOS WHERE Precio = 12.5"},
        {"ST single without number",
         [](DB_Dll& d) {
             d.ExisteEnTablaST("ARTICULOS", "abc", "Precio", nullptr, std::int32_t{4});
         },
         "SELECT * FROM ARTICULOS WHERE Precio = 0"},
        {"ST other type",
         [](DB_Dll& d) {
             d.ExisteEnTablaST("ARTICULOS", "-1", "Activo", nullptr, std::int32_t{11});
         },
         "SELECT * FROM ARTICULOS WHERE Activo = -1"},
        {"ST condition with its own WHERE",
         [&](DB_Dll& d) {
             d.ExisteEnTablaST("ARTICULOS a", "x", "Codigo", nullptr, text8,
                               "INNER JOIN STOCK s ON s.Codigo = a.Codigo WHERE s.Cantidad > 0");
         },
         "SELECT * FROM ARTICULOS a INNER JOIN STOCK s ON s.Codigo = a.Codigo WHERE s.Cantidad > "
         "0"},
        {"ST condition",
         [&](DB_Dll& d) {
             d.ExisteEnTablaST("ARTICULOS", "x", "Codigo", nullptr, text8, "Precio > 2");
         },
         "SELECT * FROM ARTICULOS WHERE Precio > 2"},
        // DatosTabla: trailing blank after the key, the condition added with AND.
        {"DatosTabla", [](DB_Dll& d) { d.DatosTabla("ARTICULOS", " 12 ", "Descripcion"); },
         "SELECT TOP 1 * FROM ARTICULOS WHERE LTRIM(RTRIM(Codigo)) ='12' "},
        {"DatosTabla untrimmed column",
         [&](DB_Dll& d) {
             d.DatosTabla("ARTICULOS", " 12 ", "Descripcion", "Codigo", text8, "", false);
         },
         "SELECT TOP 1 * FROM ARTICULOS WHERE Codigo ='12' "},
        {"DatosTabla date",
         [](DB_Dll& d) { d.DatosTabla("MOVS", "31/12/2004", "Importe", "Fecha", std::int32_t{7}); },
         "SELECT TOP 1 * FROM MOVS WHERE Fecha = #31/12/2004# "},
        {"DatosTabla condition",
         [&](DB_Dll& d) {
             d.DatosTabla("ta_usuarios", "ana", "UNegocio", "nombre", text8, "UNegocio = '01'");
         },
         "SELECT TOP 1 * FROM ta_usuarios WHERE LTRIM(RTRIM(nombre)) ='ana'  AND UNegocio = '01'"},
        {"DatosTabla blank condition",
         [&](DB_Dll& d) { d.DatosTabla("ARTICULOS", "12", "Descripcion", "Codigo", text8, "  "); },
         "SELECT TOP 1 * FROM ARTICULOS WHERE LTRIM(RTRIM(Codigo)) ='12' "},
        // Largest / smallest: no synonyms, no translation.
        {"BuscaMaximo",
         [](DB_Dll& d) {
             d.BuscaMaximo("ma_cuentas", "Codigo", Variant::Missing(), Variant("  Nivel = 1 "));
         },
         "SELECT MAX(Codigo) AS MAYOR FROM ma_cuentas WHERE Nivel = 1"},
        {"BuscaMinimo", [](DB_Dll& d) { d.BuscaMinimo("ARTICULOS", "Precio"); },
         "SELECT MIN(Precio) AS MENOR FROM ARTICULOS"},
        {"BuscaUltimoCodigo",
         [](DB_Dll& d) {
             d.BuscaUltimoCodigo("ARTICULOS", "Codigo", std::int32_t{8}, " Activo = 1 ");
         },
         "SELECT MAX(Codigo) AS MAYOR FROM ARTICULOS WHERE  Activo = 1 "},
        {"BuscaUltimoCodigo blank condition",
         [](DB_Dll& d) { d.BuscaUltimoCodigo("ARTICULOS", "Codigo", std::int32_t{8}, "  "); },
         "SELECT MAX(Codigo) AS MAYOR FROM ARTICULOS"},
    };
    for (const QueryCase& c : cases) {
        dbtest::RecordingDb r("lookup");
        c.call(r.db);
        EXPECT_EQ(r.recorder->Statements(), std::vector<std::string>{c.sent}) << c.what;
    }
}

TEST(Lookups, TranslatedOnOracle) {
    dbtest::RecordingDb r("lookup", dbtest::kOracleSource);
    r.db.ExisteEnTabla("CLIENTES", "O'Brien", "Nombre");
    r.db.DatosTabla("ta_usuarios", "ana", "Administrador", "nombre");
    EXPECT_EQ(r.recorder->Statements(),
              (std::vector<std::string>{
                  "SELECT   * FROM CLIENTES WHERE LTRIM( RTRIM( Nombre) ) ='O''Brien' AND "
                  "ROWNUM <= 1",
                  "SELECT  * FROM ta_usuarios WHERE LTRIM( RTRIM( nombre) ) ='ana' AND ROWNUM "
                  "<= 1"}));
}

std::vector<std::string> Articulos() {
    return {
        "CREATE TABLE ARTICULOS (Codigo VARCHAR(10) PRIMARY KEY, Descripcion VARCHAR(40), "
        "Precio FLOAT, Activo INT)",
        "INSERT INTO ARTICULOS VALUES ('12', 'Tornillo', 1.5, 1)",
        "INSERT INTO ARTICULOS VALUES ('13', NULL, 2.25, 0)",
        "INSERT INTO ARTICULOS VALUES ('O''B', 'Tuerca', 0.5, 1)",
        "CREATE TABLE VACIA (Codigo VARCHAR(10), Precio FLOAT)",
    };
}

TEST(Lookups, ExistenceOnTheEmbeddedEngine) {
    dbtest::RegionalScope regional;
    testsupport::TempDir dir;
    dbtest::SqliteDb s(dir.File("articulos.db"), Articulos());
    DB_Dll& d = s.db;
    const Variant text8(std::int32_t{8});
    EXPECT_TRUE(d.ExisteEnTabla("ARTICULOS", " 12 "));
    EXPECT_FALSE(d.ExisteEnTabla("ARTICULOS", "99"));
    EXPECT_TRUE(d.ExisteEnTabla("ARTICULOS", "o'b"));
    EXPECT_TRUE(d.ExisteEnTabla("ARTICULOS", "1.5", "Precio", nullptr, std::int32_t{5}));
    EXPECT_FALSE(d.ExisteEnTablaST("ARTICULOS", " 12"));
    EXPECT_TRUE(d.ExisteEnTablaST("ARTICULOS", "12"));
    EXPECT_TRUE(d.ExisteEnTablaST("ARTICULOS", "", "Codigo", nullptr, text8, "Precio > 2"));
    EXPECT_FALSE(d.ExisteEnTablaST("ARTICULOS", "", "Codigo", nullptr, text8, "Precio > 5"));
}

TEST(Lookups, CallersRecordsetStaysOnTheFoundRow) {
    testsupport::TempDir dir;
    dbtest::SqliteDb s(dir.File("articulos.db"), Articulos());
    DB_Dll& d = s.db;
    adodb::Recordset rs;
    d.AbrirRecordset(std::string("SELECT * FROM VACIA"), rs, nullptr, 0, 3);
    ASSERT_EQ(rs.LockType(), 3);

    EXPECT_TRUE(d.ExisteEnTabla("ARTICULOS", "12", "Codigo", &rs));
    EXPECT_EQ(rs.Fields("Descripcion").Value().ToString(), "Tornillo");
    EXPECT_EQ(rs.LockType(), 3);  // the recordset's own types are kept

    EXPECT_TRUE(d.ExisteEnTablaST("ARTICULOS", "13", "Codigo", &rs, std::int32_t{8}, "", true));
    EXPECT_EQ(rs.Fields("Precio").Value().ToDouble(), 2.25);
    EXPECT_EQ(rs.LockType(), adodb::kLockReadOnly);

    EXPECT_FALSE(d.ExisteEnTablaST("ARTICULOS", "99", "Codigo", &rs));
    EXPECT_EQ(rs.State(), adodb::kStateOpen);
}

TEST(Lookups, DatosTablaAnswersTheColumnAsText) {
    testsupport::TempDir dir;
    dbtest::SqliteDb s(dir.File("articulos.db"), Articulos());
    DB_Dll& d = s.db;
    const Variant found = d.DatosTabla("ARTICULOS", " 12 ", "Descripcion");
    EXPECT_EQ(found.Type(), adodb::VarType::String);
    EXPECT_EQ(found.ToString(), "Tornillo");
    EXPECT_EQ(d.DatosTabla("ARTICULOS", "13", "Descripcion"), Variant(""));  // Null field
    EXPECT_EQ(d.DatosTabla("ARTICULOS", "99", "Descripcion"), Variant(""));  // no row
    EXPECT_EQ(d.DatosTabla("ARTICULOS", "12", "Activo"), Variant("1"));
}

TEST(Lookups, LargestAndSmallestValues) {
    dbtest::RegionalScope regional;
    testsupport::TempDir dir;
    dbtest::SqliteDb s(dir.File("articulos.db"), Articulos());
    DB_Dll& d = s.db;
    EXPECT_EQ(d.BuscaMaximo("ARTICULOS", "Precio"), Variant(2.25));
    EXPECT_EQ(d.BuscaMinimo("ARTICULOS", "Precio"), Variant(0.5));
    EXPECT_EQ(d.BuscaMaximo("ARTICULOS", "Precio", Variant::Missing(), Variant("Activo = 1")),
              Variant(1.5));
    EXPECT_EQ(d.BuscaUltimoCodigo("ARTICULOS", "Codigo", std::int32_t{8}, "Activo = 0"),
              Variant(13.0));
    // The aggregate always gives one row: an empty table answers 0, not empty.
    EXPECT_EQ(d.BuscaMaximo("VACIA", "Precio"), Variant(0.0));
    // No handling of their own: a missing table goes to the caller.
    EXPECT_THROW(d.BuscaMaximo("NO_EXISTE", "Precio"), text::RuntimeError);
}

TEST(Lookups, FailuresAskAbortRetryIgnore) {
    PrompterScope p;
    testsupport::TempDir dir;
    dbtest::SqliteDb s(dir.File("articulos.db"), Articulos());
    DB_Dll& d = s.db;

    p.prompter->Answer(ui::kRetry);
    p.prompter->Answer(ui::kAbort);
    EXPECT_FALSE(d.ExisteEnTabla("NO_EXISTE", "1"));
    ASSERT_EQ(p.prompter->Boxes().size(), 2u);
    const ui::RecordedBox& box = p.prompter->Boxes()[0];
    EXPECT_EQ(box.title, "Aviso al Operador");
    EXPECT_EQ(box.buttons, ui::Buttons::AbortRetryIgnore);
    EXPECT_EQ(box.icon, ui::Icon::Critical);
    EXPECT_FALSE(box.prompt.empty());

    p.prompter->Clear();
    p.prompter->Answer(ui::kIgnore);
    EXPECT_FALSE(d.ExisteEnTablaST("NO_EXISTE", "1"));
    EXPECT_EQ(p.prompter->Boxes().size(), 1u);

    // A returned field that is not in the row: aborted with the result still empty.
    p.prompter->Clear();
    p.prompter->Answer(ui::kAbort);
    EXPECT_TRUE(d.DatosTabla("ARTICULOS", "12", "NoHay").IsEmpty());
    EXPECT_EQ(p.prompter->Boxes().size(), 1u);
}

}  // namespace
