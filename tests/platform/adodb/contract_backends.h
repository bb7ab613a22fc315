#pragma once
// The providers the Connection/Recordset contract suite runs on. Each backend turns a
// database file made by CreateContractDatabase into the connection string that opens it.
#include <functional>
#include <string>
#include <vector>

namespace adodbtest {

struct ContractBackend {
    std::string name;  // a test-name suffix: letters, digits and '_'
    std::function<std::string(const std::string& databaseFile)> connectionString;
};

// Every backend the contract suite runs on. Add new providers here.
std::vector<ContractBackend> ContractBackends();

// Creates `file` as a SQLite database holding:
//   ARTICULOS (CODIGO VARCHAR(10) primary key, DESCRIPCION VARCHAR(40), PRECIO DOUBLE,
//              STOCK INTEGER, ALTA DATETIME)
//     A1 'Tornillo' 1.5  10 2004-12-31
//     A2  NULL      2.25  0 2005-01-01 10:30:00
//     B1 'Ñandú'   10     5 NULL
//   NOTAS (TEXTO VARCHAR(20), N INTEGER), without a key: ('uno', 1), ('dos', 2)
void CreateContractDatabase(const std::string& file);

// Whether the SQLite ODBC driver is installed (the contract needs it to build the file).
bool SqliteOdbcDriverAvailable();

// "Provider=MSDASQL;Driver=SQLite3;Database=<file>;"
std::string SqliteOdbcConnectionString(const std::string& file);

}  // namespace adodbtest
