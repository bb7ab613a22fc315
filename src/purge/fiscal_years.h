#pragma once
// Fiscal years (MV_EJERCICIOS) as the purge window and the run read them.
#include <optional>
#include <string>
#include <vector>

#include "db/db_dll.h"

namespace purge {

// Codes (Periodo) of the fiscal years marked closed by either closing mark, in the order the
// database returns them.
std::vector<std::string> EjerciciosCerrados(db::DB_Dll& db);

struct Ejercicio {
    std::string descripcion;    // empty when Null
    adodb::Variant fechaHasta;  // "FECHA HASTA"; may be Null
    adodb::Variant cerrado;     // "Cerrado"; may be Null
    bool Closed() const;        // Cerrado true; a Null one counts as closed
    // Text shown under the inputs: the description and the end date.
    std::string Descripcion() const;
};

// Looks the code up as the fiscal-year field does (ExisteEnTabla on PERIODO as a number);
// `rs` receives the row. Nothing when there is no row.
std::optional<Ejercicio> BuscaEjercicio(db::DB_Dll& db, const std::string& codigo,
                                        adodb::Recordset& rs);

// A code the run may put unquoted into a statement: digits only (after trimming), as many
// as a 32-bit integer holds.
bool IsWholeNumberCode(const std::string& codigo);

// The end date as text in the default date format (short date, time only when present).
std::string FechaHastaText(const adodb::Variant& fechaHasta);

// The cut-off text of a typed date: written out in the regional order with two-digit day and
// month and a four-digit year ("1/1/20" -> "01/01/2020"), so that every statement and the
// purge date read the same day whatever the database makes of two-digit years. A text that
// does not read as a date is returned trimmed.
std::string CutOffFromTyped(const std::string& typed);

// The earliest cut-off year: SQL Server's datetime holds nothing before 1753.
inline constexpr int kEarliestCutOffYear = 1753;

}  // namespace purge
