#include "platform/adodb/odbc/odbc_params.h"

#include <algorithm>
#include <cstdlib>

namespace adodb::odbc {
namespace {

// Currency as a decimal text with a point: "-12.3400".
std::string CurrencyText(Currency c) {
    const bool negative = c.scaled < 0;
    const auto magnitude = static_cast<unsigned long long>(negative ? -(c.scaled + 1) : c.scaled) +
                           (negative ? 1ULL : 0ULL);
    std::string frac = std::to_string(magnitude % 10000);
    frac.insert(0, 4 - frac.size(), '0');
    return (negative ? "-" : "") + std::to_string(magnitude / 10000) + "." + frac;
}

}  // namespace

void Parameters::Add(const Variant& value) {
    Slot& s = slots_.emplace_back();
    switch (value.Type()) {
        case VarType::Empty:
        case VarType::Null:
        case VarType::Missing:
            s.indicator = SQL_NULL_DATA;
            break;
        case VarType::Boolean:
            s.cType = SQL_C_BIT;
            s.sqlType = SQL_BIT;
            s.bit = value.RawBool() ? 1 : 0;
            break;
        case VarType::Integer:
        case VarType::Long:
            s.cType = SQL_C_SBIGINT;
            s.sqlType = value.Type() == VarType::Integer ? SQL_SMALLINT : SQL_INTEGER;
            s.integer = value.RawInt();
            break;
        case VarType::Double:
            s.cType = SQL_C_DOUBLE;
            s.sqlType = SQL_DOUBLE;
            s.columnSize = 15;
            s.real = value.RawDouble();
            break;
        case VarType::Currency:
            s.sqlType = SQL_DECIMAL;
            s.columnSize = 19;
            s.decimals = 4;
            s.text = CurrencyText(value.RawCurrency());
            s.indicator = static_cast<SQLLEN>(s.text.size());
            break;
        case VarType::Date: {
            const auto& d = value.RawDate();
            s.cType = SQL_C_TYPE_TIMESTAMP;
            s.sqlType = SQL_TYPE_TIMESTAMP;
            s.columnSize = 19;
            s.stamp.year = static_cast<SQLSMALLINT>(d.year);
            s.stamp.month = static_cast<SQLUSMALLINT>(d.month);
            s.stamp.day = static_cast<SQLUSMALLINT>(d.day);
            s.stamp.hour = static_cast<SQLUSMALLINT>(d.hour);
            s.stamp.minute = static_cast<SQLUSMALLINT>(d.minute);
            s.stamp.second = static_cast<SQLUSMALLINT>(d.second);
            break;
        }
        case VarType::String:
            s.text = value.RawString();
            s.indicator = static_cast<SQLLEN>(s.text.size());
            s.columnSize = std::max<SQLULEN>(s.text.size(), 1);
            if (s.text.size() > 8000) s.sqlType = SQL_LONGVARCHAR;
            break;
    }
}

void Parameters::Bind(const Handle& stmt, const DiagContext& ctx) {
    SQLUSMALLINT number = 0;
    for (Slot& s : slots_) {
        ++number;
        SQLPOINTER data = nullptr;
        SQLLEN bufferLength = 0;
        switch (s.cType) {
            case SQL_C_BIT:
                data = &s.bit;
                break;
            case SQL_C_SBIGINT:
                data = &s.integer;
                break;
            case SQL_C_DOUBLE:
                data = &s.real;
                break;
            case SQL_C_TYPE_TIMESTAMP:
                data = &s.stamp;
                break;
            default:
                data = s.text.data();
                bufferLength = static_cast<SQLLEN>(s.text.size());
                break;
        }
        Check(SQLBindParameter(stmt.get(), number, SQL_PARAM_INPUT, s.cType, s.sqlType,
                               s.columnSize, s.decimals, data, bufferLength, &s.indicator),
              stmt, "SQLBindParameter", ctx);
    }
}

}  // namespace adodb::odbc
