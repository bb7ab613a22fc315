#include "demo/generator.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "demo/schema.h"
#include "demo_db.h"
#include "support/temp_dir.h"

namespace {

using demotest::Checksum;
using demotest::Count;
using demotest::OpenReadOnly;
using demotest::Text;

// Databases shared by the tests that only read them: the interactive demo (scale 1) and the
// smallest scale, which other tests use for speed and which must hold every case as well.
class DemoDatabase : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        dir_ = std::make_unique<testsupport::TempDir>();
        path_ = dir_->File("demo.db");
        stats_ = demo::GenerateDemoDatabase(path_, {});
        demo::GeneratorOptions smallest;
        smallest.scale = demo::kMinimumScale;
        small_path_ = dir_->File("minima.db");
        demo::GenerateDemoDatabase(small_path_, smallest);
    }
    static void TearDownTestSuite() { dir_.reset(); }
    static std::vector<std::string> BothPaths() { return {small_path_, path_}; }

    static std::unique_ptr<testsupport::TempDir> dir_;
    static std::string path_;
    static std::string small_path_;
    static demo::GeneratorStats stats_;
};
std::unique_ptr<testsupport::TempDir> DemoDatabase::dir_;
std::string DemoDatabase::path_;
std::string DemoDatabase::small_path_;
demo::GeneratorStats DemoDatabase::stats_;

TEST_F(DemoDatabase, VolumesFollowTheScaleAndStatsMatchTheFile) {
    const auto counts = demo::CountRows(path_);
    EXPECT_EQ(stats_.rows, counts);
    for (const std::string& table : demo::TableNames()) EXPECT_GT(counts.at(table), 0) << table;

    EXPECT_EQ(counts.at("MV_ASIENTOS"), 5000);
    EXPECT_EQ(counts.at("MV_APLICACION"), 10000);
    auto db = OpenReadOnly(path_);
    EXPECT_EQ(Count(db.get(), "SELECT COUNT(*) FROM V_MV_STOCK WHERE TC <> 'SI'"), 5000);
    long long vouchers = 0;
    for (const char* table :
         {"V_MV_CPTE", "V_MV_CPTEINSUMOS", "V_MV_CPTE_OBSERV", "V_MV_CPTETAREAS", "V_MV_CPTEDOC",
          "C_MV_CPTE", "C_MV_CPTEINSUMOS", "C_MV_CPTE_OBSERV", "C_MV_CPTETAREAS"}) {
        vouchers += counts.at(table);
    }
    EXPECT_GE(vouchers, 5015);
    EXPECT_LT(vouchers, 5200);
}

TEST_F(DemoDatabase, OpensInWalModeWithNoLeftovers) {
    auto db = OpenReadOnly(path_);
    EXPECT_EQ(Text(db.get(), "PRAGMA journal_mode"), "wal");
    EXPECT_FALSE(std::filesystem::exists(path_ + ".part"));
}

TEST_F(DemoDatabase, EveryDateIsIsoTextWithTheTimeOfDay) {
    for (const std::string& path : BothPaths()) {
        SCOPED_TRACE(path);
        auto db = OpenReadOnly(path);
        const std::string iso =
            "'[0-9][0-9][0-9][0-9]-[01][0-9]-[0-3][0-9] [0-2][0-9]:[0-5][0-9]:[0-5][0-9]'";
        const std::pair<const char*, const char*> columns[] = {
            {"MV_EJERCICIOS", "\"FECHA DESDE\""},
            {"MV_EJERCICIOS", "\"FECHA HASTA\""},
            {"MV_ASIENTOS", "FECHA"},
            {"V_MV_CPTE", "FECHA"},
            {"C_MV_CPTE", "FECHA"},
            {"V_MV_STOCK", "FECHA"},
            {"V_MV_FALTANTES", "FechaHora"},
        };
        for (const auto& [table, column] : columns) {
            EXPECT_EQ(Count(db.get(), std::string("SELECT COUNT(*) FROM ") + table + " WHERE " +
                                          column + " IS NULL OR typeof(" + column +
                                          ") <> 'text' OR NOT " + column + " GLOB " + iso),
                      0)
                << table << "." << column;
        }
        // Every fiscal year's last day holds rows in each dated table the purge reads.
        for (int year = 2019; year <= 2025; ++year) {
            const std::string day = "'" + std::to_string(year) + "-12-31 00:00:00'";
            for (const char* table : {"MV_ASIENTOS", "V_MV_CPTE", "C_MV_CPTE", "V_MV_STOCK"}) {
                EXPECT_GT(Count(db.get(), std::string("SELECT COUNT(*) FROM ") + table +
                                              " WHERE FECHA = " + day),
                          0)
                    << table << " " << year;
            }
        }
    }
}

