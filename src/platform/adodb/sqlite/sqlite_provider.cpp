#include "platform/adodb/sqlite/sqlite_provider.h"

#include <sqlite3.h>

#include <algorithm>
#include <filesystem>

#include "platform/adodb/connection_string.h"
#include "platform/adodb/sqlite/column_types.h"
#include "platform/adodb/sqlite/engine_calls.h"
#include "platform/adodb/sqlite/engine_error.h"
#include "platform/adodb/sqlite/handles.h"
#include "platform/adodb/sqlite/lock_wait.h"
#include "platform/adodb/sqlite/percent_delete.h"
#include "platform/adodb/sqlite/result_reader.h"
#include "platform/adodb/sqlite/row_writer.h"
#include "platform/adodb/sqlite/schema_loader.h"
#include "platform/adodb/sqlite/session.h"
#include "platform/adodb/sqlite/statement_cache.h"
#include "platform/adodb/sqlite/translator.h"
#include "platform/text/strings.h"

namespace adodb {
namespace {

using namespace adodb::sqlite;

constexpr std::size_t kCachedStatements = 256;

Error PlainError(std::int32_t number, std::string state, std::string description) {
    Error e;
    e.Number = number;
    e.SQLState = std::move(state);
    e.Description = std::move(description);
    e.Source = kSource;
    return e;
}

char OrderKey(text::DateOrder order) {
    switch (order) {
        case text::DateOrder::MDY:
            return 'M';
        case text::DateOrder::YMD:
            return 'Y';
        case text::DateOrder::DMY:
            break;
    }
    return 'D';
}

class SqliteProvider final : public Provider {
  public:
    ~SqliteProvider() override { Close(); }

