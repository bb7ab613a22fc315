// Every statement form the program sends, run through a connection on the embedded engine,
// with the rows left (or returned) afterwards.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/adodb/connection.h"
#include "sqlite_fixture.h"
#include "support/temp_dir.h"

namespace {

using sqlitetest::Rows;

const char* const kSchema = R"sql(
CREATE TABLE MV_EJERCICIOS (PERIODO VARCHAR(4) COLLATE NOCASE PRIMARY KEY,
  Descripcion VARCHAR(50) COLLATE NOCASE, CIERRE INT, CERRADO BIT, "FECHA HASTA" DATETIME);
CREATE TABLE MV_ASIENTOS (Cuenta VARCHAR(20) COLLATE NOCASE NOT NULL, Secuencia INT NOT NULL,
  Mes_operativo INT NOT NULL, "NUMERO ASIENTO" INT NOT NULL, PERIODO INT NOT NULL,
  TIPO_REG VARCHAR(2) COLLATE NOCASE NOT NULL, FECHA DATETIME, TC VARCHAR(4) COLLATE NOCASE,
  SUCURSAL VARCHAR(4) COLLATE NOCASE, NUMERO VARCHAR(8) COLLATE NOCASE,
  Letra VARCHAR(1) COLLATE NOCASE,
  PRIMARY KEY (Cuenta, Secuencia, Mes_operativo, "NUMERO ASIENTO", PERIODO, TIPO_REG));
CREATE INDEX IX_MV_ASIENTOS_FECHA ON MV_ASIENTOS (FECHA);
CREATE TABLE MV_APLICACION (ID INTEGER PRIMARY KEY, CUENTA VARCHAR(20) COLLATE NOCASE,
  TC VARCHAR(4) COLLATE NOCASE, SUCURSAL VARCHAR(4) COLLATE NOCASE,
  NUMERO VARCHAR(8) COLLATE NOCASE, Letra VARCHAR(1) COLLATE NOCASE);
CREATE TABLE V_MV_CPTE (ID INTEGER PRIMARY KEY, TC VARCHAR(4) COLLATE NOCASE,
  IDCOMPROBANTE VARCHAR(13) COLLATE NOCASE, FECHA DATETIME);
CREATE TABLE V_MV_CPTEINSUMOS (ID INTEGER PRIMARY KEY, TC VARCHAR(4) COLLATE NOCASE,
  IDCOMPROBANTE VARCHAR(13) COLLATE NOCASE);
CREATE TABLE V_MV_CPTE_OBSERV (ID INTEGER PRIMARY KEY, TC VARCHAR(4) COLLATE NOCASE,
  IDCOMPROBANTE VARCHAR(13) COLLATE NOCASE);
CREATE TABLE V_MV_CPTETAREAS (ID INTEGER PRIMARY KEY, TC VARCHAR(4) COLLATE NOCASE,
  IDCOMPROBANTE VARCHAR(13) COLLATE NOCASE);
CREATE TABLE V_MV_CPTEDOC (ID INTEGER PRIMARY KEY, TC VARCHAR(4) COLLATE NOCASE,
  IDCOMPROBANTE VARCHAR(13) COLLATE NOCASE);
CREATE TABLE C_MV_CPTE (ID INTEGER PRIMARY KEY, TC VARCHAR(4) COLLATE NOCASE,
  CUENTA VARCHAR(20) COLLATE NOCASE, IDCOMPROBANTE VARCHAR(13) COLLATE NOCASE, FECHA DATETIME);
CREATE TABLE C_MV_CPTEINSUMOS (ID INTEGER PRIMARY KEY, TC VARCHAR(4) COLLATE NOCASE,
  CUENTA VARCHAR(20) COLLATE NOCASE, IDCOMPROBANTE VARCHAR(13) COLLATE NOCASE);
CREATE TABLE C_MV_CPTE_OBSERV (ID INTEGER PRIMARY KEY, TC VARCHAR(4) COLLATE NOCASE,
  CUENTA VARCHAR(20) COLLATE NOCASE, IDCOMPROBANTE VARCHAR(13) COLLATE NOCASE);
CREATE TABLE C_MV_CPTETAREAS (ID INTEGER PRIMARY KEY, TC VARCHAR(4) COLLATE NOCASE,
  CUENTA VARCHAR(20) COLLATE NOCASE, IDCOMPROBANTE VARCHAR(13) COLLATE NOCASE);
CREATE TABLE V_MV_STOCK (ID INTEGER PRIMARY KEY, TC VARCHAR(4) COLLATE NOCASE,
  IDCOMPROBANTE VARCHAR(13) COLLATE NOCASE, SECUENCIA INT, FECHA DATETIME,
  IDARTICULO VARCHAR(25) COLLATE NOCASE, DESCRIPCION VARCHAR(100) COLLATE NOCASE,
  IDUNIDAD VARCHAR(4) COLLATE NOCASE, CANTIDAD NUMERIC(18,4), CantidadUD NUMERIC(18,4),
  IdDeposito VARCHAR(4) COLLATE NOCASE, IdPosicion VARCHAR(10) COLLATE NOCASE,
  NroSerie VARCHAR(30) COLLATE NOCASE, NroLote VARCHAR(30) COLLATE NOCASE,
  Anulado INT NOT NULL DEFAULT 0, ControladoPor VARCHAR(30) COLLATE NOCASE);
CREATE TABLE V_TA_CPTE (Codigo VARCHAR(4) COLLATE NOCASE PRIMARY KEY,
  Descripcion VARCHAR(50) COLLATE NOCASE);
CREATE TABLE TA_CONFIGURACION (CLAVE VARCHAR(50) COLLATE NOCASE PRIMARY KEY,
  VALOR VARCHAR(255) COLLATE NOCASE, valoraux VARCHAR(255) COLLATE NOCASE,
  Grupo VARCHAR(50) COLLATE NOCASE);
CREATE TABLE ta_usuarios (nombre VARCHAR(30) COLLATE NOCASE PRIMARY KEY, Administrador INT);
CREATE TABLE V_MV_FALTANTES (ID INTEGER PRIMARY KEY, FechaHora DATETIME,
  IdArticulo VARCHAR(25) COLLATE NOCASE, Descripcion VARCHAR(100) COLLATE NOCASE,
  Usuario VARCHAR(30) COLLATE NOCASE);
CREATE TABLE V_MA_ARTICULOS (IDARTICULO VARCHAR(25) COLLATE NOCASE PRIMARY KEY,
  DESCRIPCION VARCHAR(100) COLLATE NOCASE);
CREATE TABLE VT_CLIENTES (CODIGO VARCHAR(10) COLLATE NOCASE PRIMARY KEY,
  RAZON_SOCIAL VARCHAR(60) COLLATE NOCASE, CONTACTO VARCHAR(40) COLLATE NOCASE,
  Dada_De_Baja BIT);
CREATE TABLE ARTICULOS (CODIGO VARCHAR(10) COLLATE NOCASE PRIMARY KEY);

INSERT INTO MV_EJERCICIOS VALUES ('2003', 'Ejercicio 2003', 1, 1, '2003-12-31 00:00:00'),
  ('2004', 'Ejercicio 2004', 0, 1, '2004-12-31 00:00:00'),
  ('2005', 'Ejercicio 2005', 0, 0, '2005-12-31 00:00:00');
INSERT INTO MV_ASIENTOS VALUES
  ('1.1', 1, 1, 1, 2004, 'A', '2004-03-01 00:00:00', 'FA', '0001', '00000001', 'A'),
  ('1.1', 1, 1, 2, 2005, 'A', '2005-03-01 00:00:00', 'FA', '0001', '00000002', 'A'),
  ('1.1', 1, 1, 3, 2004, 'A', '2004-12-31 00:00:00', 'FA', '0001', '00000003', 'A');
INSERT INTO MV_APLICACION VALUES (1, '1.1', 'FA', '0001', '00000001', 'A'),
  (2, '1.1', 'FA', '0001', '00000002', 'A'), (3, '1.1', 'FA', '0001', '00000003', 'a'),
  (4, '1.1', 'FA', '0001', '00000009', 'A'), (5, '1.1', 'NC', '0001', '00000001', 'A');
-- Headers: 1 and 3 on or before the cut-off, 2 after it, 4 later on the cut-off day.
INSERT INTO V_MV_CPTE VALUES (1, 'FA', '0001', '2004-05-01 00:00:00'),
  (2, 'FA', '0002', '2005-02-01 00:00:00'), (3, 'NC', '0001', '2004-12-31 00:00:00'),
  (4, 'FA', '0003', '2004-12-31 10:00:00');
INSERT INTO V_MV_CPTEINSUMOS VALUES (10, 'FA', '0001'), (11, 'fa', '0001'), (12, 'FA', '0002'),
  (13, 'NC', '0001'), (14, 'FA', '0003'), (15, 'FA', '9999');
INSERT INTO V_MV_CPTE_OBSERV SELECT * FROM V_MV_CPTEINSUMOS;
INSERT INTO V_MV_CPTETAREAS SELECT * FROM V_MV_CPTEINSUMOS;
INSERT INTO V_MV_CPTEDOC SELECT * FROM V_MV_CPTEINSUMOS;
INSERT INTO C_MV_CPTE VALUES (1, 'FA', 'P1', '0001', '2004-05-01 00:00:00'),
  (2, 'FA', 'P1', '0002', '2005-02-01 00:00:00'), (3, 'FA', 'P2', '0001', '2004-12-31 00:00:00'),
  (4, 'FA', 'P1', '0003', '2004-12-31 10:00:00');
INSERT INTO C_MV_CPTEINSUMOS VALUES (10, 'FA', 'P1', '0001'), (11, 'FA', 'P2', '0001'),
  (12, 'FA', 'P3', '0001'), (13, 'FA', 'P1', '0002'), (14, 'FA', 'P1', '0003'),
  (15, 'FA', 'p1', '0001');
INSERT INTO C_MV_CPTE_OBSERV SELECT * FROM C_MV_CPTEINSUMOS;
INSERT INTO C_MV_CPTETAREAS SELECT * FROM C_MV_CPTEINSUMOS;
INSERT INTO V_MV_STOCK (ID, TC, IDCOMPROBANTE, SECUENCIA, FECHA, IDARTICULO, DESCRIPCION,
  IDUNIDAD, CANTIDAD, CantidadUD, IdDeposito, IdPosicion, NroSerie, NroLote, Anulado) VALUES
  (1, 'FA', '0001', 1, '2004-03-01 00:00:00', 'A1', 'Tornillo', 'UN', 10, 10, 'D1', 'P1', '', '', 0),
  (2, 'FA', '0002', 1, '2004-07-01 00:00:00', 'A1', 'Tornillo', 'UN', -4, -4, 'D1', 'P1', '', '', 0),
  (3, 'FA', '0003', 1, '2004-08-01 00:00:00', 'A1', 'Tornillo', 'UN', 5, 5, 'D2', 'P1', '', '', 0),
  (4, 'FA', '0004', 1, '2004-09-01 00:00:00', 'A2', 'Tuerca', 'UN', 7, 7, 'D1', 'P1', '', '', 1),
  (5, 'FA', '0005', 1, '2005-01-10 00:00:00', 'A1', 'Tornillo', 'UN', 100, 100, 'D1', 'P1', '', '', 0),
  (6, 'SI', '000100000041X', 1, '2003-12-31 00:00:00', 'A2', 'Tuerca', 'UN', 3, 3, 'D1', 'P1', '', '', 0);
INSERT INTO V_TA_CPTE VALUES ('si', 'Saldo inicial');
INSERT INTO TA_CONFIGURACION VALUES ('fechaoperdesde', '01/01/2004', '', 'DATOS'),
  ('FechaOperHasta  ', '31/12/2005', 'aux', 'DATOS'), ('UsaConsultaLike', 'SI', '', NULL),
  ('[FECHA HASTA]', 'x', 'y', NULL);
INSERT INTO ta_usuarios VALUES ('Juan ', 1), ('ñandú', 0);
INSERT INTO V_MA_ARTICULOS VALUES ('A1', 'Tornillo fino'), ('A2', 'TORNILLO NIQUELADO'),
  ('A3', 'Tuerca'), ('A4', 'tornillo');
INSERT INTO VT_CLIENTES VALUES ('C1', 'Zapata', 'Ana', 0), ('C2', 'alvarez', 'Luis', 0),
  ('C3', 'Baja SA', 'x', 1);
INSERT INTO ARTICULOS VALUES ('A1');
)sql";

