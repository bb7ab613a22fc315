#include "platform/adodb/odbc/odbc_provider.h"

#include <cstring>
#include <deque>
#include <map>
#include <optional>

#include "platform/adodb/connection.h"
#include "platform/adodb/layer_errors.h"
#include "platform/adodb/odbc/odbc_call.h"
#include "platform/adodb/odbc/odbc_connection_string.h"
#include "platform/adodb/odbc/odbc_params.h"
#include "platform/adodb/odbc/odbc_result.h"
#include "platform/text/regional.h"
#include "platform/text/strings.h"

namespace adodb {
namespace {

using odbc::Check;
using odbc::Handle;
using odbc::OnNoData;

std::string DateFormatStatement() {
    switch (text::RegionalSettings::Current().dateOrder) {
        case text::DateOrder::MDY:
            return "SET DATEFORMAT mdy";
        case text::DateOrder::YMD:
            return "SET DATEFORMAT ymd";
        case text::DateOrder::DMY:
            break;
    }
    return "SET DATEFORMAT dmy";
}

// A name possibly written with an owner prefix and brackets ("dbo.[MV STOCK]"), split
// into its parts without the brackets.
std::vector<std::string> NameParts(const std::string& name) {
    std::vector<std::string> parts(1);
    bool inBrackets = false;
    for (char c : name) {
        if (c == '[' && !inBrackets) {
            inBrackets = true;
        } else if (c == ']' && inBrackets) {
            inBrackets = false;
        } else if (c == '.' && !inBrackets) {
            parts.emplace_back();
        } else {
            parts.back() += c;
        }
    }
    for (auto& p : parts) p = text::Trim(p);
    return parts;
}

class OdbcProvider final : public Provider {
  public:
    ~OdbcProvider() override { Disconnect(); }

    void Open(const std::string& connectionString, const std::string& user,
              const std::string& password, int timeoutSeconds) override {
        auto target = odbc::MapConnectionString(connectionString, user, password);
        ctx_.secret = target.password;
        env_.emplace(SQL_HANDLE_ENV, nullptr, ctx_);
        Check(SQLSetEnvAttr(env_->get(), SQL_ATTR_ODBC_VERSION,
                            reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0),
              *env_, "SQLSetEnvAttr", ctx_);
        dbc_.emplace(SQL_HANDLE_DBC, env_->get(), ctx_);
        // A server that does not answer fails after the login time-out instead of hanging.
        odbc::Succeeded(SQLSetConnectAttr(
            dbc_->get(), SQL_ATTR_LOGIN_TIMEOUT,
            reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(timeoutSeconds)), 0));
        if (readOnly_) {
            // A hint the driver may refuse: the Connection refuses writes on its own.
            odbc::Succeeded(SQLSetConnectAttr(dbc_->get(), SQL_ATTR_ACCESS_MODE,
                                              reinterpret_cast<SQLPOINTER>(SQL_MODE_READ_ONLY), 0));
        }
        std::vector<SQLCHAR> in(target.connectionString.begin(), target.connectionString.end());
        in.push_back(0);
        Check(SQLDriverConnect(dbc_->get(), nullptr, in.data(), SQL_NTS, nullptr, 0, nullptr,
                               SQL_DRIVER_NOPROMPT),
              *dbc_, "SQLDriverConnect", ctx_);
        connected_ = true;
        kind_ = target.kind;
        quote_ = IdentifierQuote();
        if (kind_ == odbc::TargetKind::SqlServer) {
            // Date texts in statements are read in the operator's date order.
            Execute(DateFormatStatement(), 0);
        }
    }

    void Close() override {
        if (!connected_) return;
        if (inTransaction_) RollbackTrans();
        Check(SQLDisconnect(dbc_->get()), *dbc_, "SQLDisconnect", ctx_);
        connected_ = false;
        dbc_.reset();
        env_.reset();
    }

