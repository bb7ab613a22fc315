#include "platform/adodb/odbc/odbc_result.h"

#include <charconv>
#include <cstring>
#include <limits>
#include <optional>
#include <vector>

#include "platform/adodb/odbc/single_table.h"
#include "platform/text/strings.h"

namespace adodb::odbc {
namespace {

// Binary types have no constant among the ones the program tests.
constexpr int kVarBinary = 204;
constexpr int kLongVarBinary = 205;
constexpr int kDBDate = 133;
constexpr int kDBTime = 134;

enum class Fetch { Text, WideText, Binary, Integer, Bit, Floating, Decimal, Date, Time, Stamp };

struct Column {
    ColumnInfo info;
    SQLSMALLINT sqlType = SQL_VARCHAR;
    SQLSMALLINT decimals = 0;
    bool isMoney = false;
    Fetch fetch = Fetch::Text;
    std::string baseTable;
    std::string baseColumn;
};

Fetch FetchFor(SQLSMALLINT t) {
    switch (t) {
        case SQL_WCHAR:
        case SQL_WVARCHAR:
        case SQL_WLONGVARCHAR:
            return Fetch::WideText;
        case SQL_BINARY:
        case SQL_VARBINARY:
        case SQL_LONGVARBINARY:
            return Fetch::Binary;
        case SQL_TINYINT:
        case SQL_SMALLINT:
        case SQL_INTEGER:
        case SQL_BIGINT:
            return Fetch::Integer;
        case SQL_BIT:
            return Fetch::Bit;
        case SQL_REAL:
        case SQL_FLOAT:
        case SQL_DOUBLE:
            return Fetch::Floating;
        case SQL_DECIMAL:
        case SQL_NUMERIC:
            return Fetch::Decimal;
        case SQL_TYPE_DATE:
        case SQL_DATE:
            return Fetch::Date;
        case SQL_TYPE_TIME:
        case SQL_TIME:
            return Fetch::Time;
        case SQL_TYPE_TIMESTAMP:
        case SQL_TIMESTAMP:
            return Fetch::Stamp;
        default:
            return Fetch::Text;
    }
}

std::string ColumnText(const Handle& stmt, SQLUSMALLINT col, SQLUSMALLINT field,
                       const DiagContext& ctx) {
    std::vector<char> buf(512);
    SQLSMALLINT len = 0;
    const SQLRETURN rc = SQLColAttribute(stmt.get(), col, field, buf.data(),
                                         static_cast<SQLSMALLINT>(buf.size()), &len, nullptr);
    // Descriptive attributes are optional: a driver without them leaves the text empty.
    if (!Succeeded(rc)) return {};
    (void)ctx;
    const auto n =
        std::min(static_cast<std::size_t>(std::max<SQLSMALLINT>(len, 0)), buf.size() - 1);
    return std::string(buf.data(), n);
}

Column Describe(const Handle& stmt, SQLUSMALLINT col, const DiagContext& ctx) {
    Column c;
    std::vector<SQLCHAR> name(256);
    SQLSMALLINT nameLen = 0;
    SQLULEN size = 0;
    SQLSMALLINT nullable = SQL_NULLABLE_UNKNOWN;
    Check(SQLDescribeCol(stmt.get(), col, name.data(), static_cast<SQLSMALLINT>(name.size()),
                         &nameLen, &c.sqlType, &size, &c.decimals, &nullable),
          stmt, "SQLDescribeCol", ctx);
    if (nameLen >= static_cast<SQLSMALLINT>(name.size())) {
        name.resize(static_cast<std::size_t>(nameLen) + 1);
        Check(SQLDescribeCol(stmt.get(), col, name.data(), static_cast<SQLSMALLINT>(name.size()),
                             &nameLen, &c.sqlType, &size, &c.decimals, &nullable),
              stmt, "SQLDescribeCol", ctx);
    }
    c.info.name.assign(
        reinterpret_cast<const char*>(name.data()),
        std::min(static_cast<std::size_t>(std::max<SQLSMALLINT>(nameLen, 0)), name.size() - 1));
    const std::string typeName = ColumnText(stmt, col, SQL_DESC_TYPE_NAME, ctx);
    c.isMoney =
        (c.sqlType == SQL_DECIMAL || c.sqlType == SQL_NUMERIC) &&
        (text::EqualsNoCase(typeName, "money") || text::EqualsNoCase(typeName, "smallmoney"));
    c.info.type = TypeNumber(c.sqlType, c.isMoney);
    c.info.definedSize = DefinedSizeFor(c.sqlType, size, c.isMoney);
    c.info.nullable = nullable != SQL_NO_NULLS;
    c.fetch = FetchFor(c.sqlType);
    c.baseTable = ColumnText(stmt, col, SQL_DESC_BASE_TABLE_NAME, ctx);
    c.baseColumn = ColumnText(stmt, col, SQL_DESC_BASE_COLUMN_NAME, ctx);
    return c;
}

// Reads a character or binary value of any length, chunk by chunk. nullopt for NULL.
template <class Unit>
std::optional<std::vector<Unit>> ReadChunks(const Handle& stmt, SQLUSMALLINT col, SQLSMALLINT cType,
                                            const DiagContext& ctx) {
    constexpr std::size_t kChunkUnits = 4096;
    const std::size_t terminator = cType == SQL_C_BINARY ? 0 : 1;
    std::vector<Unit> out;
    std::vector<Unit> buf(kChunkUnits);
    for (;;) {
        SQLLEN ind = 0;
        const SQLLEN bufBytes = static_cast<SQLLEN>(buf.size() * sizeof(Unit));
        const SQLRETURN rc = Check(SQLGetData(stmt.get(), col, cType, buf.data(), bufBytes, &ind),
                                   stmt, "SQLGetData", ctx, OnNoData::Accept);
        if (rc == SQL_NO_DATA) break;
        if (ind == SQL_NULL_DATA) return std::nullopt;
        const std::size_t room = buf.size() - terminator;
        std::size_t units = room;
        if (ind != SQL_NO_TOTAL && static_cast<std::size_t>(ind) / sizeof(Unit) < room) {
            units = static_cast<std::size_t>(ind) / sizeof(Unit);
        }
        out.insert(out.end(), buf.begin(), buf.begin() + static_cast<std::ptrdiff_t>(units));
        if (rc == SQL_SUCCESS) break;  // with information: truncated, more to come
    }
    return out;
}

template <class T>
std::optional<T> ReadFixed(const Handle& stmt, SQLUSMALLINT col, SQLSMALLINT cType,
                           const DiagContext& ctx) {
    T value{};
    SQLLEN ind = 0;
    Check(SQLGetData(stmt.get(), col, cType, &value, sizeof(T), &ind), stmt, "SQLGetData", ctx);
    if (ind == SQL_NULL_DATA) return std::nullopt;
    return value;
}

// A decimal text such as "-123.4500" as a Currency, exactly.
std::optional<Currency> ParseCurrency(std::string_view s) {
    bool negative = false;
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) negative = s[i++] == '-';
    std::int64_t whole = 0;
    std::int64_t frac = 0;
    int fracDigits = 0;
    bool any = false;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i, any = true) {
        whole = whole * 10 + (s[i] - '0');
    }
    if (i < s.size() && s[i] == '.') {
        for (++i; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i, any = true) {
            if (fracDigits < 4) {
                frac = frac * 10 + (s[i] - '0');
                ++fracDigits;
            }
        }
    }
    if (!any || i != s.size()) return std::nullopt;
    for (; fracDigits < 4; ++fracDigits) frac *= 10;
    const std::int64_t scaled = whole * 10000 + frac;
    return Currency{negative ? -scaled : scaled};
}

