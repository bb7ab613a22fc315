#include <gtest/gtest.h>

#include <string>

#include "db/db_dll.h"

namespace {

struct SynonymCase {
    bool admin;
    std::string sql;
    std::string expected;
};

TEST(Synonyms, RedirectSharedTablesForOrdinaryUsers) {
    const SynonymCase cases[] = {
        // Administrators keep every name; only the markers go.
        {true, "select * from @Admin_MA_CUENTAS m, mv_asientos a where m.x = a.x",
         "select * from MA_CUENTAS m, mv_asientos a where m.x = a.x"},
        // A whole word after a blank or "(": the synonym in upper case, the rest untouched.
        {false, "select * from ma_cuentas where codigo = 1",
         "select * from SS_MA_CUENTAS where codigo = 1"},
        {false, "select * from (v_ta_cajas c) where x = 1",
         "select * from (SS_V_TA_CAJAS c) where x = 1"},
        // Qualifying a column after a blank, "(" or ",".
        {false, "select count(v_ta_familias.codigo),v_ta_familias.x, v_ta_familias.y from t",
         "select count(SS_V_TA_FAMILIAS.codigo),SS_V_TA_FAMILIAS.x, SS_V_TA_FAMILIAS.y from t"},
        // After "{" only MA_CUENTAS is redirected.
        {false, "{ma_cuentas.codigo} {v_ta_deposito.codigo}",
         "{SS_MA_CUENTAS.codigo} {v_ta_deposito.codigo}"},
        // At the end, before a comma, a ")" or a line break, and after a line break: kept.
        {false, "select * from ma_cuentas", "select * from ma_cuentas"},
        {false, "select * from v_ta_deposito, v_ta_cajas c",
         "select * from v_ta_deposito, SS_V_TA_CAJAS c"},
        {false, "select * from t where x in (select y from mv_asientos)",
         "select * from t where x in (select y from mv_asientos)"},
        {false, "select * from mv_asientos\nwhere x = 1", "select * from mv_asientos\nwhere x = 1"},
        {false, "select * from\nmv_asientos where x = 1", "select * from\nmv_asientos where x = 1"},
        // The longer name is never caught by the shorter one's steps.
        {false, "select * from ac_cuentasdiario_ccosto where x = 1",
         "select * from SS_AC_CUENTAS_DIARIO_CCOSTO where x = 1"},
        {false, "select * from ac_cuentasdiario a where x = 1",
         "select * from SS_AC_CUENTASDIARIO a where x = 1"},
        // A marked name keeps its own name; unmarked ones in the same statement do not.
        {false, "select * from @admin_mv_asientos a, mv_asientos b where a.x = b.x",
         "select * from mv_asientos a, SS_MV_ASIENTOS b where a.x = b.x"},
        {false, "select * from @Admin_ma_cuentas where x = 1",
         "select * from MA_CUENTAS where x = 1"},
    };
    for (const SynonymCase& c : cases) {
        db::DB_Dll db;
        db.gEsAdmin = c.admin;
        EXPECT_EQ(db.SS_TSinonimos(c.sql), c.expected) << c.sql;
    }
}

}  // namespace
