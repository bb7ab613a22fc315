#include "platform/adodb/sqlite/row_writer.h"

#include <cmath>

#include "platform/adodb/sqlite/column_types.h"
#include "platform/adodb/sqlite/date_styles.h"
#include "platform/adodb/sqlite/engine_calls.h"
#include "platform/adodb/sqlite/engine_error.h"
#include "platform/adodb/sqlite/handles.h"
#include "platform/adodb/sqlite/translator.h"

namespace adodb::sqlite {
namespace {

[[noreturn]] void ThrowConversion(const std::string& state, const std::string& description) {
    Error e;
    e.Number = code::kCantConvert;
    e.SQLState = state;
    e.Description = description;
    e.Source = kSource;
    throw ComError(std::move(e));
}

void Bind(sqlite3_stmt* stmt, int index, const Variant& v, const ColumnMeta* column,
          const text::RegionalSettings& dates) {
    const std::string declared = column != nullptr ? column->declaredType : std::string();
    const std::string name = column != nullptr ? column->name : std::string();
    const int type = MapDeclaredType(declared).type;
    switch (v.Type()) {
        case VarType::Empty:
        case VarType::Null:
        case VarType::Missing:
            sqlite3_bind_null(stmt, index);
            return;
        case VarType::Boolean:
            sqlite3_bind_int(stmt, index, v.RawBool() ? 1 : 0);
            return;
        case VarType::Integer:
        case VarType::Long:
            sqlite3_bind_int64(stmt, index, v.RawInt());
            return;
        case VarType::Double:
            sqlite3_bind_double(stmt, index, v.RawDouble());
            return;
        case VarType::Currency:
            sqlite3_bind_double(stmt, index, v.RawCurrency().ToDouble());
            return;
        case VarType::Date: {
            const std::string iso = v.RawDate().ToIso();
            sqlite3_bind_text(stmt, index, iso.c_str(), -1, SQLITE_TRANSIENT);
            return;
        }
        case VarType::String:
            break;
    }
    const std::string& s = v.RawString();
    if (IsDateType(declared)) {
        auto d = ReadDateInStyle(s, -1, dates);
        if (!d) {
            ThrowConversion("22007", "No se puede convertir el texto '" + s +
                                         "' en una fecha (columna " + name + ")");
        }
        const std::string iso = d->ToIso();
        sqlite3_bind_text(stmt, index, iso.c_str(), -1, SQLITE_TRANSIENT);
        return;
    }
    const bool whole = type == dtype::kInteger || type == dtype::kSmallInt ||
                       type == dtype::kTinyInt || type == dtype::kBigInt;
    const bool number = whole || type == dtype::kDouble || type == dtype::kNumeric ||
                        type == dtype::kCurrency || type == dtype::kBoolean;
    if (number) {
        double d = 0;
        try {
            d = type == dtype::kBoolean ? (v.ToBool() ? 1.0 : 0.0) : v.ToDouble();
        } catch (const text::RuntimeError&) {
            ThrowConversion("22018", "No se puede convertir el texto '" + s +
                                         "' en un número (columna " + name + ")");
        }
        if (whole && d == std::trunc(d)) {
            sqlite3_bind_int64(stmt, index, static_cast<sqlite3_int64>(d));
        } else {
            sqlite3_bind_double(stmt, index, d);
        }
        return;
    }
    sqlite3_bind_text(stmt, index, s.c_str(), static_cast<int>(s.size()), SQLITE_TRANSIENT);
}

}  // namespace

long WriteChange(sqlite3* db, const RowChange& change, const SchemaSnapshot& schema,
                 const text::RegionalSettings& dates, int timeoutSeconds) {
    const TableMeta* table = schema.Find(change.table);
    std::string sql;
    std::vector<std::pair<const Variant*, const ColumnMeta*>> params;
    auto meta = [&](const std::string& c) { return table ? table->FindColumn(c) : nullptr; };
    if (change.kind == RowChange::Kind::Insert) {
        std::string names, marks;
        for (std::size_t i = 0; i < change.setColumns.size(); ++i) {
            names += (i ? ", " : "") + QuoteName(change.setColumns[i]);
            marks += i ? ", ?" : "?";
            params.emplace_back(&change.setValues.at(i), meta(change.setColumns[i]));
        }
        sql = "INSERT INTO " + QuoteName(change.table) +
              (names.empty() ? " DEFAULT VALUES" : " (" + names + ") VALUES (" + marks + ")");
    } else {
        sql = "UPDATE " + QuoteName(change.table) + " SET ";
        for (std::size_t i = 0; i < change.setColumns.size(); ++i) {
            sql += (i ? ", " : "") + QuoteName(change.setColumns[i]) + " = ?";
            params.emplace_back(&change.setValues.at(i), meta(change.setColumns[i]));
        }
        for (std::size_t i = 0; i < change.whereColumns.size(); ++i) {
            const Variant& v = change.whereValues.at(i);
            sql += i ? " AND " : " WHERE ";
            if (v.IsNull() || v.IsEmpty()) {
                sql += QuoteName(change.whereColumns[i]) + " IS NULL";
            } else {
                // Exact match: the row is found by its own values, not by a look-alike.
                sql += QuoteName(change.whereColumns[i]) + " = ? COLLATE BINARY";
                params.emplace_back(&v, meta(change.whereColumns[i]));
            }
        }
    }
    StatementHandle stmt = PrepareStatement(db, sql, timeoutSeconds);
    for (std::size_t i = 0; i < params.size(); ++i) {
        Bind(stmt.get(), static_cast<int>(i + 1), *params[i].first, params[i].second, dates);
    }
    if (change.kind == RowChange::Kind::Insert) {
        const int rc = sqlite3_step(stmt.get());
        if (rc != SQLITE_DONE) throw ComError(EngineError(db, rc, timeoutSeconds));
        return static_cast<long>(sqlite3_changes(db));
    }
    // A row found by values that other rows share (no key among the recordset's columns)
    // must not take the others with it: such an update is undone and refused.
    ExecStatements(db, "SAVEPOINT suite_row_change", timeoutSeconds);
    const int rc = sqlite3_step(stmt.get());
    const long changed = static_cast<long>(sqlite3_changes(db));
    if (rc != SQLITE_DONE || changed > 1) {
        Error error = rc != SQLITE_DONE ? EngineError(db, rc, timeoutSeconds) : Error{};
        sqlite3_reset(stmt.get());
        sqlite3_exec(db, "ROLLBACK TO suite_row_change; RELEASE suite_row_change", nullptr, nullptr,
                     nullptr);
        if (rc != SQLITE_DONE) throw ComError(std::move(error));
        error.Number = code::kFail;
        error.SQLState = "HY000";
        error.Source = kSource;
        error.Description = "No se puede identificar la fila a actualizar en " + change.table +
                            ": " + std::to_string(changed) +
                            " filas tienen los mismos valores; no se cambió ninguna";
        throw ComError(std::move(error));
    }
    ExecStatements(db, "RELEASE suite_row_change", timeoutSeconds);
    return changed;
}

}  // namespace adodb::sqlite