// The cut-off date text the purge run puts into its statements.
const std::string kCut = "31/12/2004";

// One instance of the twenty-batch deletion: statement = head + selection + middle + cut-off
// + tail; the final statement has the selection without "TOP 5 PERCENT".
struct BatchInstance {
    std::string table, head, selection, finalSelection, middle, tail;
};

const std::vector<BatchInstance>& BatchInstances() {
    static const std::vector<BatchInstance> instances = {
        {"MV_APLICACION", "DELETE MV_APLICACION FROM ",
         "(SELECT TOP 5 PERCENT MV_APLICACION.* FROM MV_APLICACION INNER JOIN MV_ASIENTOS ON "
         "MV_ASIENTOS.CUENTA = MV_APLICACION.CUENTA AND ",
         "(SELECT MV_APLICACION.* FROM MV_APLICACION INNER JOIN MV_ASIENTOS ON MV_ASIENTOS.CUENTA "
         "= MV_APLICACION.CUENTA AND ",
         "                    MV_ASIENTOS.TC = MV_APLICACION.TC AND "
         "                    MV_ASIENTOS.SUCURSAL = MV_APLICACION.SUCURSAL AND "
         "                    MV_ASIENTOS.NUMERO = MV_APLICACION.NUMERO AND "
         "                    MV_ASIENTOS.Letra = MV_APLICACION.Letra "
         "WHERE MV_ASIENTOS.FECHA <= '",
         "') AS T1 WHERE T1.ID = MV_APLICACION.ID "},
        {"V_MV_CPTEINSUMOS", "DELETE V_MV_CPTEINSUMOS FROM ",
         "(SELECT TOP 5 PERCENT V_MV_CPTEINSUMOS.* FROM V_MV_CPTEINSUMOS INNER JOIN V_MV_CPTE ",
         "(SELECT V_MV_CPTEINSUMOS.* FROM V_MV_CPTEINSUMOS INNER JOIN V_MV_CPTE ",
         "                ON V_MV_CPTEINSUMOS.TC = V_MV_CPTE.TC AND "
         "                   V_MV_CPTEINSUMOS.IDCOMPROBANTE = V_MV_CPTE.IDCOMPROBANTE "
         "WHERE V_MV_CPTE.FECHA <= '",
         "') AS T1 WHERE T1.ID = V_MV_CPTEINSUMOS.ID"},
        {"V_MV_CPTE_OBSERV", "DELETE V_MV_CPTE_OBSERV FROM ",
         "(SELECT TOP 5 PERCENT V_MV_CPTE_OBSERV.* FROM V_MV_CPTE_OBSERV INNER JOIN V_MV_CPTE ON ",
         "(SELECT V_MV_CPTE_OBSERV.* FROM V_MV_CPTE_OBSERV INNER JOIN V_MV_CPTE ON ",
         "              V_MV_CPTE_OBSERV.TC = V_MV_CPTE.TC AND "
         "              V_MV_CPTE_OBSERV.IDCOMPROBANTE = V_MV_CPTE.IDCOMPROBANTE "
         "WHERE V_MV_CPTE.FECHA <= '",
         "') AS T1 WHERE T1.ID = V_MV_CPTE_OBSERV.ID"},
        {"V_MV_CPTETAREAS", "DELETE V_MV_CPTETAREAS FROM ",
         "(SELECT TOP 5 PERCENT V_MV_CPTETAREAS.* FROM V_MV_CPTETAREAS INNER JOIN V_MV_CPTE ON ",
         "(SELECT V_MV_CPTETAREAS.* FROM V_MV_CPTETAREAS INNER JOIN V_MV_CPTE ON ",
         "              V_MV_CPTETAREAS.TC = V_MV_CPTE.TC AND "
         "              V_MV_CPTETAREAS.IDCOMPROBANTE = V_MV_CPTE.IDCOMPROBANTE "
         "WHERE V_MV_CPTE.FECHA <= '",
         "') AS T1 WHERE T1.ID = V_MV_CPTETAREAS.ID"},
        {"V_MV_CPTEDOC", "DELETE V_MV_CPTEDOC FROM ",
         "(SELECT TOP 5 PERCENT V_MV_CPTEDOC.* FROM V_MV_CPTEDOC INNER JOIN V_MV_CPTE ON ",
         "(SELECT V_MV_CPTEDOC.* FROM V_MV_CPTEDOC INNER JOIN V_MV_CPTE ON ",
         "              V_MV_CPTEDOC.TC = V_MV_CPTE.TC AND "
         "              V_MV_CPTEDOC.IDCOMPROBANTE = V_MV_CPTE.IDCOMPROBANTE "
         "WHERE V_MV_CPTE.FECHA <= '",
         "') AS T1 WHERE T1.ID = V_MV_CPTEDOC.ID"},
        {"V_MV_CPTE", "DELETE V_MV_CPTE FROM ",
         "(SELECT TOP 5 PERCENT V_MV_CPTE.* FROM V_MV_CPTE WHERE FECHA <= '",
         "(SELECT V_MV_CPTE.* FROM V_MV_CPTE WHERE FECHA <= '", "",
         "') AS T1 WHERE T1.ID = V_MV_CPTE.ID"},
        {"C_MV_CPTEINSUMOS", "DELETE C_MV_CPTEINSUMOS FROM ",
         "(SELECT TOP 5 PERCENT C_MV_CPTEINSUMOS.* FROM C_MV_CPTEINSUMOS INNER JOIN C_MV_CPTE ON ",
         "(SELECT C_MV_CPTEINSUMOS.* FROM C_MV_CPTEINSUMOS INNER JOIN C_MV_CPTE ON ",
         "              C_MV_CPTEINSUMOS.TC = C_MV_CPTE.TC AND "
         "              C_MV_CPTEINSUMOS.CUENTA = C_MV_CPTE.CUENTA AND "
         "              C_MV_CPTEINSUMOS.IDCOMPROBANTE = C_MV_CPTE.IDCOMPROBANTE "
         "WHERE C_MV_CPTE.FECHA <= '",
         "') AS T1 WHERE T1.ID = C_MV_CPTEINSUMOS.ID"},
        {"C_MV_CPTE_OBSERV", "DELETE C_MV_CPTE_OBSERV FROM ",
         "(SELECT TOP 5 PERCENT C_MV_CPTE_OBSERV.* FROM C_MV_CPTE_OBSERV INNER JOIN C_MV_CPTE ON ",
         "(SELECT C_MV_CPTE_OBSERV.* FROM C_MV_CPTE_OBSERV INNER JOIN C_MV_CPTE ON ",
         "              C_MV_CPTE_OBSERV.TC = C_MV_CPTE.TC AND "
         "              C_MV_CPTE_OBSERV.CUENTA = C_MV_CPTE.CUENTA AND "
         "              C_MV_CPTE_OBSERV.IDCOMPROBANTE = C_MV_CPTE.IDCOMPROBANTE "
         "WHERE C_MV_CPTE.FECHA <= '",
         "') AS T1 WHERE T1.ID = C_MV_CPTE_OBSERV.ID"},
        {"C_MV_CPTETAREAS", "DELETE C_MV_CPTETAREAS FROM ",
         "(SELECT TOP 5 PERCENT C_MV_CPTETAREAS.* FROM C_MV_CPTETAREAS INNER JOIN C_MV_CPTE ON ",
         "(SELECT C_MV_CPTETAREAS.* FROM C_MV_CPTETAREAS INNER JOIN C_MV_CPTE ON ",
         "              C_MV_CPTETAREAS.TC = C_MV_CPTE.TC AND "
         "              C_MV_CPTETAREAS.CUENTA = C_MV_CPTE.CUENTA AND "
         "              C_MV_CPTETAREAS.IDCOMPROBANTE = C_MV_CPTE.IDCOMPROBANTE "
         "WHERE C_MV_CPTE.FECHA <='",
         "') AS T1 WHERE T1.ID = C_MV_CPTETAREAS.ID"},
        {"C_MV_CPTE", "DELETE C_MV_CPTE FROM ",
         "(SELECT TOP 5 PERCENT C_MV_CPTE.* FROM C_MV_CPTE WHERE FECHA <= '",
         "(SELECT C_MV_CPTE.* FROM C_MV_CPTE WHERE FECHA <= '", "",
         "') AS T1 WHERE T1.ID = C_MV_CPTE.ID"},
    };
    return instances;
}