Variant DecimalValue(const std::string& s, const Column& c) {
    if (c.isMoney) {
        if (auto cur = ParseCurrency(s)) return Variant(*cur);
    }
    double d = 0;
    const auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), d);
    if (ec != std::errc() || ptr != s.data() + s.size()) return Variant(s);
    if (c.decimals == 0 && d >= std::numeric_limits<std::int32_t>::min() &&
        d <= std::numeric_limits<std::int32_t>::max()) {
        return Variant(static_cast<std::int32_t>(d));
    }
    return Variant(d);
}

Variant IntegerValue(std::int64_t v, SQLSMALLINT sqlType) {
    if (sqlType == SQL_SMALLINT || sqlType == SQL_TINYINT) {
        return Variant(static_cast<std::int16_t>(v));
    }
    if (v >= std::numeric_limits<std::int32_t>::min() &&
        v <= std::numeric_limits<std::int32_t>::max()) {
        return Variant(static_cast<std::int32_t>(v));
    }
    return Variant(static_cast<double>(v));
}

Variant ReadValue(const Handle& stmt, SQLUSMALLINT col, const Column& c, const DiagContext& ctx) {
    switch (c.fetch) {
        case Fetch::WideText: {
            auto units = ReadChunks<SQLWCHAR>(stmt, col, SQL_C_WCHAR, ctx);
            if (!units) return Variant::Null();
            return Variant(Utf16ToUtf8(units->data(), units->size()));
        }
        case Fetch::Binary: {
            auto bytes = ReadChunks<char>(stmt, col, SQL_C_BINARY, ctx);
            if (!bytes) return Variant::Null();
            return Variant(std::string(bytes->begin(), bytes->end()));
        }
        case Fetch::Integer: {
            auto v = ReadFixed<SQLBIGINT>(stmt, col, SQL_C_SBIGINT, ctx);
            return v ? IntegerValue(*v, c.sqlType) : Variant::Null();
        }
        case Fetch::Bit: {
            auto v = ReadFixed<unsigned char>(stmt, col, SQL_C_BIT, ctx);
            return v ? Variant(*v != 0) : Variant::Null();
        }
        case Fetch::Floating: {
            auto v = ReadFixed<double>(stmt, col, SQL_C_DOUBLE, ctx);
            return v ? Variant(*v) : Variant::Null();
        }
        case Fetch::Decimal: {
            auto chars = ReadChunks<char>(stmt, col, SQL_C_CHAR, ctx);
            if (!chars) return Variant::Null();
            return DecimalValue(text::Trim(std::string(chars->begin(), chars->end())), c);
        }
        case Fetch::Date: {
            auto v = ReadFixed<SQL_DATE_STRUCT>(stmt, col, SQL_C_TYPE_DATE, ctx);
            if (!v) return Variant::Null();
            return Variant(text::DateTime{v->year, v->month, v->day, 0, 0, 0});
        }
        case Fetch::Time: {
            auto v = ReadFixed<SQL_TIME_STRUCT>(stmt, col, SQL_C_TYPE_TIME, ctx);
            if (!v) return Variant::Null();
            return Variant(text::DateTime{1899, 12, 30, v->hour, v->minute, v->second});
        }
        case Fetch::Stamp: {
            auto v = ReadFixed<SQL_TIMESTAMP_STRUCT>(stmt, col, SQL_C_TYPE_TIMESTAMP, ctx);
            if (!v) return Variant::Null();
            return Variant(
                text::DateTime{v->year, v->month, v->day, v->hour, v->minute, v->second});
        }
        case Fetch::Text:
            break;
    }
    auto chars = ReadChunks<char>(stmt, col, SQL_C_CHAR, ctx);
    if (!chars) return Variant::Null();
    return Variant(std::string(chars->begin(), chars->end()));
}

