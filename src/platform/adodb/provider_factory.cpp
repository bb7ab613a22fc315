// Picks the provider for a connection string, and keeps the recording factories that tests
// register.
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

struct RecordingRegistry {
    std::mutex mutex;
    std::map<std::string, ProviderFactory> factories;  // by lower-case name
};

RecordingRegistry& Registry() {
    static RecordingRegistry registry;
    return registry;
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

std::unique_ptr<Provider> CreateRecording(const ConnectionString& cs) {
    const std::string name = cs.Get({"Name"}).value_or("");
    ProviderFactory factory;
    {
        auto& reg = Registry();
        std::lock_guard lock(reg.mutex);
        auto it = reg.factories.find(text::ToLower(name));
        if (it != reg.factories.end()) factory = it->second;
    }
    if (!factory)
        RaiseUnusable("No hay ningún proveedor de grabación registrado con el nombre '" + name +
                      "'.");
    return factory();
}

}  // namespace

std::unique_ptr<Provider> CreateProvider(const std::string& connectionString) {
    const auto cs = ConnectionString::Parse(connectionString);
    const std::string provider = cs.Get({"Provider"}).value_or("");
    if (text::EqualsNoCase(provider, "Recording")) return CreateRecording(cs);
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

void RegisterRecordingFactory(const std::string& name, ProviderFactory factory) {
    auto& reg = Registry();
    std::lock_guard lock(reg.mutex);
    reg.factories[text::ToLower(name)] = std::move(factory);
}

void UnregisterRecordingFactory(const std::string& name) {
    auto& reg = Registry();
    std::lock_guard lock(reg.mutex);
    reg.factories.erase(text::ToLower(name));
}

}  // namespace adodb
