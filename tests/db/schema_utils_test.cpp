#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "db/db_dll.h"
#include "fixture_db.h"
#include "support/temp_dir.h"

namespace {

using adodb::Variant;
using db::DB_Dll;

std::vector<std::string> Schema() {
    return {
        "CREATE TABLE ARTICULOS (Codigo VARCHAR(10) PRIMARY KEY, Descripcion VARCHAR(40))",
        "INSERT INTO ARTICULOS VALUES ('12', 'Tornillo')",
        "CREATE VIEW V_ARTICULOS AS SELECT Codigo FROM ARTICULOS",
    };
}

std::string ColumnValue(DB_Dll& d, const std::string& query) {
    adodb::Recordset rs;
    d.AbrirRecordset(query, rs);
    return rs.Fields(0).Value().ToString();
}

TEST(SchemaUtilities, FindTablesViewsAndColumns) {
    testsupport::TempDir dir;
    dbtest::SqliteDb s(dir.File("schema.db"), Schema());
    DB_Dll& d = s.db;
    EXPECT_TRUE(d.ExisteTablaDB(" articulos "));
    EXPECT_TRUE(d.ExisteTablaDB("V_ARTICULOS"));
    EXPECT_FALSE(d.ExisteTablaDB("ARTICULO"));
    EXPECT_TRUE(d.ExisteCampoDB("ARTICULOS", " descripcion "));
    EXPECT_FALSE(d.ExisteCampoDB("ARTICULOS", "Peso"));
    EXPECT_FALSE(d.ExisteCampoDB("NO_EXISTE", "Codigo"));
}

TEST(SchemaUtilities, AddFieldStatements) {
    dbtest::RegionalScope regional;  // decimal comma
    struct Case {
        bool nulls;
        Variant def;
        std::string sent;
    };
    const Case cases[] = {
        {false, Variant(std::int32_t{0}),
         "ALTER TABLE dbo.ARTICULOS ADD PESO float Not Null  CONSTRAINT DF_ARTICULOS_PESO "
         "DEFAULT (0)"},
        {true, Variant::Missing(), "ALTER TABLE dbo.ARTICULOS ADD PESO float Null "},
        {false, Variant::Missing(), "ALTER TABLE dbo.ARTICULOS ADD PESO float Not Null "},
        // A decimal default keeps its point under a decimal-comma locale.
        {true, Variant(0.5),
         "ALTER TABLE dbo.ARTICULOS ADD PESO float Null  CONSTRAINT DF_ARTICULOS_PESO DEFAULT "
         "(0.5)"},
        {true, Variant("'N'"),
         "ALTER TABLE dbo.ARTICULOS ADD PESO float Null  CONSTRAINT DF_ARTICULOS_PESO DEFAULT "
         "('N')"},
    };
    for (const Case& c : cases) {
        dbtest::RecordingDb r("schema");
        r.db.AddField("ARTICULOS", "PESO", "float", c.nulls, c.def);
        EXPECT_EQ(r.recorder->Statements(), std::vector<std::string>{c.sent});
    }
}

TEST(SchemaUtilities, AddFieldAndVerCampoDBChangeTheTable) {
    testsupport::TempDir dir;
    dbtest::SqliteDb s(dir.File("schema.db"), Schema());
    DB_Dll& d = s.db;

    // Only testing, or a missing table: nothing added, still true.
    EXPECT_TRUE(d.VerCampoDB("ARTICULOS", "PESO", false, "float", false, Variant(std::int32_t{0})));
    EXPECT_TRUE(d.VerCampoDB("NO_EXISTE", "PESO", true, "float", false, Variant(std::int32_t{0})));
    EXPECT_FALSE(d.ExisteCampoDB("ARTICULOS", "PESO"));

    EXPECT_TRUE(d.VerCampoDB("ARTICULOS", "PESO", true, "float", false, Variant(std::int32_t{0})));
    EXPECT_TRUE(d.ExisteCampoDB("ARTICULOS", "PESO"));
    EXPECT_EQ(ColumnValue(d, "SELECT PESO FROM ARTICULOS WHERE Codigo = '12'"), "0");

    // Present already: no second ALTER (which would fail).
    EXPECT_TRUE(d.VerCampoDB("ARTICULOS", "PESO", true, "float", false, Variant(std::int32_t{1})));

    d.AddField("ARTICULOS", "NOTA", "VARCHAR(20)", true);
    EXPECT_TRUE(d.ExisteCampoDB("ARTICULOS", "nota"));
}

TEST(SchemaUtilities, OracleColumnsAlwaysCountAsPresent) {
    dbtest::RecordingDb r("schema", dbtest::kOracleSource);
    r.recorder->SetSchema(adodb::kSchemaTables,
                          adodb::MakeResult({"TABLE_NAME"}, {{Variant("ARTICULOS")}}));
    r.db.gProveedor = "OraOLEDB.Oracle.1";
    EXPECT_TRUE(r.db.ExisteCampoDB("ARTICULOS", "NADA"));
    EXPECT_TRUE(r.db.VerCampoDB("ARTICULOS", "NADA", true, "float"));
    EXPECT_EQ(r.recorder->Calls(), std::vector<std::string>{"OpenSchema: 20"});
}

}  // namespace