TEST_F(DemoDatabase, FiscalYearsUsersVoucherTypesAndSettings) {
    auto db = OpenReadOnly(path_);
    const auto year = [&](const char* column, int y) {
        return Text(db.get(), std::string("SELECT ") + column +
                                  " FROM MV_EJERCICIOS WHERE PERIODO = " + std::to_string(y));
    };
    const struct {
        int year;
        const char* cierre;
        const char* cerrado;
    } years[] = {
        {2019, "1", "1"}, {2021, "1", "1"}, {2022, "1", "0"}, {2023, "0", "0"}, {2025, "0", "0"}};
    for (const auto& y : years) {
        EXPECT_EQ(year("CIERRE", y.year), y.cierre) << y.year;
        EXPECT_EQ(year("CERRADO", y.year), y.cerrado) << y.year;
        EXPECT_EQ(year("\"FECHA HASTA\"", y.year), std::to_string(y.year) + "-12-31 00:00:00");
    }
    EXPECT_EQ(Count(db.get(), "SELECT COUNT(*) FROM MV_EJERCICIOS"), 7);

    // Looked up with other letter case, as the program's statements may write them.
    EXPECT_EQ(Text(db.get(), "SELECT VALOR FROM TA_CONFIGURACION WHERE CLAVE = 'FECHAOPERDESDE'"),
              "01/01/2024");
    EXPECT_EQ(Text(db.get(), "SELECT VALOR FROM TA_CONFIGURACION WHERE CLAVE = 'FechaOperHasta'"),
              "31/12/2025");
    EXPECT_EQ(Count(db.get(),
                    "SELECT COUNT(*) FROM TA_CONFIGURACION WHERE CLAVE = 'FECHAULTIMADEPURACION'"),
              0);
    EXPECT_EQ(Text(db.get(), "SELECT Descripcion FROM V_TA_CPTE WHERE Codigo = 'si'"),
              "Saldo Inicial");
    EXPECT_EQ(Text(db.get(), "SELECT Administrador FROM ta_usuarios WHERE nombre = 'ADMIN'"), "1");
    EXPECT_EQ(
        Text(db.get(),
             "SELECT Administrador || '/' || UNegocio FROM ta_usuarios WHERE nombre = 'operador'"),
        "0/2");
}

TEST_F(DemoDatabase, SynonymViewsShowTheSharedTables) {
    auto db = OpenReadOnly(path_);
    const std::pair<const char*, const char*> synonyms[] = {
        {"SS_MA_CUENTAS", "MA_CUENTAS"},
        {"SS_V_TA_DEPOSITO", "V_TA_DEPOSITO"},
        {"SS_MV_ASIENTOS", "MV_ASIENTOS"},
        {"SS_V_TA_FAMILIAS", "V_TA_FAMILIAS"},
        {"SS_V_TA_CAJAS", "V_TA_CAJAS"},
        {"SS_AC_CUENTASDIARIO", "AC_CUENTASDIARIO"},
        {"SS_AC_CUENTAS_DIARIO_CCOSTO", "AC_CUENTASDIARIO_CCOSTO"},
    };
    for (const auto& [view, table] : synonyms) {
        EXPECT_EQ(Text(db.get(),
                       std::string("SELECT type FROM sqlite_master WHERE name = '") + view + "'"),
                  "view");
        const long long rows = Count(db.get(), std::string("SELECT COUNT(*) FROM ") + table);
        EXPECT_GT(rows, 0) << table;
        EXPECT_EQ(Count(db.get(), std::string("SELECT COUNT(*) FROM ") + view), rows) << view;
    }
    EXPECT_EQ(Count(db.get(), "SELECT COUNT(*) FROM SS_MV_ASIENTOS WHERE \"NUMERO ASIENTO\" > 0"),
              5000);
}

