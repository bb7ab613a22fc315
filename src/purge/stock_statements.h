#pragma once
// Statements and voucher numbering of the stock step (depura_stock.cpp).
#include <optional>
#include <string>

#include "db/db_dll.h"
#include "platform/adodb/variant.h"

namespace purge::stock {

inline constexpr const char* kUltimoSaldoSql =
    "SELECT MAX(IDCOMPROBANTE) AS IDCOMPROBANTE FROM V_MV_STOCK WHERE TC = 'SI'";

// The number of the first opening-balance voucher of all.
inline constexpr const char* kPrimerNumero = "000100000001X";

// The next opening-balance voucher number after `ultimo` (the highest existing one; Null or
// Empty when there is none): prefix (characters 1-4) and suffix (character 13) copied, the
// sequence (characters 5-12, read leniently) plus one in eight digits. nullopt when the
// sequence would need more than eight digits.
std::optional<std::string> NextVoucherNumber(const adodb::Variant& ultimo);

// Balances per article, unit, deposit, position, serial number, lot and description of the
// non-voided movements up to `fechaLiteral` (a quoted date literal). With `holdLocks` (SQL
// Server), the rows read and the range up to the cut-off stay locked against other writers
// until the step's transaction ends (update locks held as in serializable isolation).
std::string SaldosSql(const std::string& fechaLiteral, bool holdLocks);

// The number of movements up to the cut-off that the step would replace: every one except
// the opening balances already dated on the cut-off (column "Movimientos").
std::string PendientesSql(const std::string& fechaLiteral);

// One group of the balance query, as read from its row.
struct Saldo {
    adodb::Variant idArticulo, descripcion, idUnidad, cantidad, cantidadUD;
    adodb::Variant idDeposito, idPosicion, nroSerie, nroLote;
};

// The group on the current row of the balance query.
Saldo ReadSaldo(const adodb::Recordset& rs);

// The opening-balance row of one group: voucher "SI" `numero`, line `secuencia`, dated at the
// cut-off, carrying the group's deposit, position, serial number, lot and both quantities.
std::string InsertSql(db::DB_Dll& db, const std::string& numero, long secuencia,
                      const std::string& fechaLiteral, const Saldo& saldo);

// Deletes the movements up to the cut-off, except the opening balances of voucher `numero`
// just written.
std::string DeleteSql(db::DB_Dll& db, const std::string& fechaLiteral, const std::string& numero);

}  // namespace purge::stock
