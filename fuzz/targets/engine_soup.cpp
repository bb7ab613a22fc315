// The embedded engine fed token soup: statements built from the dialect's words, the suite's
// names, operators and literals in any order. Whatever the engine makes of them it answers
// with a result or the layer's error, never a crash, a hang or another kind of exception,
// and a refused statement changes no row.
//
// Input: one byte per token.
#include <cstdint>
#include <iterator>
#include <string>

#include "engine_fixture.h"
#include "support/fuzz_check.h"

using fuzzsupport::Require;

namespace {

// Transaction words, SET DATEFORMAT and schema changes are left out: they would carry
// state from one input to the next.
// clang-format off
constexpr const char* kTokens[] = {
    "SELECT", "DELETE", "INSERT", "INTO", "VALUES", "UPDATE", "SET", "FROM", "WHERE", "AND", "OR",
    "NOT", "TOP", "PERCENT", "INNER", "LEFT", "JOIN", "ON", "AS", "IN", "EXISTS", "CASE", "WHEN",
    "THEN", "ELSE", "END", "GROUP", "BY", "ORDER", "HAVING", "UNION", "ALL", "DISTINCT", "NULL",
    "IS", "LIKE", "BETWEEN", "ASC", "DESC", "CONVERT", "LEN", "CHARINDEX", "ISNULL", "GETDATE()",
    "LTRIM", "RTRIM", "SUBSTRING", "UPPER", "COUNT", "SUM", "MAX", "MIN", "COALESCE", "NULLIF",
    "int", "varchar", "varchar(10)", "datetime", "numeric(18,4)", "dbo.", "MV_ASIENTOS",
    "MV_APLICACION", "V_MV_CPTE", "V_MV_CPTEDOC", "C_MV_CPTE", "V_MV_STOCK", "TA_CONFIGURACION",
    "MV_EJERCICIOS", "T1", "a", "FECHA", "Cuenta", "Secuencia", "TC", "NUMERO", "ID",
    "IDCOMPROBANTE", "Cantidad", "Importe", "Descripcion", "CLAVE", "valor", "PERIODO",
    "[NUMERO ASIENTO]", "[FECHA HASTA]", "MV_ASIENTOS.FECHA", "T1.ID", "*", "(", ")", "(", ")",
    ",", ".", "+", "-", "/", "=", "<>", "<=", ">=", "<", ">", "'31/12/2003'", "'31/02/2003'",
    "'2003-12-31'", "'20031231'", "''", "'abc'", "'FC'", "'ÑC'", "'FC  '", "'O''Brien'", "'%'",
    "'[a-c]%'", "0", "1", "5", "103", "120", "-1", "1.5", "2147483648", "1E308", "N'x'", "@Admin_",
    ";", "--", "\"FECHA\"", "'\2000/00/00'"};
// clang-format on

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 64) return 0;
    std::string sql;
    for (std::size_t i = 0; i < size; ++i) {
        if (i > 0) sql += ' ';
        sql += kTokens[data[i] % std::size(kTokens)];
    }
    fuzzsupport::EngineFixture& engine = fuzzsupport::Engine(6);
    long long changed = 0;
    // Anything but the layer's error escapes RunAndUndo and ends the run.
    const bool ran = fuzzsupport::RunAndUndo(engine, sql, changed);
    if (!ran) Require(changed == 0, "a refused statement changed rows: " + sql, sql);
    return 0;
}
