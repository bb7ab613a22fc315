// How the program's connection strings reach ODBC, and the pieces of the ODBC provider
// that do not need a driver.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "platform/adodb/connection_string.h"
#include "platform/adodb/odbc/odbc_call.h"
#include "platform/adodb/odbc/odbc_connection_string.h"
#include "platform/adodb/odbc/single_table.h"

namespace {

using adodb::odbc::MapConnectionString;
using adodb::odbc::TargetKind;

// Sets an environment variable for one test and puts the old value back.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value != nullptr) {
            setenv(name, value, 1);
        } else {
            unsetenv(name);
        }
    }
    ~ScopedEnv() {
        if (old_) {
            setenv(name_, old_->c_str(), 1);
        } else {
            unsetenv(name_);
        }
    }

  private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(ConnectionStringParse, ReadsKeysWithoutCaseAndBlanks) {
    const auto cs = adodb::ConnectionString::Parse(
        "PROVIDER=SQLOLEDB;Server=srv;Database =GESTION; UId = sa ;Pwd={a;b}};c};;");
    EXPECT_EQ(cs.Get({"provider"}), "SQLOLEDB");
    EXPECT_EQ(cs.Get({"DATABASE"}), "GESTION");
    EXPECT_EQ(cs.Get({"uid"}), "sa");
    EXPECT_EQ(cs.Get({"PWD"}), "a;b};c");  // "}}" inside braces is one brace
    EXPECT_FALSE(cs.Get({"Port"}).has_value());
}

TEST(OdbcMapping, SqlServerGoesToTheConfiguredDriver) {
    ScopedEnv driver("DEPURACIONES_SQLSERVER_DRIVER", nullptr);
    ScopedEnv extra("DEPURACIONES_SQLSERVER_EXTRA", nullptr);
    struct Case {
        std::string in;
        std::string out;
    };
    const std::vector<Case> cases = {
        {"PROVIDER=SQLOLEDB;Server=srv;Database =GESTION;UId=sa;Pwd=secreto;",
         "Driver=FreeTDS;Server=srv;Port=1433;Database=GESTION;UID=sa;PWD=secreto;"
         "TDS_Version=7.4;ClientCharset=UTF-8;"},
        // a port in the server, an instance, a port in the extra text, an extra key
        {"PROVIDER=SQLOLEDB;Server=srv,1500;Database =G;UId=u;Pwd=p;",
         "Driver=FreeTDS;Server=srv;Port=1500;Database=G;UID=u;PWD=p;"
         "TDS_Version=7.4;ClientCharset=UTF-8;"},
        {"PROVIDER=SQLOLEDB;Server=srv\\SQLEXPRESS;Database =G;UId=u;Pwd=p;",
         "Driver=FreeTDS;Server=srv\\SQLEXPRESS;Database=G;UID=u;PWD=p;"
         "TDS_Version=7.4;ClientCharset=UTF-8;"},
        {"PROVIDER=SQLOLEDB;Server=.;Database =G;UId=u;Pwd=p;Port=2000;TDS_Version=7.2",
         "Driver=FreeTDS;Server=localhost;Database=G;UID=u;PWD=p;Port=2000;TDS_Version=7.2;"
         "ClientCharset=UTF-8;"},
        {"PROVIDER=SQLOLEDB;Server=srv;Database =G;UId=u;Pwd=p;App=Depuraciones",
         "Driver=FreeTDS;Server=srv;Port=1433;Database=G;UID=u;PWD=p;App=Depuraciones;"
         "TDS_Version=7.4;ClientCharset=UTF-8;"},
        {"PROVIDER=SQLOLEDB;Server=srv;Database =G;UId=u;Pwd={p;q};",
         "Driver=FreeTDS;Server=srv;Port=1433;Database=G;UID=u;PWD={p;q};"
         "TDS_Version=7.4;ClientCharset=UTF-8;"},
    };
    for (const auto& c : cases) {
        const auto t = MapConnectionString(c.in, "", "");
        EXPECT_EQ(t.kind, TargetKind::SqlServer);
        EXPECT_EQ(t.connectionString, c.out) << c.in;
    }
    EXPECT_EQ(MapConnectionString(cases[0].in, "", "").password, "secreto");
}