    ExecuteResult Execute(const std::string& sql, int timeoutSeconds) override {
        Handle stmt = NewStatement(timeoutSeconds);
        std::vector<SQLCHAR> text(sql.begin(), sql.end());
        text.push_back(0);
        SQLRETURN rc = Check(SQLExecDirect(stmt.get(), text.data(), SQL_NTS), stmt, "SQLExecDirect",
                             ctx_, OnNoData::Accept);
        return CollectResults(stmt, rc, sql);
    }

    void BeginTrans() override {
        if (inTransaction_) {
            throw ComError(MakeError(code::kFail,
                                     "Ya hay una transacción iniciada en esta conexión; no se "
                                     "admiten transacciones anidadas.",
                                     Name(), "25000"));
        }
        SetAutocommit(false);
        inTransaction_ = true;
    }

    void SetReadOnly(bool readOnly) override { readOnly_ = readOnly; }

    void CommitTrans() override { EndTransaction(SQL_COMMIT); }
    void RollbackTrans() override { EndTransaction(SQL_ROLLBACK); }

    ResultSet OpenSchema(int schema, const std::vector<Variant>& restrictions) override {
        auto restriction = [&](std::size_t i) {
            if (i >= restrictions.size()) return std::string();
            const Variant& v = restrictions[i];
            if (v.IsEmpty() || v.IsMissing() || v.IsNull()) return std::string();
            return v.ToString();
        };
        Handle stmt = NewStatement(0);
        const std::string schemaName = restriction(1);
        const std::string table = restriction(2);
        auto arg = [](const std::string& s) {
            return s.empty() ? nullptr : reinterpret_cast<SQLCHAR*>(const_cast<char*>(s.c_str()));
        };
        auto len = [](const std::string& s) {
            return s.empty() ? SQLSMALLINT{0} : SQLSMALLINT{SQL_NTS};
        };
        if (schema == kSchemaTables) {
            std::string types = restriction(3).empty() ? "TABLE,VIEW" : restriction(3);
            Check(SQLTables(stmt.get(), nullptr, 0, arg(schemaName), len(schemaName), arg(table),
                            len(table), arg(types), SQL_NTS),
                  stmt, "SQLTables", ctx_);
            return TablesResult(odbc::ReadResult(stmt, {}, ctx_), restrictions);
        }
        const std::string column = restriction(3);
        Check(SQLColumns(stmt.get(), nullptr, 0, arg(schemaName), len(schemaName), arg(table),
                         len(table), arg(column), len(column)),
              stmt, "SQLColumns", ctx_);
        return ColumnsResult(odbc::ReadResult(stmt, {}, ctx_), restrictions);
    }

    long ApplyChange(const RowChange& change) override {
        std::string sql;
        odbc::Parameters params;
        if (change.kind == RowChange::Kind::Insert) {
            sql = "INSERT INTO " + QuoteName(change.table);
            if (change.setColumns.empty()) {
                sql += " DEFAULT VALUES";
            } else {
                std::string names;
                std::string marks;
                for (std::size_t i = 0; i < change.setColumns.size(); ++i) {
                    names += (i ? ", " : "") + QuoteName(change.setColumns[i]);
                    marks += i ? ", ?" : "?";
                    params.Add(change.setValues[i]);
                }
                sql += " (" + names + ") VALUES (" + marks + ")";
            }
        } else {
            sql = "UPDATE " + QuoteName(change.table) + " SET ";
            for (std::size_t i = 0; i < change.setColumns.size(); ++i) {
                sql += (i ? ", " : "") + QuoteName(change.setColumns[i]) + " = ?";
                params.Add(change.setValues[i]);
            }
            for (std::size_t i = 0; i < change.whereColumns.size(); ++i) {
                sql += i ? " AND " : " WHERE ";
                const Variant& v = change.whereValues[i];
                if (v.IsNull() || v.IsEmpty()) {
                    sql += QuoteName(change.whereColumns[i]) + " IS NULL";
                } else {
                    sql += QuoteName(change.whereColumns[i]) + " = ?";
                    params.Add(v);
                }
            }
        }
        Handle stmt = NewStatement(0);
        std::vector<SQLCHAR> text(sql.begin(), sql.end());
        text.push_back(0);
        Check(SQLPrepare(stmt.get(), text.data(), SQL_NTS), stmt, "SQLPrepare", ctx_);
        params.Bind(stmt, ctx_);
        const SQLRETURN rc =
            Check(SQLExecute(stmt.get()), stmt, "SQLExecute", ctx_, OnNoData::Accept);
        if (rc == SQL_NO_DATA) return 0;
        SQLLEN count = 0;
        Check(SQLRowCount(stmt.get(), &count), stmt, "SQLRowCount", ctx_);
        return static_cast<long>(count);
    }

