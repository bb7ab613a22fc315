#include "purge/stock_statements.h"

#include "platform/text/regional.h"
#include "platform/text/strings.h"

namespace purge::stock {

namespace {

constexpr int kSequenceDigits = 8;

std::string Literal(db::DB_Dll& db, const adodb::Variant& value, const char* tipo = "'") {
    return db.SQLValue(value, tipo).ToString();
}

// Quantities without quotes, point as decimal separator; a Null sum stays NULL.
std::string Number(db::DB_Dll& db, const adodb::Variant& value) {
    if (value.IsNull()) return "NULL";
    return Literal(db, value, "@");
}

}  // namespace

std::optional<std::string> NextVoucherNumber(const adodb::Variant& ultimo) {
    if (ultimo.IsNull() || ultimo.IsEmpty()) return std::string(kPrimerNumero);
    const std::string x = ultimo.ToString();
    const double siguiente = text::LeadingNumber(text::Mid(x, 5, kSequenceDigits)) + 1;
    const std::string secuencia = text::FormatNumber(siguiente, "00000000");
    // A ninth digit (or a sign) would shift the suffix and break the ordering by which the
    // next execution finds the highest number.
    if (secuencia.size() != kSequenceDigits) return std::nullopt;
    return text::Mid(x, 1, 4) + secuencia + text::Mid(x, 13, 1);
}

std::string SaldosSql(const std::string& fechaLiteral, bool holdLocks) {
    return std::string(
               "SELECT IDArticulo, SUM(Cantidad) AS SALDOCANTIDAD, "
               "SUM(CantidadUD) AS SALDOCANTIDADUD, IDUnidad, "
               "IdDeposito , IdPosicion, NroSerie, NroLote,Descripcion "
               "From V_MV_Stock  ") +
           (holdLocks ? "WITH (UPDLOCK, HOLDLOCK) " : "") + "WHERE (FECHA <= " + fechaLiteral +
           ") AND (Anulado = 0) "
           "GROUP BY IDArticulo, IDUnidad, IdDeposito, IdPosicion, NroSerie, "
           "NroLote,Descripcion ";
}

Saldo ReadSaldo(const adodb::Recordset& rs) {
    Saldo s;
    s.idArticulo = rs.Fields("IdArticulo").Value();
    s.descripcion = rs.Fields("Descripcion").Value();
    s.idUnidad = rs.Fields("IdUnidad").Value();
    s.cantidad = rs.Fields("SALDOCANTIDAD").Value();
    s.cantidadUD = rs.Fields("SALDOCANTIDADUD").Value();
    s.idDeposito = rs.Fields("IdDeposito").Value();
    s.idPosicion = rs.Fields("IdPosicion").Value();
    s.nroSerie = rs.Fields("NroSerie").Value();
    s.nroLote = rs.Fields("NroLote").Value();
    return s;
}

std::string PendientesSql(const std::string& fechaLiteral) {
    return "SELECT COUNT(*) AS Movimientos From V_MV_Stock WHERE (FECHA <= " + fechaLiteral +
           ") AND (TC IS NULL OR TC <> 'SI' OR FECHA < " + fechaLiteral + ")";
}

std::string InsertSql(db::DB_Dll& db, const std::string& numero, long secuencia,
                      const std::string& fechaLiteral, const Saldo& saldo) {
    return "INSERT INTO V_MV_STOCK ( "
           "TC, IDCOMPROBANTE, SECUENCIA, FECHA, IDARTICULO, DESCRIPCION, IDUNIDAD, "
           "CANTIDAD,ControladoPor, CantidadUD, IdDeposito, IdPosicion, NroSerie, NroLote"
           ")"
           "VALUES (" +
           Literal(db, "SI") + "," + Literal(db, numero) + "," + std::to_string(secuencia) + "," +
           fechaLiteral + "," + Literal(db, saldo.idArticulo) + "," +
           Literal(db, saldo.descripcion) + "," + Literal(db, saldo.idUnidad) + "," +
           Number(db, saldo.cantidad) + "," + "'Depuracion'" + "," + Number(db, saldo.cantidadUD) +
           "," + Literal(db, saldo.idDeposito) + "," + Literal(db, saldo.idPosicion) + "," +
           Literal(db, saldo.nroSerie) + "," + Literal(db, saldo.nroLote) + ")";
}

std::string DeleteSql(db::DB_Dll& db, const std::string& fechaLiteral, const std::string& numero) {
    // Written so that a movement with a Null TC or voucher number is still deleted (a plain
    // NOT (TC = 'SI' AND ...) would be unknown, not true, for it).
    return "Delete v_mv_stock where fecha <= " + fechaLiteral +
           " AND (TC IS NULL OR IDCOMPROBANTE IS NULL OR TC <> 'SI' OR IDCOMPROBANTE <> " +
           Literal(db, numero) + ")";
}

}  // namespace purge::stock