// The data a purge has to get right: each case is a query that must find rows.
TEST_F(DemoDatabase, HoldsTheCasesAPurgeMustHandle) {
    for (const std::string& path : BothPaths()) {
        SCOPED_TRACE(path);
        auto db = OpenReadOnly(path);
        const std::pair<const char*, const char*> cases[] = {
            {"application rows without an entry",
             "SELECT COUNT(*) FROM MV_APLICACION a WHERE NOT EXISTS (SELECT 1 FROM MV_ASIENTOS s "
             "WHERE "
             "s.CUENTA = a.CUENTA AND s.TC = a.TC AND s.SUCURSAL = a.SUCURSAL AND s.NUMERO = "
             "a.NUMERO "
             "AND s.Letra = a.Letra)"},
            {"sales materials without a header",
             "SELECT COUNT(*) FROM V_MV_CPTEINSUMOS d WHERE NOT EXISTS (SELECT 1 FROM V_MV_CPTE h "
             "WHERE h.TC = d.TC AND h.IDCOMPROBANTE = d.IDCOMPROBANTE)"},
            {"sales observations without a header",
             "SELECT COUNT(*) FROM V_MV_CPTE_OBSERV d WHERE NOT EXISTS (SELECT 1 FROM V_MV_CPTE h "
             "WHERE h.TC = d.TC AND h.IDCOMPROBANTE = d.IDCOMPROBANTE)"},
            {"sales tasks without a header",
             "SELECT COUNT(*) FROM V_MV_CPTETAREAS d WHERE NOT EXISTS (SELECT 1 FROM V_MV_CPTE h "
             "WHERE h.TC = d.TC AND h.IDCOMPROBANTE = d.IDCOMPROBANTE)"},
            {"sales documents without a header",
             "SELECT COUNT(*) FROM V_MV_CPTEDOC d WHERE NOT EXISTS (SELECT 1 FROM V_MV_CPTE h "
             "WHERE h.TC = d.TC AND h.IDCOMPROBANTE = d.IDCOMPROBANTE)"},
            {"purchase materials without a header",
             "SELECT COUNT(*) FROM C_MV_CPTEINSUMOS d WHERE NOT EXISTS (SELECT 1 FROM C_MV_CPTE h "
             "WHERE h.TC = d.TC AND h.CUENTA = d.CUENTA AND h.IDCOMPROBANTE = d.IDCOMPROBANTE)"},
            {"purchase observations without a header",
             "SELECT COUNT(*) FROM C_MV_CPTE_OBSERV d WHERE NOT EXISTS (SELECT 1 FROM C_MV_CPTE h "
             "WHERE h.TC = d.TC AND h.CUENTA = d.CUENTA AND h.IDCOMPROBANTE = d.IDCOMPROBANTE)"},
            {"purchase tasks without a header",
             "SELECT COUNT(*) FROM C_MV_CPTETAREAS d WHERE NOT EXISTS (SELECT 1 FROM C_MV_CPTE h "
             "WHERE h.TC = d.TC AND h.CUENTA = d.CUENTA AND h.IDCOMPROBANTE = d.IDCOMPROBANTE)"},
            {"a purchase number under two suppliers in different years",
             "SELECT COUNT(*) FROM C_MV_CPTE a JOIN C_MV_CPTE b ON a.TC = b.TC AND "
             "a.IDCOMPROBANTE = b.IDCOMPROBANTE AND a.CUENTA <> b.CUENTA AND "
             "substr(a.FECHA, 1, 4) <> substr(b.FECHA, 1, 4)"},
            {"a sales number under two voucher types in different years",
             "SELECT COUNT(*) FROM V_MV_CPTE a JOIN V_MV_CPTE b ON a.IDCOMPROBANTE = "
             "b.IDCOMPROBANTE "
             "AND a.TC <> b.TC AND substr(a.FECHA, 1, 4) <> substr(b.FECHA, 1, 4)"},
            {"a sales voucher late on a fiscal year's last day",
             "SELECT COUNT(*) FROM V_MV_CPTE WHERE FECHA = '2021-12-31 19:45:00'"},
            {"voided stock movements", "SELECT COUNT(*) FROM V_MV_STOCK WHERE Anulado = 1"},
            {"stock descriptions with a single quote",
             "SELECT COUNT(*) FROM V_MV_STOCK WHERE DESCRIPCION = 'Tornillo 1/4'''' x 2'"},
            {"stock rows without article",
             "SELECT COUNT(*) FROM V_MV_STOCK WHERE IDARTICULO IS NULL"},
            {"stock rows without description",
             "SELECT COUNT(*) FROM V_MV_STOCK WHERE DESCRIPCION IS NULL"},
            {"stock rows without unit", "SELECT COUNT(*) FROM V_MV_STOCK WHERE IDUNIDAD IS NULL"},
            {"stock in several deposits",
             "SELECT COUNT(DISTINCT IdDeposito) - 2 FROM V_MV_STOCK WHERE TC <> 'SI'"},
            {"stock positions", "SELECT COUNT(DISTINCT IdPosicion) - 1 FROM V_MV_STOCK"},
            {"stock serial numbers", "SELECT COUNT(DISTINCT NroSerie) - 1 FROM V_MV_STOCK"},
            {"stock lots", "SELECT COUNT(DISTINCT NroLote) - 1 FROM V_MV_STOCK"},
            {"fractional stock quantities",
             "SELECT COUNT(*) FROM V_MV_STOCK WHERE CANTIDAD <> CAST(CANTIDAD AS INTEGER)"},
            {"an earlier opening balance",
             "SELECT COUNT(*) FROM V_MV_STOCK WHERE TC = 'SI' AND IDCOMPROBANTE = '000100000041X' "
             "AND FECHA = '2018-12-31 00:00:00'"},
        };
        for (const auto& [what, sql] : cases) EXPECT_GT(Count(db.get(), sql), 0) << what;
        EXPECT_EQ(
            Count(db.get(), "SELECT COUNT(DISTINCT IDCOMPROBANTE) FROM V_MV_STOCK WHERE TC = 'SI'"),
            1);
    }
}