    std::string Name() const override { return ctx_.source; }

    void SetDefaultDatabase(const std::string& db) override {
        if (kind_ != odbc::TargetKind::SqlServer || text::Trim(db).empty()) return;
        Execute("USE [" + text::ReplaceAllExact(db, "]", "]]") + "]", 0);
    }

    void ResolveKeys(ResultSet& result) override {
        const std::string cacheKey = text::ToLower(result.baseTable);
        auto it = keyCache_.find(cacheKey);
        if (it == keyCache_.end()) {
            it = keyCache_.emplace(cacheKey, PrimaryKeyOf(result.baseTable)).first;
        }
        result.keyColumns = it->second;
    }

  private:
    Handle NewStatement(int timeoutSeconds) {
        if (!connected_) {
            throw ComError(
                MakeError(code::kConnectionNotUsable, "La conexión está cerrada.", Name()));
        }
        Handle stmt(SQL_HANDLE_STMT, dbc_->get(), ctx_);
        if (timeoutSeconds > 0) {
            // Drivers without statement time-outs run without one.
            odbc::Succeeded(SQLSetStmtAttr(
                stmt.get(), SQL_ATTR_QUERY_TIMEOUT,
                reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(timeoutSeconds)), 0));
        }
        return stmt;
    }

    // The first result with rows is the answer; otherwise the first row count. Every
    // further result is read too, so an error in a later statement of a batch is raised
    // rather than lost.
    ExecuteResult CollectResults(const Handle& stmt, SQLRETURN rc, const std::string& sql) {
        ExecuteResult out;
        std::optional<long> count;
        for (;;) {
            if (rc == SQL_NO_DATA) {
                if (!count) count = 0;  // a searched change that matched no row
            } else {
                SQLSMALLINT columns = 0;
                Check(SQLNumResultCols(stmt.get(), &columns), stmt, "SQLNumResultCols", ctx_);
                if (columns > 0) {
                    auto rs = odbc::ReadResult(stmt, sql, ctx_);
                    if (!out.result) out.result = std::move(rs);
                } else {
                    SQLLEN n = -1;
                    Check(SQLRowCount(stmt.get(), &n), stmt, "SQLRowCount", ctx_);
                    if (!count && n >= 0) count = static_cast<long>(n);
                }
            }
            rc = Check(SQLMoreResults(stmt.get()), stmt, "SQLMoreResults", ctx_, OnNoData::Accept);
            if (rc == SQL_NO_DATA) break;
        }
        out.recordsAffected = out.result ? -1 : count.value_or(-1);
        return out;
    }

    void SetAutocommit(bool on) {
        const SQLULEN value = on ? SQL_AUTOCOMMIT_ON : SQL_AUTOCOMMIT_OFF;
        Check(SQLSetConnectAttr(dbc_->get(), SQL_ATTR_AUTOCOMMIT,
                                reinterpret_cast<SQLPOINTER>(value), SQL_IS_UINTEGER),
              *dbc_, "SQLSetConnectAttr", ctx_);
    }

    void EndTransaction(SQLSMALLINT how) {
        if (!connected_) {
            throw ComError(
                MakeError(code::kConnectionNotUsable, "La conexión está cerrada.", Name()));
        }
        if (!inTransaction_) {
            throw ComError(MakeError(code::kNoTransaction, "No hay ninguna transacción activa.",
                                     Name(), "25000"));
        }
        Check(SQLEndTran(SQL_HANDLE_DBC, dbc_->get(), how), *dbc_, "SQLEndTran", ctx_);
        inTransaction_ = false;
        SetAutocommit(true);
    }