    void Open(const std::string& connectionString, const std::string&, const std::string&,
              int timeoutSeconds) override {
        Close();
        LockWaitScope wait(lockWait_);
        const auto file =
            ConnectionString::Parse(connectionString).Get({"Database", "Initial Catalog"});
        if (!file || file->empty()) {
            throw ComError(
                PlainError(code::kFail, "08001",
                           "La cadena de conexión no indica el archivo de la base de datos"));
        }
        sqlite3* raw = nullptr;
        // Never created here: a missing file is a connection error, not a new empty database.
        const int rc = sqlite3_open_v2(file->c_str(), &raw, SQLITE_OPEN_READWRITE, nullptr);
        DatabaseHandle db(raw);
        if (rc != SQLITE_OK) {
            throw ComError(OpenError(*file, db ? sqlite3_errmsg(db.get()) : sqlite3_errstr(rc)));
        }
        sqlite3* h = db.get();
        sqlite3_extended_result_codes(h, 1);
        if (sqlite3_db_readonly(h, "main") == 1) {
            throw ComError(OpenError(*file, "el archivo es de sólo lectura"));
        }
        lockWait_.Install(h);
        SetTimeout(timeoutSeconds);
        // "name" is always a name: a misspelt column is an error, never a text.
        sqlite3_db_config(h, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
        sqlite3_db_config(h, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
        // Write-ahead log with full synchronisation: every committed transaction is on disk
        // before COMMIT returns, so it survives a crash or a power cut.
        for (const char* pragma :
             {"PRAGMA journal_mode=WAL", "PRAGMA synchronous=FULL", "PRAGMA foreign_keys=ON"}) {
            char* message = nullptr;
            const int prc = sqlite3_exec(h, pragma, nullptr, nullptr, &message);
            const std::string reason = message != nullptr ? message : sqlite3_errstr(prc);
            sqlite3_free(message);
            if (prc != SQLITE_OK) throw ComError(OpenError(*file, reason));
        }
        session_ = std::make_shared<Session>();
        RegisterSuiteFunctions(h, session_);
        try {
            schema_ = LoadSchema(h);
        } catch (const ComError& e) {
            throw ComError(OpenError(*file, e.Description()));
        }
        db_ = std::move(db);
        percent_.Forget();
        sqlite3_rollback_hook(h, &PercentDeleteRunner::OnRollback, &percent_);
        file_ = *file;
        schemaVersion_ = SchemaVersion();
    }

    void Close() override {
        cache_.Clear();
        versionStmt_.reset();
        percent_.Forget();
        if (db_) sqlite3_rollback_hook(db_.get(), nullptr, nullptr);
        db_.reset();  // rolls back a transaction still open
        transactions_ = 0;
        session_.reset();
    }

    ExecuteResult Execute(const std::string& sql, int timeoutSeconds) override {
        return Execute(sql, timeoutSeconds, RowKeys::AsSelected);
    }

    // The key columns a query over one table leaves out are read as hidden columns, so a
    // change is written to the row it was made on, not to every row showing the same values.
    ExecuteResult ExecuteForUpdate(const std::string& sql, int timeoutSeconds) override {
        return Execute(sql, timeoutSeconds, RowKeys::Added);
    }

    void BeginTrans() override {
        LockWaitScope wait(lockWait_);
        Begin(Handle());
    }
    void CommitTrans() override {
        LockWaitScope wait(lockWait_);
        Commit(Handle());
    }
    void RollbackTrans() override {
        LockWaitScope wait(lockWait_);
        Rollback(Handle());
    }

    void SetLockWaitObserver(std::function<void(bool)> observer) override {
        lockWait_.SetObserver(std::move(observer));
    }

    ResultSet OpenSchema(int schema, const std::vector<Variant>& restrictions) override {
        LockWaitScope wait(lockWait_);
        sqlite3* h = Handle();
        RefreshSchemaIfChanged(h);
        auto restriction = [&](std::size_t i) -> std::string {
            if (i >= restrictions.size() || restrictions[i].Type() != VarType::String) return {};
            return text::Trim(restrictions[i].RawString());
        };
        const std::string catalog = std::filesystem::path(file_).stem().string();
        auto textColumn = [](const char* name) {
            return ColumnInfo{name, dtype::kVarWChar, 128, true};
        };
        ResultSet rs;
        if (schema == 20) {
            rs.columns = {textColumn("TABLE_CATALOG"), textColumn("TABLE_SCHEMA"),
                          textColumn("TABLE_NAME"), textColumn("TABLE_TYPE")};
            const std::string table = restriction(2), type = restriction(3);
            for (const bool views : {false, true}) {
                for (const TableMeta& t : schema_.Tables()) {
                    if (t.isView != views) continue;
                    const std::string kind = t.isView ? "VIEW" : "TABLE";
                    if (!table.empty() && !text::EqualsNoCase(table, t.name)) continue;
                    if (!type.empty() && !text::EqualsNoCase(type, kind)) continue;
                    rs.rows.push_back(
                        {Variant(catalog), Variant("dbo"), Variant(t.name), Variant(kind)});
                }
            }
            return rs;
        }
        if (schema == 4) {
            rs.columns = {textColumn("TABLE_CATALOG"),
                          textColumn("TABLE_SCHEMA"),
                          textColumn("TABLE_NAME"),
                          textColumn("COLUMN_NAME"),
                          ColumnInfo{"ORDINAL_POSITION", dtype::kInteger, 4, false},
                          ColumnInfo{"DATA_TYPE", dtype::kSmallInt, 2, false},
                          ColumnInfo{"CHARACTER_MAXIMUM_LENGTH", dtype::kInteger, 4, true},
                          ColumnInfo{"IS_NULLABLE", dtype::kBoolean, 2, false}};
            const std::string table = restriction(2), column = restriction(3);
            for (const TableMeta& t : schema_.Tables()) {
                if (!table.empty() && !text::EqualsNoCase(table, t.name)) continue;
                for (std::size_t i = 0; i < t.columns.size(); ++i) {
                    const ColumnMeta& c = t.columns[i];
                    if (!column.empty() && !text::EqualsNoCase(column, c.name)) continue;
                    const FieldType ft = MapDeclaredType(c.declaredType);
                    const bool isText = IsTextType(c.declaredType);
                    rs.rows.push_back(
                        {Variant(catalog), Variant("dbo"), Variant(t.name), Variant(c.name),
                         Variant(static_cast<std::int32_t>(i + 1)),
                         Variant(static_cast<std::int16_t>(ft.type)),
                         isText ? Variant(static_cast<std::int32_t>(ft.size)) : Variant::Null(),
                         Variant(!c.notNull && c.primaryKeyPosition == 0)});
                }
            }
            return rs;
        }
        throw ComError(PlainError(code::kNotSupported, "HYC00",
                                  "El motor local no ofrece el esquema " + std::to_string(schema)));
    }

    long ApplyChange(const RowChange& change) override {
        LockWaitScope wait(lockWait_);
        sqlite3* h = Handle();
        RefreshSchemaIfChanged(h);
        return WriteChange(h, change, schema_, session_->Dates(), timeout_);
    }

    std::string Name() const override { return kSource; }

  private:
    ExecuteResult Execute(const std::string& sql, int timeoutSeconds, RowKeys keys) {
        LockWaitScope wait(lockWait_);
        sqlite3* h = Handle();
        SetTimeout(timeoutSeconds);
        try {
            return Run(h, sql, keys);
        } catch (...) {
            // The engine ends the transaction itself after some failures (a full disk, an
            // I/O error); the count must follow it.
            if (transactions_ > 0 && sqlite3_get_autocommit(h) != 0) transactions_ = 0;
            throw;
        }
    }

    sqlite3* Handle() const {
        if (!db_) {
            throw ComError(PlainError(code::kOperationNotAllowedClosed, "08003",
                                      "La conexión con la base de datos local está cerrada"));
        }
        return db_.get();
    }

    // How long a statement waits for another connection's lock; 0 means no limit.
    void SetTimeout(int seconds) {
        timeout_ = seconds;
        lockWait_.SetTimeout(seconds);
    }

    [[noreturn]] void Fail(sqlite3* h, int rc) const {
        throw ComError(EngineError(h, rc, timeout_));
    }

    void Exec(sqlite3* h, const char* sql) const { ExecStatements(h, sql, timeout_); }

    int SchemaVersion() {
        sqlite3* h = db_.get();
        if (!versionStmt_) versionStmt_ = PrepareStatement(h, "PRAGMA schema_version", timeout_);
        StatementUse use(versionStmt_.get());
        const int rc = sqlite3_step(versionStmt_.get());
        if (rc != SQLITE_ROW) Fail(h, rc);
        return sqlite3_column_int(versionStmt_.get(), 0);
    }

    // Another connection (or a statement of ours) may have changed the schema: what the
    // translation relies on (the date columns) is read again.
    void RefreshSchemaIfChanged(sqlite3* h) {
        const int version = SchemaVersion();
        if (version == schemaVersion_) return;
        schema_ = LoadSchema(h);
        cache_.Clear();
        percent_.Forget();
        schemaVersion_ = version;
    }

    StatementHandle Prepare(sqlite3* h, const std::string& sql) const {
        return PrepareStatement(h, sql, timeout_);
    }

    void Step(sqlite3* h, sqlite3_stmt* stmt) const { StepToEnd(h, stmt, timeout_); }

    ExecuteResult Run(sqlite3* h, const std::string& sql, RowKeys keys) {
        RefreshSchemaIfChanged(h);
        const text::RegionalSettings dates = session_->Dates();
        // Date literals are read when translating, so the date order is part of the key; so
        // is whether the row key is added, as that changes the columns read.
        const std::string key =
            std::string(1, OrderKey(dates.dateOrder)) + (keys == RowKeys::Added ? "K" : "-") + sql;
        CachedStatement* entry = cache_.Find(key);
        CachedStatement uncached;
        if (entry == nullptr) {
            try {
                uncached.plan = Translate(sql, schema_, dates, keys);
            } catch (const DialectError& e) {
                throw ComError(FromDialectError(e));
            }
            const Plan::Kind kind = uncached.plan.kind;
            if (kind == Plan::Kind::Query || kind == Plan::Kind::Change ||
                kind == Plan::Kind::PercentDelete) {
                for (const std::string& s : uncached.plan.sql)
                    uncached.prepared.push_back(Prepare(h, s));
                entry = &cache_.Insert(key, std::move(uncached));
            } else {
                entry = &uncached;
            }
        }
        const Plan& plan = entry->plan;
        ExecuteResult result;
        switch (plan.kind) {
            case Plan::Kind::Query: {
                StatementUse use(entry->prepared[0].get());
                result.result = ReadResult(h, entry->prepared[0].get(), plan, schema_, timeout_);
                return result;
            }
            case Plan::Kind::Change:
                RunAtomically(h, entry->prepared.size(), [&] {
                    for (const StatementHandle& stmt : entry->prepared) Step(h, stmt.get());
                });
                result.recordsAffected = static_cast<long>(sqlite3_changes(h));
                return result;
            case Plan::Kind::Schema:
                RunAtomically(h, plan.sql.size(), [&] {
                    for (const std::string& s : plan.sql) Step(h, Prepare(h, s).get());
                });
                RefreshSchemaIfChanged(h);
                return result;
            case Plan::Kind::Begin:
                Begin(h);
                return result;
            case Plan::Kind::Commit:
                Commit(h);
                return result;
            case Plan::Kind::Rollback:
                Rollback(h);
                return result;
            case Plan::Kind::SetDateFormat:
                session_->dateOrder = plan.dateOrder;
                return result;
            case Plan::Kind::PercentDelete:
                result.recordsAffected = percent_.Run(h, key, *plan.percentDelete, timeout_);
                return result;
            case Plan::Kind::NoOp:
                return result;
        }
        return result;
    }

    // Several engine statements standing for one statement of the program all take effect
    // or none does.
    // A single engine statement is atomic by itself and needs no savepoint.
    template <typename F>
    void RunAtomically(sqlite3* h, std::size_t statements, F&& body) {
        if (statements <= 1) return body();
        Exec(h, "SAVEPOINT suite_statement");
        try {
            body();
        } catch (...) {
            sqlite3_exec(h, "ROLLBACK TO suite_statement; RELEASE suite_statement", nullptr,
                         nullptr, nullptr);
            throw;
        }
        Exec(h, "RELEASE suite_statement");
    }

    // SQL Server's nesting on one real transaction: a nested BEGIN raises a count, only the
    // outermost COMMIT commits, ROLLBACK undoes everything and resets the count.
    void Begin(sqlite3* h) {
        // IMMEDIATE takes the write lock now (waiting up to the timeout), so a later write
        // inside the transaction cannot fail because another connection wrote first.
        if (transactions_ == 0) Exec(h, "BEGIN IMMEDIATE");
        ++transactions_;
    }

    void Commit(sqlite3* h) {
        if (transactions_ == 0) {
            throw ComError(PlainError(code::kFail, "25000",
                                      "La solicitud COMMIT TRANSACTION no tiene la "
                                      "correspondiente BEGIN TRANSACTION"));
        }
        if (transactions_ == 1) Exec(h, "COMMIT");
        --transactions_;
    }

    void Rollback(sqlite3* h) {
        if (transactions_ == 0) {
            throw ComError(PlainError(code::kFail, "25000",
                                      "La solicitud ROLLBACK TRANSACTION no tiene la "
                                      "correspondiente BEGIN TRANSACTION"));
        }
        transactions_ = 0;
        if (sqlite3_get_autocommit(h) == 0) Exec(h, "ROLLBACK");
    }

    DatabaseHandle db_;  // declared first: the statements below are finalized before it closes
    StatementHandle versionStmt_;
    StatementCache cache_{kCachedStatements};
    SchemaSnapshot schema_;
    std::shared_ptr<Session> session_;
    PercentDeleteRunner percent_;  // its address is the rollback hook's argument
    LockWait lockWait_;            // its address is the busy and progress callbacks' argument
    std::string file_;
    int schemaVersion_ = 0;
    int transactions_ = 0;
    int timeout_ = 30;
};

}  // namespace

std::unique_ptr<Provider> CreateSqliteProvider() {
    return std::make_unique<SqliteProvider>();
}

}  // namespace adodb
