#include "contract_backends.h"

#include "platform/adodb/connection.h"

namespace adodbtest {

std::vector<ContractBackend> ContractBackends() {
    return {
        {"odbc_sqlite3_driver", SqliteOdbcConnectionString},
        {"embedded_sqlite",
         [](const std::string& file) {
             return "Provider=SQLOLEDB;Server=.;Database=" + file + ";UId=sa;Pwd=;";
         }},
    };
}

std::string SqliteOdbcConnectionString(const std::string& file) {
    return "Provider=MSDASQL;Driver=SQLite3;Database=" + file + ";";
}

bool SqliteOdbcDriverAvailable() {
    static const bool available = [] {
        try {
            adodb::Connection c;
            c.Open(SqliteOdbcConnectionString(":memory:"));
            c.Close();
            return true;
        } catch (const adodb::ComError&) {
            return false;
        }
    }();
    return available;
}

void CreateContractDatabase(const std::string& file) {
    adodb::Connection c;
    c.Open(SqliteOdbcConnectionString(file));
    const char* statements[] = {
        "CREATE TABLE ARTICULOS (CODIGO VARCHAR(10) NOT NULL PRIMARY KEY, "
        "DESCRIPCION VARCHAR(40), PRECIO DOUBLE, STOCK INTEGER, ALTA DATETIME)",
        "INSERT INTO ARTICULOS VALUES ('A1', 'Tornillo', 1.5, 10, '2004-12-31 00:00:00')",
        "INSERT INTO ARTICULOS VALUES ('A2', NULL, 2.25, 0, '2005-01-01 10:30:00')",
        "INSERT INTO ARTICULOS VALUES ('B1', 'Ñandú', 10, 5, NULL)",
        "CREATE TABLE NOTAS (TEXTO VARCHAR(20), N INTEGER)",
        "INSERT INTO NOTAS VALUES ('uno', 1)",
        "INSERT INTO NOTAS VALUES ('dos', 2)",
    };
    for (const char* sql : statements) c.Execute(sql);
    c.Close();
}

}  // namespace adodbtest