    // Never raises: used on the way out.
    void Disconnect() noexcept {
        if (!connected_) return;
        if (inTransaction_) SQLEndTran(SQL_HANDLE_DBC, dbc_->get(), SQL_ROLLBACK);
        SQLDisconnect(dbc_->get());
        connected_ = false;
    }

    std::string IdentifierQuote() {
        char buf[8] = {};
        SQLSMALLINT len = 0;
        if (!odbc::Succeeded(
                SQLGetInfo(dbc_->get(), SQL_IDENTIFIER_QUOTE_CHAR, buf, sizeof buf, &len))) {
            return "\"";
        }
        const std::string q(buf, static_cast<std::size_t>(std::clamp<SQLSMALLINT>(len, 0, 7)));
        return text::Trim(q).empty() ? std::string() : q;
    }

    // A table or column name quoted for the driver, each part of an owner-prefixed name on
    // its own.
    std::string QuoteName(const std::string& name) const {
        std::string out;
        for (const auto& part : NameParts(name)) {
            if (!out.empty()) out += '.';
            if (quote_.empty()) {
                out += part;
            } else {
                out += quote_ + text::ReplaceAllExact(part, quote_, quote_ + quote_) + quote_;
            }
        }
        return out;
    }

    std::vector<std::string> PrimaryKeyOf(const std::string& table) {
        const auto parts = NameParts(table);
        const std::string name = parts.back();
        const std::string owner = parts.size() > 1 ? parts[parts.size() - 2] : std::string();
        Handle stmt = NewStatement(0);
        std::vector<SQLCHAR> t(name.begin(), name.end());
        t.push_back(0);
        std::vector<SQLCHAR> o(owner.begin(), owner.end());
        o.push_back(0);
        Check(SQLPrimaryKeys(stmt.get(), nullptr, 0, owner.empty() ? nullptr : o.data(),
                             owner.empty() ? 0 : SQL_NTS, t.data(), SQL_NTS),
              stmt, "SQLPrimaryKeys", ctx_);
        const ResultSet keys = odbc::ReadResult(stmt, {}, ctx_);
        // COLUMN_NAME is the fourth column and KEY_SEQ the fifth.
        std::vector<std::pair<long, std::string>> ordered;
        for (const auto& row : keys.rows) {
            if (row.size() < 5 || row[3].IsNull()) continue;
            const long seq = row[4].IsNull() ? 0 : row[4].ToLong();
            ordered.emplace_back(seq, row[3].ToString());
        }
        std::sort(ordered.begin(), ordered.end());
        std::vector<std::string> out;
        for (auto& [seq, column] : ordered) out.push_back(column);
        return out;
    }

    static bool Matches(const Variant& value, const std::string& restriction) {
        if (restriction.empty()) return true;
        if (value.IsNull() || value.IsEmpty()) return true;  // the driver has no such level
        return text::EqualsNoCase(text::Trim(value.ToString()), text::Trim(restriction));
    }

    static std::string RestrictionText(const std::vector<Variant>& r, std::size_t i) {
        if (i >= r.size() || r[i].IsEmpty() || r[i].IsMissing() || r[i].IsNull()) return {};
        return r[i].ToString();
    }

    // SQLTables answers TABLE_CAT, TABLE_SCHEM, TABLE_NAME, TABLE_TYPE, REMARKS.
    static ResultSet TablesResult(ResultSet raw, const std::vector<Variant>& r) {
        ResultSet out;
        for (const char* name : {"TABLE_CATALOG", "TABLE_SCHEMA", "TABLE_NAME", "TABLE_TYPE"}) {
            out.columns.push_back(ColumnInfo{name, dtype::kVarWChar, 128, true});
        }
        for (auto& row : raw.rows) {
            if (row.size() < 4) continue;
            // Names are patterns for the driver ('_' matches any letter): keep exact matches.
            if (!Matches(row[0], RestrictionText(r, 0)) ||
                !Matches(row[1], RestrictionText(r, 1)) ||
                (!RestrictionText(r, 2).empty() &&
                 !text::EqualsNoCase(row[2].IsNull() ? "" : row[2].ToString(),
                                     RestrictionText(r, 2)))) {
                continue;
            }
            out.rows.push_back({row[0], row[1], row[2], row[3]});
        }
        return out;
    }

