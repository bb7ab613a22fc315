// The database object on a read-only connection: its own queries (existence, values,
// maxima and minima, schema questions) all get through, and nothing it sends changes the
// file.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "db/db_dll.h"
#include "fixture_db.h"
#include "support/temp_dir.h"

namespace {

std::string Bytes(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

TEST(ReadOnlyDatabaseObject, ItsQueriesGetThroughAndTheFileKeepsItsBytes) {
    testsupport::TempDir dir;
    const std::string file = dir.File("ro.db");
    dbtest::PrompterScope prompts;  // an unexpected question fails the test
    std::string before;
    {
        dbtest::SqliteDb writable(file, dbtest::UsersTable());
        writable.db.gCnn.Close();
        before = Bytes(file);
    }
    db::DB_Dll d;
    d.gCnn.SetReadOnly(true);
    d.gCnn.Open(dbtest::SqliteConnectionString(file));
    EXPECT_TRUE(d.ExisteEnTabla("ta_usuarios", " ANA ", "nombre"));
    EXPECT_FALSE(d.ExisteEnTabla("ta_usuarios", "carla", "nombre"));
    EXPECT_EQ(d.DatosTabla("ta_usuarios", "beto", "UNegocio", "nombre").ToString(), "01");
    EXPECT_EQ(d.BuscaMaximo("ta_usuarios", "Administrador").ToString(), "1");
    EXPECT_EQ(d.BuscaMinimo("ta_usuarios", "Administrador").ToString(), "0");
    EXPECT_TRUE(d.ExisteTablaDB("ta_usuarios"));
    EXPECT_TRUE(d.ExisteCampoDB("ta_usuarios", "UNegocio"));
    adodb::Recordset rs;
    d.AbrirRecordset("SELECT nombre FROM ta_usuarios ORDER BY nombre", rs, nullptr, 3, 3);
    EXPECT_EQ(rs.RecordCount(), 2);
    EXPECT_THROW(d.gCnn.Execute("UPDATE ta_usuarios SET Administrador = 1"), adodb::ComError);
    d.gCnn.Close();
    EXPECT_EQ(Bytes(file), before);
}

}  // namespace