TEST_F(DemoDatabase, CountOnOrBeforeFollowsTheCutoffAndLeavesHeaderlessRowsOut) {
    const auto all = demo::CountRows(path_);
    auto db = OpenReadOnly(path_);

    // After every row: everything counts except dependent rows without a header.
    const auto late = demo::CountRowsOnOrBefore(path_, "2030-01-01");
    ASSERT_EQ(late.size(), 12u);
    for (const char* table : {"MV_ASIENTOS", "V_MV_STOCK", "V_MV_CPTE", "C_MV_CPTE"}) {
        EXPECT_EQ(late.at(table), all.at(table)) << table;
    }
    for (const char* table :
         {"MV_APLICACION", "V_MV_CPTEINSUMOS", "V_MV_CPTE_OBSERV", "V_MV_CPTETAREAS",
          "V_MV_CPTEDOC", "C_MV_CPTEINSUMOS", "C_MV_CPTE_OBSERV", "C_MV_CPTETAREAS"}) {
        EXPECT_LT(late.at(table), all.at(table)) << table;
        EXPECT_GT(late.at(table), all.at(table) * 9 / 10) << table;
    }

    // A bare date means that day at midnight: the voucher stamped 19:45 is after it.
    const auto day = demo::CountRowsOnOrBefore(path_, "2021-12-31");
    const auto evening = demo::CountRowsOnOrBefore(path_, "2021-12-31 23:59:59");
    EXPECT_EQ(evening.at("V_MV_CPTE") - day.at("V_MV_CPTE"), 1);
    EXPECT_EQ(day.at("V_MV_CPTE"),
              Count(db.get(),
                    "SELECT COUNT(*) FROM V_MV_CPTE WHERE FECHA < '2022-01-01' AND "
                    "FECHA NOT LIKE '2021-12-31 19:45%'"));
    EXPECT_EQ(day.at("V_MV_STOCK"),
              Count(db.get(), "SELECT COUNT(*) FROM V_MV_STOCK WHERE FECHA < '2022-01-01'"));
    EXPECT_GT(day.at("MV_APLICACION"), 0);
    EXPECT_LT(day.at("MV_APLICACION"), late.at("MV_APLICACION"));

    for (const char* bad : {"31/12/2021", "2021-12-31T00:00:00", "2021-12-3", ""}) {
        EXPECT_THROW(demo::CountRowsOnOrBefore(path_, bad), std::invalid_argument) << bad;
    }
}