// The table the result can be written back to: the one the driver names for every
// column, or, when it names none, the single table of a plain query.
std::string BaseTable(const std::vector<Column>& cols, const std::string& sql) {
    bool anyNamed = false;
    std::string table;
    for (const auto& c : cols) {
        if (c.baseTable.empty()) continue;
        anyNamed = true;
        if (table.empty()) table = c.baseTable;
        if (!text::EqualsNoCase(table, c.baseTable)) return {};
    }
    if (anyNamed) {
        for (const auto& c : cols) {
            if (c.baseTable.empty()) return {};  // an expression among the columns
            if (!c.baseColumn.empty() && !text::EqualsNoCase(c.baseColumn, c.info.name)) {
                return {};  // renamed column: its name is not the table's
            }
        }
        return table;
    }
    return SingleTableOf(sql);
}

}  // namespace

int TypeNumber(SQLSMALLINT sqlType, bool isMoney) {
    switch (sqlType) {
        case SQL_CHAR:
            return dtype::kChar;
        case SQL_VARCHAR:
            return dtype::kVarChar;
        case SQL_LONGVARCHAR:
            return dtype::kLongVarChar;
        case SQL_WCHAR:
            return dtype::kWChar;
        case SQL_WVARCHAR:
            return dtype::kVarWChar;
        case SQL_WLONGVARCHAR:
            return dtype::kLongVarWChar;
        case SQL_TINYINT:
            return dtype::kTinyInt;
        case SQL_SMALLINT:
            return dtype::kSmallInt;
        case SQL_INTEGER:
            return dtype::kInteger;
        case SQL_BIGINT:
            return dtype::kBigInt;
        case SQL_REAL:
            return dtype::kSingle;
        case SQL_FLOAT:
        case SQL_DOUBLE:
            return dtype::kDouble;
        case SQL_DECIMAL:
        case SQL_NUMERIC:
            return isMoney ? dtype::kCurrency : dtype::kNumeric;
        case SQL_BIT:
            return dtype::kBoolean;
        case SQL_TYPE_DATE:
        case SQL_DATE:
            return kDBDate;
        case SQL_TYPE_TIME:
        case SQL_TIME:
            return kDBTime;
        case SQL_TYPE_TIMESTAMP:
        case SQL_TIMESTAMP:
            return dtype::kDBTimeStamp;
        case SQL_BINARY:
        case SQL_VARBINARY:
            return kVarBinary;
        case SQL_LONGVARBINARY:
            return kLongVarBinary;
        default:
            return dtype::kVarChar;
    }
}