// The step's statements: one transaction, twenty batches, the final statement.
std::vector<std::string> BatchStep(const BatchInstance& b, const std::string& cut) {
    std::vector<std::string> s = {"BEGIN TRANSACTION"};
    for (int i = 0; i < 20; ++i) s.push_back(b.head + b.selection + b.middle + cut + b.tail);
    s.push_back(b.head + b.finalSelection + b.middle + cut + b.tail);
    s.push_back("COMMIT TRANSACTION");
    return s;
}

// The accounting-entries step with batch size n.
std::vector<std::string> EntriesStep(int n, const std::string& cut) {
    std::vector<std::string> s = {"BEGIN TRANSACTION"};
    for (int i = 0; i < 10; ++i) {
        s.push_back("DELETE mv_asientos from (select TOP " + std::to_string(n) +
                    " * from MV_ASIENTOS WHERE FECHA <= '" + cut +
                    "') as mv_T1 where mv_asientos.Cuenta = mv_t1.cuenta and mv_asientos.Secuencia "
                    "= mv_t1.Secuencia and mv_asientos.Mes_operativo = mv_t1.mes_operativo and "
                    "mv_asientos.[NUMERO ASIENTO]= MV_T1.[NUMERO ASIENTO] AND MV_ASIENTOS.PERIODO "
                    "= MV_T1.PERIODO AND MV_ASIENTOS.TIPO_REG = MV_T1.TIPO_REG ");
    }
    s.push_back("DELETE MV_ASIENTOS WHERE FECHA <= '" + cut + "'");
    s.push_back("COMMIT TRANSACTION");
    return s;
}

