// Picks the provider for a connection string, and keeps the providers registered by name.
#include <map>
#include <mutex>

#include "platform/adodb/connection_string.h"
#include "platform/adodb/layer_errors.h"
#include "platform/adodb/odbc/odbc_provider.h"
#include "platform/adodb/provider.h"
#include "platform/adodb/sqlite/sqlite_provider.h"
#include "platform/text/strings.h"

namespace adodb {
namespace {

struct ProviderRegistry {
    std::mutex mutex;
    std::map<std::string, ProviderMaker> makers;  // by lower-case name
};

ProviderRegistry& Registry() {
    static ProviderRegistry registry;
    return registry;
}

ProviderMaker RegisteredMaker(const std::string& provider) {
    auto& reg = Registry();
    std::lock_guard lock(reg.mutex);
    auto it = reg.makers.find(text::ToLower(provider));
    return it == reg.makers.end() ? ProviderMaker{} : it->second;
}

[[noreturn]] void RaiseUnusable(const std::string& why) {
    throw ComError(MakeError(code::kFail, why, kConnectionSource, "08001"));
}

bool IsSqlServerProvider(const std::string& provider) {
    return text::StartsWith(provider, "SQLOLEDB") || text::StartsWith(provider, "SQLNCLI") ||
           text::StartsWith(provider, "MSOLEDBSQL");
}

bool NamesDatabaseFile(const std::string& database) {
    return text::EndsWith(database, ".db") || text::EndsWith(database, ".sqlite") ||
           text::EndsWith(database, ".sqlite3");
}

}  // namespace

std::unique_ptr<Provider> CreateProvider(const std::string& connectionString) {
    const auto cs = ConnectionString::Parse(connectionString);
    const std::string provider = cs.Get({"Provider"}).value_or("");
    if (ProviderMaker maker = RegisteredMaker(provider)) return maker(connectionString);
    if (IsSqlServerProvider(provider)) {
        const std::string database = cs.Get({"Database", "Initial Catalog"}).value_or("");
        if (NamesDatabaseFile(database)) return CreateSqliteProvider();
        return CreateOdbcProvider();
    }
    if (text::Contains(provider, "ORACLE")) return CreateOdbcProvider();
    if (text::StartsWith(provider, "MSDASQL")) return CreateOdbcProvider();
    // Without a provider the platform's default is the ODBC bridge.
    if (provider.empty() && cs.Has({"Driver", "DSN"})) return CreateOdbcProvider();
    if (provider.empty()) RaiseUnusable("La cadena de conexión no indica ningún proveedor.");
    RaiseUnusable("El proveedor '" + provider + "' no está disponible.");
}

void RegisterProvider(const std::string& name, ProviderMaker maker) {
    auto& reg = Registry();
    std::lock_guard lock(reg.mutex);
    reg.makers[text::ToLower(name)] = std::move(maker);
}

void UnregisterProvider(const std::string& name) {
    auto& reg = Registry();
    std::lock_guard lock(reg.mutex);
    reg.makers.erase(text::ToLower(name));
}

}  // namespace adodb
