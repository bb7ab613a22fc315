#include "demo/schema.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "demo/sqlite_handle.h"

namespace {

using demo::detail::DatabaseHandle;
using demo::detail::Prepare;
using demo::detail::StatementHandle;

std::string Upper(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return s;
}

DatabaseHandle SchemaInMemory() {
    DatabaseHandle db =
        demo::detail::OpenDatabase(":memory:", SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    demo::CreateSchema(db.get());
    return db;
}

struct ColumnInfo {
    std::string type;
    bool not_null = false;
    std::string default_value;
    int pk = 0;
};

// Upper-cased column name -> declared type and constraints.
std::map<std::string, ColumnInfo> Columns(sqlite3* db, const std::string& table) {
    StatementHandle stmt = Prepare(db, "PRAGMA table_info(\"" + table + "\")");
    std::map<std::string, ColumnInfo> columns;
    while (sqlite3_step(stmt.get()) == SQLITE_ROW) {
        const auto text = [&](int c) {
            const unsigned char* t = sqlite3_column_text(stmt.get(), c);
            return t != nullptr ? std::string(reinterpret_cast<const char*>(t)) : std::string();
        };
        columns[Upper(text(1))] = {Upper(text(2)), sqlite3_column_int(stmt.get(), 3) != 0, text(4),
                                   sqlite3_column_int(stmt.get(), 5)};
    }
    return columns;
}

// The columns the purge tool and the shared code read or write, with the type the suite's
// database gives them. A type ending in "(" is matched as a prefix (any length).
struct Expected {
    const char* table;
    std::vector<std::pair<const char*, const char*>> columns;
};

const std::vector<Expected>& ExpectedTables() {
    static const std::vector<Expected> tables = {
        {"MV_EJERCICIOS",
         {{"PERIODO", "INT"},
          {"Descripcion", "VARCHAR("},
          {"CIERRE", "INT"},
          {"CERRADO", "BIT"},
          {"FECHA DESDE", "DATETIME"},
          {"FECHA HASTA", "DATETIME"}}},
        {"MV_ASIENTOS",
         {{"Cuenta", "VARCHAR("},
          {"Secuencia", "INT"},
          {"Mes_operativo", "INT"},
          {"NUMERO ASIENTO", "INT"},
          {"PERIODO", "INT"},
          {"TIPO_REG", "VARCHAR("},
          {"FECHA", "DATETIME"},
          {"TC", "VARCHAR("},
          {"SUCURSAL", "VARCHAR("},
          {"NUMERO", "VARCHAR("},
          {"Letra", "VARCHAR("},
          {"Importe", "NUMERIC(18,4)"}}},
        {"MV_APLICACION",
         {{"ID", "INTEGER"},
          {"CUENTA", "VARCHAR("},
          {"TC", "VARCHAR("},
          {"SUCURSAL", "VARCHAR("},
          {"NUMERO", "VARCHAR("},
          {"Letra", "VARCHAR("},
          {"Importe", "NUMERIC(18,4)"}}},
        {"V_MV_CPTE",
         {{"ID", "INTEGER"},
          {"TC", "VARCHAR("},
          {"IDCOMPROBANTE", "VARCHAR("},
          {"FECHA", "DATETIME"},
          {"CUENTA", "VARCHAR("},
          {"Total", "NUMERIC(18,4)"}}},
        {"V_MV_CPTEINSUMOS",
         {{"ID", "INTEGER"}, {"TC", "VARCHAR("}, {"IDCOMPROBANTE", "VARCHAR("}}},
        {"V_MV_CPTE_OBSERV",
         {{"ID", "INTEGER"}, {"TC", "VARCHAR("}, {"IDCOMPROBANTE", "VARCHAR("}}},
        {"V_MV_CPTETAREAS", {{"ID", "INTEGER"}, {"TC", "VARCHAR("}, {"IDCOMPROBANTE", "VARCHAR("}}},
        {"V_MV_CPTEDOC", {{"ID", "INTEGER"}, {"TC", "VARCHAR("}, {"IDCOMPROBANTE", "VARCHAR("}}},
        {"C_MV_CPTE",
         {{"ID", "INTEGER"},
          {"TC", "VARCHAR("},
          {"CUENTA", "VARCHAR("},
          {"IDCOMPROBANTE", "VARCHAR("},
          {"FECHA", "DATETIME"}}},
        {"C_MV_CPTEINSUMOS",
         {{"ID", "INTEGER"},
          {"TC", "VARCHAR("},
          {"CUENTA", "VARCHAR("},
          {"IDCOMPROBANTE", "VARCHAR("}}},
        {"C_MV_CPTE_OBSERV",
         {{"ID", "INTEGER"},
          {"TC", "VARCHAR("},
          {"CUENTA", "VARCHAR("},
          {"IDCOMPROBANTE", "VARCHAR("}}},
        {"C_MV_CPTETAREAS",
         {{"ID", "INTEGER"},
          {"TC", "VARCHAR("},
          {"CUENTA", "VARCHAR("},
          {"IDCOMPROBANTE", "VARCHAR("}}},
        {"V_MV_STOCK",
         {{"ID", "INTEGER"},
          {"TC", "VARCHAR("},
          {"IDCOMPROBANTE", "VARCHAR("},
          {"SECUENCIA", "INT"},
          {"FECHA", "DATETIME"},
          {"IDARTICULO", "VARCHAR("},
          {"DESCRIPCION", "VARCHAR("},
          {"IDUNIDAD", "VARCHAR("},
          {"CANTIDAD", "NUMERIC(18,4)"},
          {"CantidadUD", "NUMERIC(18,4)"},
          {"IdDeposito", "VARCHAR("},
          {"IdPosicion", "VARCHAR("},
          {"NroSerie", "VARCHAR("},
          {"NroLote", "VARCHAR("},
          {"Anulado", "INT"},
          {"ControladoPor", "VARCHAR("}}},
        {"V_TA_CPTE", {{"Codigo", "VARCHAR("}, {"Descripcion", "VARCHAR("}}},
        {"TA_CONFIGURACION",
         {{"CLAVE", "VARCHAR("},
          {"VALOR", "VARCHAR("},
          {"valoraux", "VARCHAR("},
          {"Grupo", "VARCHAR("}}},
        {"ta_usuarios",
         {{"nombre", "VARCHAR("}, {"Administrador", "INT"}, {"UNegocio", "VARCHAR("}}},
        {"V_MV_FALTANTES",
         {{"ID", "INTEGER"},
          {"FechaHora", "DATETIME"},
          {"IdArticulo", "VARCHAR(25)"},
          {"Descripcion", "VARCHAR("},
          {"Usuario", "VARCHAR("}}},
        {"V_MA_ARTICULOS",
         {{"IDARTICULO", "VARCHAR("}, {"DESCRIPCION", "VARCHAR("}, {"SUSPENDIDO", "BIT"}}},
        {"MA_CUENTAS", {{"Codigo", "VARCHAR("}, {"Descripcion", "VARCHAR("}}},
        {"V_TA_DEPOSITO", {{"Codigo", "VARCHAR("}, {"Descripcion", "VARCHAR("}}},
        {"V_TA_FAMILIAS", {{"Codigo", "VARCHAR("}, {"Descripcion", "VARCHAR("}}},
        {"V_TA_CAJAS", {{"Codigo", "VARCHAR("}, {"Descripcion", "VARCHAR("}}},
        {"AC_CUENTASDIARIO", {{"Codigo", "VARCHAR("}, {"Descripcion", "VARCHAR("}}},
        {"AC_CUENTASDIARIO_CCOSTO", {{"Codigo", "VARCHAR("}, {"Descripcion", "VARCHAR("}}},
    };
    return tables;
}

TEST(Schema, HoldsEveryTableAndColumnWithTheSuitesTypes) {
    DatabaseHandle db = SchemaInMemory();
    for (const Expected& expected : ExpectedTables()) {
        SCOPED_TRACE(expected.table);
        const auto columns = Columns(db.get(), expected.table);
        ASSERT_FALSE(columns.empty()) << "missing table";
        for (const auto& [name, type] : expected.columns) {
            const auto found = columns.find(Upper(name));
            ASSERT_NE(found, columns.end()) << "missing column " << name;
            const std::string want = type;
            if (want.back() == '(') {
                EXPECT_EQ(found->second.type.rfind(want, 0), 0u)
                    << name << " is " << found->second.type;
            } else {
                EXPECT_EQ(found->second.type, want) << name;
            }
        }
    }
}

TEST(Schema, KeysAndDefaultsTheProgramReliesOn) {
    DatabaseHandle db = SchemaInMemory();
    // ID columns are rowid aliases: an insert without ID numbers the row.
    for (const char* table : {"MV_APLICACION", "V_MV_CPTE", "V_MV_CPTEDOC", "C_MV_CPTE",
                              "C_MV_CPTETAREAS", "V_MV_STOCK", "V_MV_FALTANTES"}) {
        EXPECT_EQ(Columns(db.get(), table).at("ID").pk, 1) << table;
    }
    const auto stock = Columns(db.get(), "V_MV_STOCK");
    EXPECT_TRUE(stock.at("ANULADO").not_null);
    EXPECT_EQ(stock.at("ANULADO").default_value, "0");

    const auto entries = Columns(db.get(), "MV_ASIENTOS");
    std::vector<std::string> key(6);
    for (const auto& [name, info] : entries) {
        if (info.pk > 0) key[static_cast<std::size_t>(info.pk - 1)] = name;
    }
    EXPECT_EQ(key, (std::vector<std::string>{"CUENTA", "SECUENCIA", "MES_OPERATIVO",
                                             "NUMERO ASIENTO", "PERIODO", "TIPO_REG"}));

    // Texts compare without letter case, as on the suite's server.
    demo::detail::Exec(db.get(),
                       "INSERT INTO V_TA_CPTE (Codigo, Descripcion) VALUES ('si', 'Saldo');"
                       "INSERT INTO V_MV_STOCK (TC, FECHA) VALUES ('SI', '2020-01-01 00:00:00');");
    EXPECT_EQ(
        demo::detail::QueryInt(db.get(), "SELECT COUNT(*) FROM V_TA_CPTE WHERE Codigo = 'SI'"), 1);
    EXPECT_EQ(demo::detail::QueryInt(db.get(), "SELECT Anulado FROM V_MV_STOCK"), 0);
}

// The purge deletes by date and joins on these columns; without the indexes a purge of a
// large database degrades to full scans.
TEST(Schema, IndexesOnDatesAndJoinColumns) {
    DatabaseHandle db = SchemaInMemory();
    const auto indexed = [&](const std::string& table, const std::vector<std::string>& wanted) {
        StatementHandle list = Prepare(db.get(), "PRAGMA index_list(\"" + table + "\")");
        while (sqlite3_step(list.get()) == SQLITE_ROW) {
            const std::string index =
                reinterpret_cast<const char*>(sqlite3_column_text(list.get(), 1));
            StatementHandle info = Prepare(db.get(), "PRAGMA index_info(\"" + index + "\")");
            std::vector<std::string> columns;
            while (sqlite3_step(info.get()) == SQLITE_ROW) {
                columns.push_back(
                    Upper(reinterpret_cast<const char*>(sqlite3_column_text(info.get(), 2))));
            }
            if (columns == wanted) return true;
        }
        return false;
    };
    const std::vector<std::string> voucher = {"CUENTA", "TC", "SUCURSAL", "NUMERO", "LETRA"};
    const std::vector<std::pair<std::string, std::vector<std::string>>> cases = {
        {"MV_ASIENTOS", {"FECHA"}},
        {"MV_ASIENTOS", voucher},
        {"MV_APLICACION", voucher},
        {"V_MV_CPTE", {"FECHA"}},
        {"V_MV_CPTE", {"TC", "IDCOMPROBANTE"}},
        {"V_MV_CPTEINSUMOS", {"TC", "IDCOMPROBANTE"}},
        {"V_MV_CPTE_OBSERV", {"TC", "IDCOMPROBANTE"}},
        {"V_MV_CPTETAREAS", {"TC", "IDCOMPROBANTE"}},
        {"V_MV_CPTEDOC", {"TC", "IDCOMPROBANTE"}},
        {"C_MV_CPTE", {"FECHA"}},
        {"C_MV_CPTE", {"TC", "CUENTA", "IDCOMPROBANTE"}},
        {"C_MV_CPTEINSUMOS", {"TC", "CUENTA", "IDCOMPROBANTE"}},
        {"C_MV_CPTE_OBSERV", {"TC", "CUENTA", "IDCOMPROBANTE"}},
        {"C_MV_CPTETAREAS", {"TC", "CUENTA", "IDCOMPROBANTE"}},
        {"V_MV_STOCK", {"FECHA"}},
        {"V_MV_STOCK", {"TC", "IDCOMPROBANTE"}},
    };
    for (const auto& [table, columns] : cases) {
        EXPECT_TRUE(indexed(table, columns))
            << table << " has no index on " << columns.front() << "...";
    }
}

TEST(Schema, TableNamesListsExactlyTheTablesCreated) {
    DatabaseHandle db = SchemaInMemory();
    StatementHandle stmt =
        Prepare(db.get(),
                "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite_%'");
    std::set<std::string> created;
    while (sqlite3_step(stmt.get()) == SQLITE_ROW) {
        created.insert(reinterpret_cast<const char*>(sqlite3_column_text(stmt.get(), 0)));
    }
    const auto& names = demo::TableNames();
    EXPECT_EQ(created, std::set<std::string>(names.begin(), names.end()));
}

}  // namespace