long DefinedSizeFor(SQLSMALLINT sqlType, SQLULEN columnSize, bool isMoney) {
    switch (FetchFor(sqlType)) {
        case Fetch::Integer:
            return sqlType == SQL_TINYINT    ? 1
                   : sqlType == SQL_SMALLINT ? 2
                   : sqlType == SQL_BIGINT   ? 8
                                             : 4;
        case Fetch::Bit:
            return 2;
        case Fetch::Floating:
            return sqlType == SQL_REAL ? 4 : 8;
        case Fetch::Decimal:
            return isMoney ? 8 : 19;
        case Fetch::Date:
            return 6;
        case Fetch::Time:
            return 6;
        case Fetch::Stamp:
            return 16;
        default:
            break;
    }
    constexpr auto kLimit = static_cast<SQLULEN>(std::numeric_limits<std::int32_t>::max());
    return static_cast<long>(std::min(columnSize, kLimit));
}

ResultSet ReadResult(const Handle& stmt, const std::string& sql, const DiagContext& ctx) {
    SQLSMALLINT count = 0;
    Check(SQLNumResultCols(stmt.get(), &count), stmt, "SQLNumResultCols", ctx);
    std::vector<Column> cols;
    for (SQLUSMALLINT i = 1; i <= static_cast<SQLUSMALLINT>(count); ++i) {
        cols.push_back(Describe(stmt, i, ctx));
    }
    ResultSet rs;
    for (const auto& c : cols) rs.columns.push_back(c.info);
    while (Check(SQLFetch(stmt.get()), stmt, "SQLFetch", ctx, OnNoData::Accept) != SQL_NO_DATA) {
        std::vector<Variant> row;
        row.reserve(cols.size());
        for (SQLUSMALLINT i = 0; i < cols.size(); ++i) {
            row.push_back(ReadValue(stmt, static_cast<SQLUSMALLINT>(i + 1), cols[i], ctx));
        }
        rs.rows.push_back(std::move(row));
    }
    rs.baseTable = BaseTable(cols, sql);
    return rs;
}

std::string Utf16ToUtf8(const SQLWCHAR* units, std::size_t count) {
    std::string out;
    out.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        char32_t cp = units[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < count && units[i + 1] >= 0xDC00 &&
            units[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (static_cast<char32_t>(units[i + 1]) - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = 0xFFFD;
        }
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    return out;
}

}  // namespace adodb::odbc
