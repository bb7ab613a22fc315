#pragma once
// Statements of the accounting step (depura_asientos.cpp), kept apart so they read as the
// database sees them.
#include <string>

namespace purge::asientos {

// Start of the widened operating range.
inline constexpr const char* kInicioRango = "01/01/1900";

// The two range keys: the first selects only the value and compares the key exactly, the
// second selects the whole row and compares the trimmed key.
inline constexpr const char* kDesdeSql =
    "SELECT valor FROM TA_CONFIGURACION WHERE CLAVE = 'fechaoperdesde'";
inline constexpr const char* kHastaSql =
    "SELECT * FROM TA_CONFIGURACION WHERE RTRIM(LTRIM(CLAVE)) = 'fechaoperhasta'";
inline constexpr const char* kUltimaDepuracionSql =
    "SELECT * FROM TA_CONFIGURACION WHERE RTRIM(LTRIM(CLAVE)) = 'FECHAULTIMADEPURACION'";

// The fiscal year whose end is the cut-off; the code goes in as a number, unquoted.
std::string EjercicioSql(const std::string& codigo);
// Number of entries dated on or before the cut-off.
std::string CountSql(const std::string& fecha);
// Deletes the first `n` entries dated on or before the cut-off, matched back by the six
// columns that identify an entry.
std::string BatchSql(long n, const std::string& fecha);
// Deletes every entry dated on or before the cut-off.
std::string FinalSql(const std::string& fecha);

}  // namespace purge::asientos