struct DialectCase {
    std::string name;
    std::string setup;                    // extra rows, in the engine's own SQL
    std::vector<std::string> statements;  // sent in order; none may fail
    std::string check;                    // query whose rows are expected
    std::vector<std::string> expected;
    bool anyOrder = false;
};

std::vector<DialectCase> Cases() {
    std::vector<DialectCase> cases;
    // Rows left by each batched step: those whose date (or their header's) is after the
    // cut-off, those on the cut-off day but later than midnight, and those without header.
    const std::vector<std::pair<std::string, std::vector<std::string>>> left = {
        {"MV_APLICACION", {"2", "4", "5"}},       {"V_MV_CPTEINSUMOS", {"12", "14", "15"}},
        {"V_MV_CPTE_OBSERV", {"12", "14", "15"}}, {"V_MV_CPTETAREAS", {"12", "14", "15"}},
        {"V_MV_CPTEDOC", {"12", "14", "15"}},     {"V_MV_CPTE", {"2", "4"}},
        {"C_MV_CPTEINSUMOS", {"12", "13", "14"}}, {"C_MV_CPTE_OBSERV", {"12", "13", "14"}},
        {"C_MV_CPTETAREAS", {"12", "13", "14"}},  {"C_MV_CPTE", {"2", "4"}}};
    for (std::size_t i = 0; i < BatchInstances().size(); ++i) {
        const BatchInstance& b = BatchInstances()[i];
        cases.push_back({"batched " + b.table, "", BatchStep(b, kCut),
                         "SELECT ID FROM " + b.table + " ORDER BY ID", left[i].second});
    }
    const std::string moreEntries =
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 23) "
        "INSERT INTO MV_ASIENTOS SELECT '2.1', i, 6, i, 2004, 'B', '2004-06-01 00:00:00', 'FA', "
        "'0002', i, 'A' FROM n;";
    cases.push_back(
        {"entries count",
         moreEntries,
         {},
         "select count(fecha) as registros from mv_asientos where FECHA <= '" + kCut + "'",
         {"25"}});
    cases.push_back({"entries in batches of 2",
                     moreEntries,
                     EntriesStep(2, kCut),
                     "SELECT Cuenta, [NUMERO ASIENTO] FROM MV_ASIENTOS",
                     {"1.1|2"}});
    cases.push_back({"entries with TOP 0",
                     "",
                     EntriesStep(0, kCut),
                     "SELECT Cuenta, [NUMERO ASIENTO] FROM MV_ASIENTOS",
                     {"1.1|2"}});
    cases.push_back({"fiscal year by converted code",
                     "",
                     {},
                     "SELECT * FROM MV_EJERCICIOS WHERE CONVERT(INT,PERIODO) = 2004",
                     {"2004|Ejercicio 2004|0|true|2004-12-31 00:00:00"}});
    cases.push_back({"closed fiscal years",
                     "",
                     {},
                     "SELECT * FROM MV_EJERCICIOS WHERE (CIERRE = 1) OR (CERRADO=1)",
                     {"2003|Ejercicio 2003|1|true|2003-12-31 00:00:00",
                      "2004|Ejercicio 2004|0|true|2004-12-31 00:00:00"},
                     true});
    cases.push_back({"stock movements deleted up to the cut-off",
                     "",
                     {"Delete v_mv_stock where fecha <= '" + kCut + "'"},
                     "SELECT ID FROM V_MV_STOCK",
                     {"5"}});
    cases.push_back(
        {"opening balances",
         "",
         {},
         "SELECT IDArticulo, SUM(Cantidad) AS SALDOCANTIDAD, SUM(CantidadUD) AS "
         "SALDOCANTIDADUD, IDUnidad, IdDeposito , IdPosicion, NroSerie, NroLote,Descripcion "
         "From V_MV_Stock  WHERE (FECHA <= '" +
             kCut +
             "') AND (Anulado = 0) GROUP BY "
             "IDArticulo, IDUnidad, IdDeposito, IdPosicion, NroSerie, NroLote,Descripcion ",
         {"A1|6|6|UN|D1|P1|||Tornillo", "A1|5|5|UN|D2|P1|||Tornillo", "A2|3|3|UN|D1|P1|||Tuerca"},
         true});
    cases.push_back(
        {"opening balance insert",
         "",
         {"INSERT INTO V_MV_STOCK ( TC, IDCOMPROBANTE, SECUENCIA, FECHA, IDARTICULO, "
          "DESCRIPCION, IDUNIDAD, CANTIDAD,ControladoPor)VALUES ('SI','000100000042X',1,'" +
          kCut + "','A1',NULL,'UN',6.5,'Depuracion')"},
         "SELECT TC, SECUENCIA, FECHA, DESCRIPCION, CANTIDAD, ControladoPor FROM "
         "V_MV_STOCK WHERE IDCOMPROBANTE = '000100000042X'",
         {"SI|1|2004-12-31 00:00:00|NULL|6.5|Depuracion"}});
    cases.push_back({"highest opening balance number",
                     "",
                     {},
                     "SELECT MAX(IDCOMPROBANTE) AS IDCOMPROBANTE FROM V_MV_STOCK WHERE TC = 'SI'",
                     {"000100000041X"}});
    cases.push_back(
        {"largest and smallest", "", {}, "SELECT MAX(ID) AS MAYOR FROM V_MV_CPTE", {"4"}});
    cases.push_back({"smallest with a condition",
                     "",
                     {},
                     "SELECT MIN(ID) AS MENOR FROM V_MV_CPTE WHERE TC = 'nc'",
                     {"3"}});
    cases.push_back({"largest of an empty table",
                     "",
                     {},
                     "SELECT MAX(ID) AS MAYOR FROM V_MV_FALTANTES",
                     {"NULL"}});
    cases.push_back({"configuration value",
                     "",
                     {},
                     "SELECT valor FROM TA_CONFIGURACION WHERE CLAVE = 'fechaoperdesde'",
                     {"01/01/2004"}});
    cases.push_back({"configuration row by trimmed key",
                     "",
                     {},
                     "SELECT * FROM TA_CONFIGURACION WHERE RTRIM(LTRIM(CLAVE)) = 'fechaoperhasta'",
                     {"FechaOperHasta  |31/12/2005|aux|DATOS"}});
    cases.push_back({"configuration key without row",
                     "",
                     {},
                     "SELECT * FROM TA_CONFIGURACION WHERE RTRIM(LTRIM(CLAVE)) = "
                     "'FECHAULTIMADEPURACION'",
                     {}});
    cases.push_back({"configuration reader",
                     "",
                     {},
                     "SELECT VALOR, valoraux FROM TA_CONFIGURACION WHERE CLAVE = 'UsaConsultaLike'",
                     {"SI|"}});
    cases.push_back({"configuration reader upper-cased",
                     "",
                     {},
                     "SELECT VALOR, VALORAUX FROM TA_CONFIGURACION WHERE CLAVE = '[FECHA HASTA]'",
                     {"x|y"}});
    cases.push_back({"upper-cased existence query",
                     "",
                     {},
                     "SELECT TOP 1  * FROM V_TA_CPTE WHERE LTRIM(RTRIM(CODIGO)) ='SI'",
                     {"si|Saldo inicial"}});
    cases.push_back({"user lookup",
                     "",
                     {},
                     "SELECT TOP 1 * FROM ta_usuarios WHERE LTRIM(RTRIM(nombre)) ='juan' ",
                     {"Juan |1"}});
    cases.push_back({"upper-cased accented lookup",
                     "",
                     {},
                     "SELECT TOP 1  * FROM TA_USUARIOS WHERE LTRIM(RTRIM(NOMBRE)) ='ÑANDÚ'",
                     {"ñandú|0"}});
    cases.push_back({"column added with a default",
                     "",
                     {"ALTER TABLE dbo.ARTICULOS ADD PESO float Not Null  CONSTRAINT "
                      "DF_ARTICULOS_PESO DEFAULT (0)",
                      "ALTER TABLE dbo.ARTICULOS ADD NOTA varchar(20) Null ",
                      "ALTER TABLE dbo.ARTICULOS ADD BAJA int Null  CONSTRAINT DF_ARTICULOS_BAJA "
                      "DEFAULT (1)",
                      "INSERT INTO ARTICULOS (CODIGO)VALUES ('A2')"},
                     "SELECT CODIGO, PESO, NOTA, BAJA FROM ARTICULOS ORDER BY CODIGO",
                     {"A1|0|NULL|NULL", "A2|0|NULL|1"}});
    cases.push_back({"lookup list",
                     "",
                     {},
                     "SELECT TOP 1000 RAZON_SOCIAL,CODIGO,CONTACTO FROM VT_CLIENTES WHERE "
                     "Dada_De_Baja = 0 ORDER BY RAZON_SOCIAL",
                     {"alvarez|C2|Luis", "Zapata|C1|Ana"}});
    cases.push_back(
        {"lookup fields", "", {}, "select top 1 * from VT_CLIENTES", {"C1|Zapata|Ana|false"}});
    cases.push_back({"lookup filter",
                     "",
                     {},
                     "select IdArticulo, Descripcion from V_MA_ARTICULOS  where Descripcion like "
                     "'tor%ni%' order by Descripcion ",
                     {"A4|tornillo", "A1|Tornillo fino", "A2|TORNILLO NIQUELADO"}});
    cases.push_back(
        {"stock shortage report",
         "",
         {"INSERT INTO V_MV_FALTANTES (FechaHora,IdArticulo,Descripcion,Usuario) "
          "values('31/12/2004 10:20:30','                       A1','Tornillo','juan')"},
         "SELECT FechaHora, IdArticulo, Usuario FROM V_MV_FALTANTES",
         {"2004-12-31 10:20:30|                       A1|juan"}});
    return cases;
}

TEST(DialectStatements, EveryStatementFormLeavesTheExpectedRows) {
    for (const DialectCase& c : Cases()) {
        SCOPED_TRACE(c.name);
        testsupport::TempDir dir;
        const std::string file = dir.File("suite.db");
        sqlitetest::CreateDatabase(file, std::string(kSchema) + c.setup);
        adodb::Connection conn;
        conn.Open(sqlitetest::ConnectionStringFor(file));
        for (const std::string& sql : c.statements) {
            SCOPED_TRACE(sql);
            try {
                conn.Execute(sql);
            } catch (const adodb::ComError& e) {
                ADD_FAILURE() << e.Description();
            }
            EXPECT_EQ(conn.Errors().Count(), 0);
        }
        std::vector<std::string> rows;
        try {
            rows = Rows(conn, c.check);
        } catch (const adodb::ComError& e) {
            ADD_FAILURE() << c.check << ": " << e.Description();
        }
        std::vector<std::string> expected = c.expected;
        if (c.anyOrder) {
            std::sort(rows.begin(), rows.end());
            std::sort(expected.begin(), expected.end());
        }
        EXPECT_EQ(rows, expected);
    }
}

}  // namespace
