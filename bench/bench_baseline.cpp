#include "bench_baseline.h"

#include <chrono>
#include <stdexcept>

#include "platform/adodb/connection.h"
#include "purge/asientos_statements.h"
#include "purge/batched_tables.h"
#include "purge/stock_statements.h"

namespace bench {

namespace {

class Timed {
  public:
    explicit Timed(adodb::Connection& cnn) : cnn_(cnn) {}
    BaselineStatement Run(int step, const std::string& table, const std::string& sql) {
        const auto start = std::chrono::steady_clock::now();
        long rows = 0;
        cnn_.Execute(sql, &rows, -1);
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        return {step, table, rows, seconds};
    }

  private:
    adodb::Connection& cnn_;
};

// The opening balances in one statement. The line number of each balance is the lowest ID of
// its group (unique, though not 1, 2, 3 ... as the program numbers them): the dialect has no
// row numbering, and everything else in the row is the same.
std::string BalancesSql(const std::string& numero, const std::string& fechaLiteral) {
    return "INSERT INTO V_MV_STOCK (TC, IDCOMPROBANTE, SECUENCIA, FECHA, IDARTICULO, DESCRIPCION, "
           "IDUNIDAD, CANTIDAD, ControladoPor, CantidadUD, IdDeposito, IdPosicion, NroSerie, "
           "NroLote) SELECT 'SI', '" +
           numero + "', MIN(ID), " + fechaLiteral +
           ", IDArticulo, Descripcion, IDUnidad, SUM(Cantidad), 'Depuracion', SUM(CantidadUD), "
           "IdDeposito, IdPosicion, NroSerie, NroLote FROM V_MV_STOCK WHERE FECHA <= " +
           fechaLiteral +
           " AND Anulado = 0 GROUP BY IDArticulo, IDUnidad, IdDeposito, IdPosicion, NroSerie, "
           "NroLote, Descripcion";
}

}  // namespace

std::vector<BaselineStatement> RunBaseline(const std::string& dbPath, const std::string& fecha) {
    adodb::Connection cnn;
    cnn.Open("PROVIDER=SQLOLEDB;Server=x;Database =" + dbPath + ";UId=u;Pwd=;");
    Timed timed(cnn);
    const auto& tables = purge::BatchedTables();
    std::vector<BaselineStatement> out;
    out.push_back(timed.Run(1, tables[0].table, purge::FinalStatement(tables[0], fecha)));
    out.push_back(timed.Run(2, "MV_ASIENTOS", purge::asientos::FinalSql(fecha)));

    adodb::Recordset last = cnn.Execute(purge::stock::kUltimoSaldoSql);
    const auto numero = purge::stock::NextVoucherNumber(last.Fields(0).Value());
    if (!numero) throw std::runtime_error("numeración SI agotada");
    const std::string literal = "'" + fecha + "'";
    BaselineStatement balances = timed.Run(3, "V_MV_STOCK", BalancesSql(*numero, literal));
    // No stock::DeleteSql here: it formats through the database object; the text is the same.
    BaselineStatement deletion = timed.Run(
        3, "V_MV_STOCK",
        "Delete v_mv_stock where fecha <= " + literal +
            " AND (TC IS NULL OR IDCOMPROBANTE IS NULL OR TC <> 'SI' OR IDCOMPROBANTE <> '" +
            *numero + "')");
    deletion.rows += balances.rows;
    deletion.seconds += balances.seconds;
    out.push_back(deletion);

    for (std::size_t i = 1; i < tables.size(); ++i)
        out.push_back(
            timed.Run(tables[i].step, tables[i].table, purge::FinalStatement(tables[i], fecha)));
    timed.Run(0, "TA_CONFIGURACION",
              "INSERT INTO TA_CONFIGURACION (CLAVE, VALOR, Grupo) VALUES "
              "('FECHAULTIMADEPURACION', '" +
                  fecha + "', 'DATOS')");
    cnn.Close();
    return out;
}

}  // namespace bench
