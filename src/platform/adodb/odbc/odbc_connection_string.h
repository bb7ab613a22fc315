#pragma once
// Turns the program's connection strings into ODBC connection strings.
//
// Driver names and fixed keys come from the environment, so a site can change them
// without rebuilding:
//   DEPURACIONES_SQLSERVER_DRIVER  driver for SQL Server (default "FreeTDS")
//   DEPURACIONES_SQLSERVER_EXTRA   keys added for SQL Server
//                                  (default "TDS_Version=7.4;ClientCharset=UTF-8")
//   DEPURACIONES_ORACLE_DSN        data-source name for Oracle; when set it is used with
//                                  DBQ=<Data Source>
//   DEPURACIONES_ORACLE_DRIVER     driver for Oracle when no DSN is set (default "Oracle")
#include <string>

namespace adodb::odbc {

enum class TargetKind { SqlServer, Oracle, Generic };

struct OdbcTarget {
    TargetKind kind = TargetKind::Generic;
    std::string connectionString;  // holds the password: never put it in a message
    std::string password;          // the password in effect, to keep it out of messages
};

// `user` and `password`, when not empty, take the place of those in the string.
//  - "Provider=SQLOLEDB;Server=h[,port|\instance];Database=d;UId=u;Pwd=p;..." becomes
//    "Driver=<driver>;Server=h;Port=<port or 1433>;Database=d;UID=u;PWD=p;<other keys>;
//    <extra keys>" (no Port when the server names an instance or a Port key is given);
//  - "Provider=OraOLEDB.Oracle.1;Data Source=s;User Id=u;Password=p;" becomes
//    "Driver=<driver>;DBQ=s;UID=u;PWD=p" or "DSN=<dsn>;DBQ=s;UID=u;PWD=p";
//  - "Provider=MSDASQL;<rest>" (or no provider) passes <rest> through unchanged.
OdbcTarget MapConnectionString(const std::string& connectionString, const std::string& user,
                               const std::string& password);

}  // namespace adodb::odbc
