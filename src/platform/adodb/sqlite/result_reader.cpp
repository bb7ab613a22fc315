#include "platform/adodb/sqlite/result_reader.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <stdexcept>

#include "platform/adodb/sqlite/column_types.h"
#include "platform/adodb/sqlite/engine_error.h"

namespace adodb::sqlite {
namespace {

bool IsTextField(int type) {
    return type == dtype::kVarChar || type == dtype::kVarWChar || type == dtype::kChar ||
           type == dtype::kWChar || type == dtype::kLongVarChar || type == dtype::kLongVarWChar;
}

Variant Whole(std::int64_t v) {
    if (v >= std::numeric_limits<std::int32_t>::min() &&
        v <= std::numeric_limits<std::int32_t>::max()) {
        return Variant(static_cast<std::int32_t>(v));
    }
    return Variant(static_cast<double>(v));
}

std::string NumberText(double d) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.15g", d);
    return buf;
}

// The value of column `i` of the current row as a field of type `type` (0: unknown).
Variant ReadValue(sqlite3_stmt* stmt, int i, int type) {
    switch (sqlite3_column_type(stmt, i)) {
        case SQLITE_NULL:
            return Variant::Null();
        case SQLITE_INTEGER: {
            const std::int64_t v = sqlite3_column_int64(stmt, i);
            if (type == dtype::kBoolean) return Variant(v != 0);
            if (type == dtype::kCurrency) return Variant(Currency{v * 10000});
            if (type == dtype::kDouble || type == dtype::kNumeric || type == dtype::kSingle) {
                return Variant(static_cast<double>(v));
            }
            if (type == dtype::kSmallInt && v >= -32768 && v <= 32767) {
                return Variant(static_cast<std::int16_t>(v));
            }
            if (IsTextField(type)) return Variant(std::to_string(v));
            return Whole(v);
        }
        case SQLITE_FLOAT: {
            const double d = sqlite3_column_double(stmt, i);
            if (type == dtype::kBoolean) return Variant(d != 0);
            if (type == dtype::kCurrency) return Variant(Currency::FromDouble(d));
            if (IsTextField(type)) return Variant(NumberText(d));
            return Variant(d);
        }
        default: {
            const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt, i));
            std::string s(p == nullptr ? "" : p,
                          static_cast<std::size_t>(sqlite3_column_bytes(stmt, i)));
            if (type == dtype::kDBTimeStamp || type == dtype::kDate) {
                if (auto d = text::DateTime::FromIso(s)) return Variant(*d);
            }
            return Variant(std::move(s));
        }
    }
}

// Type of a computed column nobody described, from the values it holds.
ColumnInfo Infer(ColumnInfo c, const std::vector<std::vector<Variant>>& rows, std::size_t i) {
    bool anyText = false, anyDouble = false, anyDate = false, anyWhole = false;
    long longest = 1;
    for (const auto& row : rows) {
        const Variant& v = row[i];
        switch (v.Type()) {
            case VarType::String:
                anyText = true;
                longest = std::max(longest, static_cast<long>(v.RawString().size()));
                break;
            case VarType::Double:
                anyDouble = true;
                break;
            case VarType::Date:
                anyDate = true;
                break;
            case VarType::Long:
            case VarType::Integer:
                anyWhole = true;
                break;
            default:
                break;
        }
    }
    if (anyText) {
        c.type = dtype::kVarChar;
        c.definedSize = longest;
    } else if (anyDate && !anyDouble && !anyWhole) {
        c.type = dtype::kDBTimeStamp;
        c.definedSize = 16;
    } else if (anyDouble) {
        c.type = dtype::kDouble;
        c.definedSize = 8;
    } else {
        c.type = dtype::kInteger;
        c.definedSize = 4;
    }
    return c;
}

}  // namespace

ResultSet ReadResult(sqlite3* db, sqlite3_stmt* stmt, const Plan& plan,
                     const SchemaSnapshot& schema, int timeoutSeconds) {
    ResultSet rs;
    const int n = sqlite3_column_count(stmt);
    const TableMeta* base = plan.baseTable.empty() ? nullptr : schema.Find(plan.baseTable);
    // The hidden key columns come last, after the statement's own.
    const int hidden = static_cast<int>(plan.hiddenKey.size());
    if (hidden > n) throw std::logic_error("ReadResult: fewer columns than the hidden key");
    const int shown = n - hidden;
    std::vector<bool> described(static_cast<std::size_t>(n), true);
    for (int i = 0; i < n; ++i) {
        ColumnInfo c;
        if (i < shown) {
            const char* name = sqlite3_column_name(stmt, i);
            c.name = name == nullptr ? "" : name;
        } else {
            c.name = plan.hiddenKey[static_cast<std::size_t>(i - shown)];
        }
        const char* declared = sqlite3_column_decltype(stmt, i);
        FieldType ft = declared != nullptr ? MapDeclaredType(declared) : FieldType{};
        if (ft.type == 0 && i < shown && plan.hints.size() == static_cast<std::size_t>(shown)) {
            ft = {plan.hints[static_cast<std::size_t>(i)].type,
                  plan.hints[static_cast<std::size_t>(i)].size};
        }
        if (ft.type == 0 && declared == nullptr && schema.IsDateColumn(c.name)) {
            ft = {dtype::kDBTimeStamp, 16};
        }
        c.type = ft.type;
        c.definedSize = ft.size;
        described[static_cast<std::size_t>(i)] = ft.type != 0;
        if (base != nullptr) {
            if (const ColumnMeta* meta = base->FindColumn(c.name)) c.nullable = !meta->notNull;
        }
        rs.columns.push_back(std::move(c));
    }
    int rc = SQLITE_OK;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        std::vector<Variant> row;
        row.reserve(static_cast<std::size_t>(n));
        for (int i = 0; i < n; ++i)
            row.push_back(ReadValue(stmt, i, rs.columns[static_cast<std::size_t>(i)].type));
        rs.rows.push_back(std::move(row));
    }
    if (rc != SQLITE_DONE) throw ComError(EngineError(db, rc, timeoutSeconds));
    for (std::size_t i = 0; i < described.size(); ++i) {
        if (!described[i]) rs.columns[i] = Infer(rs.columns[i], rs.rows, i);
    }
    if (base != nullptr) {
        rs.baseTable = base->name;
        rs.keyColumns = plan.rowKey;
    }
    rs.hiddenColumns = hidden;
    return rs;
}

}  // namespace adodb::sqlite