TEST(Generator, SameSeedSameDataOtherSeedOtherData) {
    testsupport::TempDir dir;
    const auto generate = [&](const std::string& name, std::uint32_t seed) {
        demo::GeneratorOptions options;
        options.scale = 0.2;
        options.seed = seed;
        const auto stats = demo::GenerateDemoDatabase(dir.File(name), options);
        auto db = OpenReadOnly(dir.File(name));
        return std::make_pair(stats.rows,
                              Checksum(db.get(), "SELECT * FROM V_MV_STOCK ORDER BY ID") ^
                                  Checksum(db.get(),
                                           "SELECT * FROM MV_ASIENTOS ORDER BY FECHA, "
                                           "PERIODO, \"NUMERO ASIENTO\", Secuencia") ^
                                  Checksum(db.get(), "SELECT * FROM C_MV_CPTE ORDER BY ID"));
    };
    const auto first = generate("a.db", 7);
    const auto again = generate("b.db", 7);
    const auto other = generate("c.db", 8);
    EXPECT_EQ(first.first, again.first);
    EXPECT_EQ(first.second, again.second);
    EXPECT_NE(first.second, other.second);
    EXPECT_EQ(first.first.at("MV_ASIENTOS"), 1000);
}

TEST(Generator, ExistingFileIsKeptUnlessReplaceIsAsked) {
    testsupport::TempDir dir;
    const std::string path = dir.File("demo.db");
    { std::ofstream(path) << "not a database"; }
    demo::GeneratorOptions options;
    options.scale = demo::kMinimumScale;
    EXPECT_THROW(demo::GenerateDemoDatabase(path, options), std::runtime_error);
    std::stringstream kept;
    kept << std::ifstream(path).rdbuf();
    EXPECT_EQ(kept.str(), "not a database");

    options.replace = true;
    const auto stats = demo::GenerateDemoDatabase(path, options);
    EXPECT_EQ(demo::CountRows(path), stats.rows);
    EXPECT_EQ(stats.rows.at("MV_ASIENTOS"), 250);

    options.scale = 0.01;
    EXPECT_THROW(demo::GenerateDemoDatabase(dir.File("tiny.db"), options), std::invalid_argument);
    EXPECT_FALSE(std::filesystem::exists(dir.File("tiny.db")));
}

TEST(Generator, WithoutOpeningBalanceThereIsNoSiMovement) {
    testsupport::TempDir dir;
    demo::GeneratorOptions options;
    options.scale = demo::kMinimumScale;
    options.opening_balance = false;
    demo::GenerateDemoDatabase(dir.File("demo.db"), options);
    auto db = OpenReadOnly(dir.File("demo.db"));
    EXPECT_EQ(Count(db.get(), "SELECT COUNT(*) FROM V_MV_STOCK WHERE TC = 'SI'"), 0);
    EXPECT_EQ(Count(db.get(), "SELECT COUNT(*) FROM V_TA_CPTE WHERE Codigo = 'SI'"), 1);
}

}  // namespace