    // SQLColumns answers TABLE_CAT, TABLE_SCHEM, TABLE_NAME, COLUMN_NAME, DATA_TYPE,
    // TYPE_NAME, COLUMN_SIZE, ..., NULLABLE (11th), ..., ORDINAL_POSITION (17th).
    static ResultSet ColumnsResult(ResultSet raw, const std::vector<Variant>& r) {
        ResultSet out;
        out.columns = {
            {"TABLE_CATALOG", dtype::kVarWChar, 128, true},
            {"TABLE_SCHEMA", dtype::kVarWChar, 128, true},
            {"TABLE_NAME", dtype::kVarWChar, 128, true},
            {"COLUMN_NAME", dtype::kVarWChar, 128, true},
            {"ORDINAL_POSITION", dtype::kInteger, 4, true},
            {"DATA_TYPE", dtype::kSmallInt, 2, true},
            {"CHARACTER_MAXIMUM_LENGTH", dtype::kInteger, 4, true},
            {"IS_NULLABLE", dtype::kBoolean, 2, true},
        };
        std::int32_t position = 0;
        std::string lastTable;
        for (auto& row : raw.rows) {
            if (row.size() < 11) continue;
            const std::string table = row[2].IsNull() ? std::string() : row[2].ToString();
            if (!Matches(row[0], RestrictionText(r, 0)) ||
                !Matches(row[1], RestrictionText(r, 1)) ||
                (!RestrictionText(r, 2).empty() &&
                 !text::EqualsNoCase(table, RestrictionText(r, 2))) ||
                (!RestrictionText(r, 3).empty() &&
                 !text::EqualsNoCase(row[3].IsNull() ? "" : row[3].ToString(),
                                     RestrictionText(r, 3)))) {
                continue;
            }
            if (!text::EqualsNoCase(table, lastTable)) position = 0;
            lastTable = table;
            ++position;
            const auto sqlType = static_cast<SQLSMALLINT>(row[4].IsNull() ? 0 : row[4].ToLong());
            const int type = odbc::TypeNumber(sqlType, false);
            const bool isText = type == dtype::kChar || type == dtype::kVarChar ||
                                type == dtype::kLongVarChar || type == dtype::kWChar ||
                                type == dtype::kVarWChar || type == dtype::kLongVarWChar;
            std::int32_t ordinal = position;
            if (row.size() > 16 && !row[16].IsNull()) ordinal = row[16].ToLong();
            std::vector<Variant> outRow{row[0],           row[1],
                                        row[2],           row[3],
                                        Variant(ordinal), Variant(static_cast<std::int16_t>(type))};
            if (isText && !row[6].IsNull()) {
                outRow.emplace_back(static_cast<std::int32_t>(row[6].ToLong()));
            } else {
                outRow.push_back(Variant::Null());
            }
            const bool nullable = row[10].IsNull() || row[10].ToLong() != SQL_NO_NULLS;
            outRow.emplace_back(nullable);
            out.rows.push_back(std::move(outRow));
        }
        return out;
    }

    odbc::DiagContext ctx_;
    std::optional<Handle> env_;
    std::optional<Handle> dbc_;
    bool connected_ = false;
    bool inTransaction_ = false;
    bool readOnly_ = false;
    odbc::TargetKind kind_ = odbc::TargetKind::Generic;
    std::string quote_ = "\"";
    std::map<std::string, std::vector<std::string>> keyCache_;
};

}  // namespace

std::unique_ptr<Provider> CreateOdbcProvider() {
    return std::make_unique<OdbcProvider>();
}

}  // namespace adodb