TEST(OdbcMapping, DriverAndKeysComeFromTheEnvironment) {
    ScopedEnv driver("DEPURACIONES_SQLSERVER_DRIVER", "ODBC Driver 18 for SQL Server");
    ScopedEnv extra("DEPURACIONES_SQLSERVER_EXTRA", "TrustServerCertificate=yes");
    const auto t = MapConnectionString("Provider=SQLOLEDB;Server=srv;Database=G;", "ana", "x1");
    EXPECT_EQ(t.connectionString,
              "Driver=ODBC Driver 18 for SQL Server;Server=srv;Port=1433;Database=G;UID=ana;"
              "PWD=x1;TrustServerCertificate=yes;");
}

TEST(OdbcMapping, OracleGoesToItsDriverOrDataSourceName) {
    const std::string ado = "Provider=OraOLEDB.Oracle.1;Data Source=VENTAS;User Id=u;Password=p;";
    {
        ScopedEnv dsn("DEPURACIONES_ORACLE_DSN", nullptr);
        ScopedEnv driver("DEPURACIONES_ORACLE_DRIVER", nullptr);
        const auto t = MapConnectionString(ado, "", "");
        EXPECT_EQ(t.kind, TargetKind::Oracle);
        EXPECT_EQ(t.connectionString, "Driver=Oracle;DBQ=VENTAS;UID=u;PWD=p;");
    }
    ScopedEnv dsn("DEPURACIONES_ORACLE_DSN", "ORA_PROD");
    EXPECT_EQ(MapConnectionString(ado, "", "").connectionString,
              "DSN=ORA_PROD;DBQ=VENTAS;UID=u;PWD=p;");
}

TEST(OdbcMapping, MsdasqlPassesTheRestThrough) {
    const auto t = MapConnectionString("Provider=MSDASQL;Driver=SQLite3;Database=/x/y.db;", "", "");
    EXPECT_EQ(t.kind, TargetKind::Generic);
    EXPECT_EQ(t.connectionString, "Driver=SQLite3;Database=/x/y.db;");
}

TEST(OdbcDiagnostics, SqlStatesMapToTheNumbersTheProgramTests) {
    namespace code = adodb::code;
    const std::vector<std::pair<std::string, std::int32_t>> cases = {
        {"23000", code::kIntegrity},
        {"42S02", code::kNoTable},
        {"42S22", code::kErrorsInCommand},
        {"42000", code::kErrorsInCommand},
        {"37000", code::kErrorsInCommand},
        {"22007", code::kCantConvert},
        {"22008", code::kCantConvert},
        {"22018", code::kCantConvert},
        {"HYT00", code::kTimeout},
        {"08001", code::kFail},
        {"HY000", code::kFail},
    };
    for (const auto& [state, number] : cases) {
        EXPECT_EQ(adodb::odbc::NumberForState(state), number) << state;
    }
}

TEST(OdbcDiagnostics, PasswordsNeverReachAMessage) {
    using adodb::odbc::MaskSecrets;
    EXPECT_EQ(MaskSecrets("login failed for secreto123", "secreto123"), "login failed for ****");
    EXPECT_EQ(MaskSecrets("bad string Server=s;PWD=zz;UID=u", "zz"),
              "bad string Server=s;PWD=****;UID=u");
    EXPECT_EQ(MaskSecrets("x password=abc", ""), "x password=****");
}

TEST(SingleTable, RecognisesPlainQueriesOnOneTable) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"SELECT * FROM MV_EJERCICIOS WHERE CONVERT(INT,PERIODO) = 2004", "MV_EJERCICIOS"},
        {"select Clave, Valor from dbo.TA_CONFIGURACION where clave = 'x' order by a, b",
         "dbo.TA_CONFIGURACION"},
        {"SELECT * FROM [MV STOCK]", "[MV STOCK]"},
        {"SELECT TOP 1 * FROM T", "T"},
        {"SELECT MAX(IDCOMPROBANTE) AS IDCOMPROBANTE FROM V_MV_STOCK", ""},
        {"SELECT a AS b FROM T", ""},
        {"SELECT * FROM T, U", ""},
        {"SELECT * FROM T JOIN U ON T.a = U.a", ""},
        {"SELECT * FROM T t1 WHERE 1 = 1", ""},
        {"SELECT a FROM T GROUP BY a", ""},
        {"SELECT DISTINCT a FROM T", ""},
        {"SELECT * FROM (SELECT * FROM T) AS x", ""},
        {"DELETE FROM T", ""},
    };
    for (const auto& [sql, table] : cases) {
        EXPECT_EQ(adodb::odbc::SingleTableOf(sql), table) << sql;
    }
}

}  // namespace
