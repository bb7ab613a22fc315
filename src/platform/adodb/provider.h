#pragma once
// The interface behind which each database engine sits. Connection and Recordset speak to
// a Provider only; providers never show anything to the operator.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/adodb/error.h"
#include "platform/adodb/variant.h"

namespace adodb {

// Data-type numbers of fields.
namespace dtype {
inline constexpr int kSmallInt = 2, kInteger = 3, kSingle = 4, kDouble = 5, kCurrency = 6,
                     kDate = 7, kBSTR = 8, kBoolean = 11, kVariant = 12, kTinyInt = 16,
                     kBigInt = 20, kNumeric = 131, kDBTimeStamp = 135, kChar = 129, kWChar = 130,
                     kVarChar = 200, kLongVarChar = 201, kVarWChar = 202, kLongVarWChar = 203;
}

struct ColumnInfo {
    std::string name;
    int type = dtype::kVarChar;
    long definedSize = 0;  // declared character length for texts; byte size otherwise
    bool nullable = true;
};

// A result read completely (client cursor).
struct ResultSet {
    std::vector<ColumnInfo> columns;
    std::vector<std::vector<Variant>> rows;
    // For a query on a single table: its name and the columns that identify one of its rows
    // (the primary key, or the engine's row id; empty when there is none), so the recordset
    // can write changes back.
    std::string baseTable;
    std::vector<std::string> keyColumns;
    // The last `hiddenColumns` entries of `columns` (and of every row) are not fields: key
    // columns the query did not select, read only to find each row again when writing it.
    int hiddenColumns = 0;
};

// One change written back from an updatable recordset.
struct RowChange {
    enum class Kind { Update, Insert } kind = Kind::Update;
    std::string table;
    std::vector<std::string> setColumns;
    std::vector<Variant> setValues;
    // Update: the row is found by these columns holding these values (the primary key, or
    // every original value when the table has none). Null matches Null.
    std::vector<std::string> whereColumns;
    std::vector<Variant> whereValues;
};

struct ExecuteResult {
    std::optional<ResultSet> result;  // present when the statement returned rows
    long recordsAffected = -1;        // -1 when the statement was a query
};

class Provider {
  public:
    virtual ~Provider() = default;
    virtual void Open(const std::string& connectionString, const std::string& user,
                      const std::string& password, int timeoutSeconds) = 0;
    virtual void Close() = 0;
    virtual ExecuteResult Execute(const std::string& sql, int timeoutSeconds) = 0;
    // Runs a query whose rows are to be changed through the recordset. A provider that can
    // adds the key columns the query leaves out as hidden columns (ResultSet::hiddenColumns),
    // so that every row is written back by its key rather than by the values it showed. The
    // default runs Execute.
    virtual ExecuteResult ExecuteForUpdate(const std::string& sql, int timeoutSeconds) {
        return Execute(sql, timeoutSeconds);
    }
    virtual void BeginTrans() = 0;
    virtual void CommitTrans() = 0;
    virtual void RollbackTrans() = 0;
    // schema 20: tables and views (TABLE_CATALOG, TABLE_SCHEMA, TABLE_NAME, TABLE_TYPE);
    // schema 4: columns (TABLE_CATALOG, TABLE_SCHEMA, TABLE_NAME, COLUMN_NAME,
    // ORDINAL_POSITION, DATA_TYPE, CHARACTER_MAXIMUM_LENGTH, IS_NULLABLE).
    // Restrictions: catalogue, schema, table, column (Empty/Missing = no restriction).
    virtual ResultSet OpenSchema(int schema, const std::vector<Variant>& restrictions) = 0;
    // Writes one change; returns the rows affected. Zero rows on an update means the row
    // vanished: the caller turns that into an error.
    virtual long ApplyChange(const RowChange& change) = 0;
    // Name of the provider for Error::Source.
    virtual std::string Name() const = 0;

    // Makes `db` the session's current database where the engine has that notion (SQL
    // Server); the default does nothing.
    virtual void SetDefaultDatabase(const std::string& db) { (void)db; }
    // Fills result.keyColumns for a result about to become updatable, when the provider
    // did not fill them while reading (looked up only then, as it costs a catalogue query).
    // The default leaves the result as it is.
    virtual void ResolveKeys(ResultSet& result) { (void)result; }
    // Called with true once a statement has waited a while for another connection's lock,
    // and with false when that wait ends. The default (a provider whose engine does not say
    // it is waiting) never calls it.
    virtual void SetLockWaitObserver(std::function<void(bool waiting)> observer) { (void)observer; }
};

// Picks and creates the provider for a connection string (keys compared without letter
// case, blanks around keys and values ignored):
// - an SQL Server provider (SQLOLEDB, SQLNCLI*, MSOLEDBSQL) whose database ends in .db,
//   .sqlite or .sqlite3: the embedded engine on that file;
// - another SQL Server connection: ODBC to the SQL Server driver;
// - a provider containing ORACLE: ODBC to the Oracle driver;
// - Provider=MSDASQL: the rest as an ODBC connection string;
// - Provider=Recording: the recording provider registered for tests.
// Raises ComError (SQL state 08001) for a string naming no usable provider.
std::unique_ptr<Provider> CreateProvider(const std::string& connectionString);

// Tests register a factory for "Provider=Recording;Name=<name>" connection strings.
using ProviderFactory = std::function<std::unique_ptr<Provider>()>;
void RegisterRecordingFactory(const std::string& name, ProviderFactory factory);
void UnregisterRecordingFactory(const std::string& name);

}  // namespace adodb
