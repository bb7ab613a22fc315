// One-table lookups: does a row with a key exist, one column of the first matching row, and
// the largest or smallest value of a column.
#include <string>

#include "db/db_dll.h"
#include "db/on_error.h"
#include "db/sql_text.h"
#include "platform/text/strings.h"

namespace db {

namespace {

enum class Lookup { ExistsUntrimmed, Exists, Data };

// The test of `Campo` against the searched value, chosen by the value's data type. Text keys
// have their quotes doubled so a value such as O'Brien keeps the statement sound.
std::string KeyTest(Lookup lookup, const std::string& Campo, const std::string& ValorBuscado,
                    const Variant& TipoDato, bool UsaTrim) {
    const std::string trimmed = text::Trim(ValorBuscado);
    const auto type = detail::TypeNumber(TipoDato);
    if (type == adodb::dtype::kBSTR) {
        switch (lookup) {
            case Lookup::ExistsUntrimmed:
                return " WHERE " + Campo + " ='" + detail::DoubleQuotes(ValorBuscado) + "'";
            case Lookup::Exists:
                return " WHERE LTRIM(RTRIM(" + Campo + ")) ='" + detail::DoubleQuotes(trimmed) +
                       "'";
            case Lookup::Data:
                return UsaTrim ? " WHERE LTRIM(RTRIM(" + Campo + ")) ='" +
                                     detail::DoubleQuotes(trimmed) + "' "
                               : " WHERE " + Campo + " ='" + detail::DoubleQuotes(trimmed) + "' ";
        }
    }
    if (type == 7) {
        return lookup == Lookup::Data ? " WHERE " + Campo + " = #" + trimmed + "# "
                                      : " WHERE " + Campo + " = " + trimmed + " ";
    }
    if (type == 3 || type == 5 || type == 4) {
        // The number is written with a period so a decimal key reads the same under any
        // regional settings.
        return " WHERE " + Campo + " = " + detail::SqlNumber(text::LeadingNumber(ValorBuscado));
    }
    return " WHERE " + Campo + " = " + ValorBuscado;
}

// A condition of the caller's in place of the key test; it may bring its own WHERE.
std::string WithCondition(const std::string& Condicion) {
    return (text::Contains(Condicion, " WHERE ") ? " " : " WHERE ") + Condicion;
}

// Whether the query finds a row, on the caller's recordset (left open on the first row) or on
// one of its own. `readOnly` opens the caller's recordset forward-only and read-only instead
// of with the types it already has.
bool FindsRow(adodb::Connection& cnn, const std::string& sql, adodb::Recordset* Lrcs,
              bool readOnly) {
    bool found = false;
    const auto ask = [](const text::RuntimeError& e) { return detail::AskAbortRetryIgnore(e); };
    const auto readFound = [&](const adodb::Recordset& rs) {
        found = rs.State() != adodb::kStateClosed && !rs.BOF();
    };
    if (Lrcs != nullptr) {
        if (!detail::RunStep(
                [&] {
                    if (Lrcs->State() != adodb::kStateClosed) Lrcs->Close();
                },
                ask)) {
            return found;
        }
        if (!detail::RunStep(
                [&] {
                    const int cursor = readOnly ? 0 : Lrcs->CursorType();
                    const int lock = readOnly ? adodb::kLockReadOnly : Lrcs->LockType();
                    Lrcs->Open(sql, cnn, cursor, lock, -1);
                },
                ask)) {
            return found;
        }
        detail::RunStep([&] { readFound(*Lrcs); }, ask);
        return found;
    }
    adodb::Recordset own;
    if (!detail::RunStep([&] { own.Open(sql, cnn, adodb::kOpenForwardOnly, adodb::kLockReadOnly, -1); }, ask)) {
        return found;
    }
    if (!detail::RunStep([&] { readFound(own); }, ask)) return found;
    detail::RunStep(
        [&] {
            if (own.State() != adodb::kStateClosed) own.Close();
        },
        ask);
    return found;
}

// MAX / MIN of a column as a double read from the field's text; a table without rows gives 0
// because the aggregate always returns one row. Failures go to the caller.
Variant Extreme(adodb::Connection& cnn, const clientlib::UtilityServices& utils,
                const std::string& sql, const std::string& field) {
    adodb::Recordset rs;
    rs.Open(sql, cnn, adodb::kOpenForwardOnly, adodb::kLockReadOnly, -1);
    Variant result;
    if (!rs.BOF()) {
        rs.MoveFirst();
        result = Variant(detail::ReadNumber(utils.NullToEmpty(rs.Fields(field)).ToString()));
    }
    rs.Close();
    return result;
}

}  // namespace

bool DB_Dll::ExisteEnTablaST(const std::string& Tabla, const std::string& ValorBuscado,
                             const std::string& Campo, adodb::Recordset* Lrcs,
                             const Variant& TipoDato, const std::string& Condicion,
                             bool SoloLectura) {
    const std::string sql =
        "SELECT * FROM " + Tabla +
        (Condicion.empty() ? KeyTest(Lookup::ExistsUntrimmed, Campo, ValorBuscado, TipoDato, true)
                           : WithCondition(Condicion));
    return FindsRow(gCnn, sql, Lrcs, SoloLectura);
}

bool DB_Dll::ExisteEnTabla(const std::string& Tabla, const std::string& ValorBuscado,
                           const std::string& Campo, adodb::Recordset* Lrcs,
                           const Variant& TipoDato, const std::string& Condicion) {
    const bool textKey = detail::TypeNumber(TipoDato) == adodb::dtype::kBSTR;
    const std::string start =
        textKey && Condicion.empty() ? "SELECT TOP 1  * FROM " : "SELECT TOP 1 * FROM ";
    const std::string sql =
        start + Tabla +
        (Condicion.empty() ? KeyTest(Lookup::Exists, Campo, ValorBuscado, TipoDato, true)
                           : WithCondition(Condicion));
    // The translation runs on every connection: elsewhere it only upper-cases the query.
    // A query whose translation failed is not sent, whether the operator aborts or ignores.
    std::string translated;
    detail::RunStep([&] { translated = ORACLE_Dicc(SS_TSinonimos(sql)); },
                    [](const text::RuntimeError& e) { return detail::AskAbortRetryIgnore(e); });
    if (translated.empty()) return false;
    return FindsRow(gCnn, translated, Lrcs, false);
}

Variant DB_Dll::DatosTabla(const std::string& Tabla, const std::string& ValorBuscado,
                           const std::string& CampoDevuelto, const std::string& Campo,
                           const Variant& TipoDato, const std::string& Condicion, bool UsaTrim) {
    std::string sql = "SELECT TOP 1 * FROM " + Tabla +
                      KeyTest(Lookup::Data, Campo, ValorBuscado, TipoDato, UsaTrim);
    if (!text::Trim(Condicion).empty()) sql += " AND " + Condicion;

    Variant result;
    const auto ask = [](const text::RuntimeError& e) { return detail::AskAbortRetryIgnore(e); };
    adodb::Recordset rs;
    AbrirRecordset(sql, rs, nullptr, adodb::kOpenForwardOnly, adodb::kLockReadOnly, -1, true);
    if (!detail::RunStep(
            [&] {
                const bool found = rs.State() != adodb::kStateClosed && !rs.BOF();
                result = found ? Variant(Utils().NullToEmpty(rs.Fields(CampoDevuelto)).ToString())
                               : Variant(std::string());
            },
            ask)) {
        return result;
    }
    detail::RunStep(
        [&] {
            if (rs.State() != adodb::kStateClosed) rs.Close();
        },
        ask);
    return result;
}

Variant DB_Dll::BuscaMaximo(const std::string& QueTabla, const std::string& QueCampo,
                            const Variant&, const Variant& Condicion) {
    std::string sql = "SELECT MAX(" + QueCampo + ") AS MAYOR FROM " + QueTabla;
    if (!Condicion.IsMissing()) sql += " WHERE " + text::Trim(Condicion.ToString());
    return Extreme(gCnn, Utils(), sql, "MAYOR");
}

Variant DB_Dll::BuscaMinimo(const std::string& QueTabla, const std::string& QueCampo,
                            const Variant&, const Variant& Condicion) {
    std::string sql = "SELECT MIN(" + QueCampo + ") AS MENOR FROM " + QueTabla;
    if (!Condicion.IsMissing()) sql += " WHERE " + text::Trim(Condicion.ToString());
    return Extreme(gCnn, Utils(), sql, "MENOR");
}

Variant DB_Dll::BuscaUltimoCodigo(const std::string& QueTabla, const std::string& QueCampo,
                                  const Variant&, const std::string& Condicion) {
    std::string sql = "SELECT MAX(" + QueCampo + ") AS MAYOR FROM " + QueTabla;
    if (!text::Trim(Condicion).empty()) sql += " WHERE " + Condicion;
    return Extreme(gCnn, Utils(), sql, "MAYOR");
}

}  // namespace db
