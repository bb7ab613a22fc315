#include "purge/fiscal_years.h"

#include <algorithm>

#include "platform/text/regional.h"
#include "platform/text/strings.h"

namespace purge {

std::vector<std::string> EjerciciosCerrados(db::DB_Dll& db) {
    clientlib::UtilityServices utils;
    adodb::Recordset rs;
    db.AbrirRecordset("SELECT * FROM MV_EJERCICIOS WHERE (CIERRE = 1) OR (CERRADO=1)", rs, &db.gCnn,
                      adodb::kOpenDynamic, adodb::kLockReadOnly, -1, true);
    std::vector<std::string> codes;
    if (!rs.BOF()) {
        for (; !rs.EOF(); rs.MoveNext()) {
            codes.push_back(utils.NullToEmpty(rs.Fields("Periodo")).ToString());
        }
    }
    db.CierraRecordset(rs);
    return codes;
}

bool Ejercicio::Closed() const {
    return cerrado.IsNull() || cerrado.ToBool();
}

std::string Ejercicio::Descripcion() const {
    const std::string fin = fechaHasta.IsNull() ? std::string() : FechaHastaText(fechaHasta);
    return descripcion + "  (Fecha Fin del Ejercicio: " + fin + ")";
}

std::optional<Ejercicio> BuscaEjercicio(db::DB_Dll& db, const std::string& codigo,
                                        adodb::Recordset& rs) {
    if (!db.ExisteEnTabla("MV_EJERCICIOS", text::Trim(codigo), "PERIODO", &rs,
                          adodb::Variant(std::int32_t{3}), "")) {
        return std::nullopt;
    }
    clientlib::UtilityServices utils;
    Ejercicio e;
    e.descripcion = utils.NullToEmpty(rs.Fields("Descripcion")).ToString();
    e.fechaHasta = rs.Fields("FECHA HASTA").Value();
    e.cerrado = rs.Fields("Cerrado").Value();
    return e;
}

bool IsWholeNumberCode(const std::string& codigo) {
    const std::string t = text::Trim(codigo);
    return !t.empty() && t.size() <= 9 &&
           std::all_of(t.begin(), t.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string FechaHastaText(const adodb::Variant& fechaHasta) {
    return text::FormatDefault(fechaHasta.ToDate());
}

std::string CutOffFromTyped(const std::string& typed) {
    const std::optional<text::DateTime> date = text::ParseDate(typed);
    return date ? text::FormatDefault(*date) : text::Trim(typed);
}

}  // namespace purge
