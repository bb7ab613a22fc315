#include "platform/adodb/odbc/odbc_connection_string.h"

#include <cstdlib>
#include <initializer_list>
#include <string_view>
#include <vector>

#include "platform/adodb/connection_string.h"
#include "platform/text/strings.h"

namespace adodb::odbc {
namespace {

const std::initializer_list<std::string_view> kProviderKeys = {"Provider"};
const std::initializer_list<std::string_view> kServerKeys = {"Server", "Data Source", "Address",
                                                             "Addr"};
const std::initializer_list<std::string_view> kDatabaseKeys = {"Database", "Initial Catalog"};
const std::initializer_list<std::string_view> kUserKeys = {"UId", "User Id", "User"};
const std::initializer_list<std::string_view> kPasswordKeys = {"Pwd", "Password"};

std::string Env(const char* name, const char* fallback) {
    const char* v = std::getenv(name);
    return v != nullptr ? std::string(v) : std::string(fallback);
}

bool KeyIn(const std::string& key, std::initializer_list<std::string_view> keys) {
    for (auto k : keys) {
        if (text::EqualsNoCase(key, k)) return true;
    }
    return false;
}

class Builder {
  public:
    void Add(std::string_view key, std::string_view value) {
        if (!out_.empty()) out_ += ';';
        out_ += key;
        out_ += '=';
        out_ += QuoteOdbcValue(value);
    }
    void AddRaw(const std::string& raw) {
        if (!out_.empty()) out_ += ';';
        out_ += text::Trim(raw);
    }
    std::string Result() const { return out_.empty() ? out_ : out_ + ';'; }

  private:
    std::string out_;
};

// Items of `cs` that none of the key lists takes, in order.
std::vector<ConnectionString::Item> Remaining(
    const ConnectionString& cs,
    std::initializer_list<std::initializer_list<std::string_view>> taken) {
    std::vector<ConnectionString::Item> out;
    for (const auto& item : cs.Items()) {
        bool used = false;
        for (const auto& keys : taken) used = used || KeyIn(item.key, keys);
        if (!used) out.push_back(item);
    }
    return out;
}

OdbcTarget MapSqlServer(const ConnectionString& cs, const std::string& user,
                        const std::string& password) {
    OdbcTarget t;
    t.kind = TargetKind::SqlServer;
    const auto extra = ConnectionString::Parse(
        Env("DEPURACIONES_SQLSERVER_EXTRA", "TDS_Version=7.4;ClientCharset=UTF-8"));

    std::string server = text::Trim(cs.Get(kServerKeys).value_or(""));
    if (text::StartsWith(server, "tcp:")) server = server.substr(4);
    std::string port;
    if (auto comma = server.find(','); comma != std::string::npos) {
        port = text::Trim(std::string_view(server).substr(comma + 1));
        server = text::Trim(std::string_view(server).substr(0, comma));
    }
    if (server == "." || text::EqualsNoCase(server, "(local)")) server = "localhost";
    const bool namesInstance = server.find('\\') != std::string::npos;
    const bool portKeyGiven = cs.Has({"Port"}) || extra.Has({"Port"});

    Builder b;
    b.Add("Driver", Env("DEPURACIONES_SQLSERVER_DRIVER", "FreeTDS"));
    b.Add("Server", server);
    if (!port.empty()) {
        b.Add("Port", port);
    } else if (!namesInstance && !portKeyGiven) {
        b.Add("Port", "1433");
    }
    b.Add("Database", cs.Get(kDatabaseKeys).value_or(""));
    b.Add("UID", user.empty() ? cs.Get(kUserKeys).value_or("") : user);
    t.password = password.empty() ? cs.Get(kPasswordKeys).value_or("") : password;
    b.Add("PWD", t.password);
    const auto rest =
        Remaining(cs, {kProviderKeys, kServerKeys, kDatabaseKeys, kUserKeys, kPasswordKeys});
    for (const auto& item : rest) b.AddRaw(item.raw);
    // Fixed keys last, unless the program's string already gives them.
    for (const auto& item : extra.Items()) {
        if (!cs.Has({item.key})) b.AddRaw(item.raw);
    }
    t.connectionString = b.Result();
    return t;
}

OdbcTarget MapOracle(const ConnectionString& cs, const std::string& user,
                     const std::string& password) {
    OdbcTarget t;
    t.kind = TargetKind::Oracle;
    Builder b;
    const std::string dsn = Env("DEPURACIONES_ORACLE_DSN", "");
    if (!dsn.empty()) {
        b.Add("DSN", dsn);
    } else {
        b.Add("Driver", Env("DEPURACIONES_ORACLE_DRIVER", "Oracle"));
    }
    const std::string source = cs.Get({"Data Source"}).value_or("");
    if (!source.empty() || dsn.empty()) b.Add("DBQ", source);
    b.Add("UID", user.empty() ? cs.Get(kUserKeys).value_or("") : user);
    t.password = password.empty() ? cs.Get(kPasswordKeys).value_or("") : password;
    b.Add("PWD", t.password);
    for (const auto& item :
         Remaining(cs, {kProviderKeys, {"Data Source"}, kUserKeys, kPasswordKeys})) {
        b.AddRaw(item.raw);
    }
    t.connectionString = b.Result();
    return t;
}

OdbcTarget MapGeneric(const ConnectionString& cs, const std::string& user,
                      const std::string& password) {
    OdbcTarget t;
    t.kind = TargetKind::Generic;
    Builder b;
    for (const auto& item : cs.Items()) {
        if (KeyIn(item.key, kProviderKeys)) continue;
        if (!user.empty() && KeyIn(item.key, {"UID"})) continue;
        if (!password.empty() && KeyIn(item.key, {"PWD"})) continue;
        b.AddRaw(item.raw);
    }
    if (!user.empty()) b.Add("UID", user);
    if (!password.empty()) b.Add("PWD", password);
    t.password = password.empty() ? cs.Get({"PWD"}).value_or("") : password;
    t.connectionString = b.Result();
    return t;
}

}  // namespace

OdbcTarget MapConnectionString(const std::string& connectionString, const std::string& user,
                               const std::string& password) {
    const auto cs = ConnectionString::Parse(connectionString);
    const std::string provider = cs.Get(kProviderKeys).value_or("");
    if (text::StartsWith(provider, "SQLOLEDB") || text::StartsWith(provider, "SQLNCLI") ||
        text::StartsWith(provider, "MSOLEDBSQL")) {
        return MapSqlServer(cs, user, password);
    }
    if (text::Contains(provider, "ORACLE")) return MapOracle(cs, user, password);
    return MapGeneric(cs, user, password);
}

}  // namespace adodb::odbc
