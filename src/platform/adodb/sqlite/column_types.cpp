#include "platform/adodb/sqlite/column_types.h"

#include <cstdlib>
#include <initializer_list>
#include <string>

#include "platform/adodb/provider.h"
#include "platform/text/strings.h"

namespace adodb::sqlite {
namespace {

struct Parsed {
    std::string base;  // upper case, blanks trimmed
    long length = -1;  // first argument, -1 when none or MAX
};

Parsed ParseDeclared(std::string_view declared) {
    Parsed p;
    const std::size_t paren = declared.find('(');
    p.base = text::ToUpper(text::Trim(declared.substr(0, paren)));
    if (paren != std::string_view::npos) {
        const std::string arg = text::Trim(declared.substr(paren + 1));
        if (!arg.empty() && arg[0] >= '0' && arg[0] <= '9') p.length = std::atol(arg.c_str());
    }
    return p;
}

bool OneOf(std::string_view base, std::initializer_list<std::string_view> names) {
    for (std::string_view n : names) {
        if (base == n) return true;
    }
    return false;
}

}  // namespace

bool IsDateType(std::string_view declared) {
    return OneOf(ParseDeclared(declared).base, {"DATE", "DATETIME", "SMALLDATETIME", "DATETIME2"});
}

bool IsTextType(std::string_view declared) {
    return OneOf(ParseDeclared(declared).base,
                 {"CHAR", "VARCHAR", "NCHAR", "NVARCHAR", "TEXT", "NTEXT", "CLOB", "CHARACTER",
                  "VARYING CHARACTER", "NATIVE CHARACTER"});
}

FieldType MapDeclaredType(std::string_view declared) {
    const Parsed p = ParseDeclared(declared);
    const std::string_view b = p.base;
    auto text = [&](int type, long fallback) {
        return FieldType{type, p.length > 0 ? p.length : fallback};
    };
    if (b == "VARCHAR") return text(dtype::kVarChar, p.length < 0 ? 2147483647 : 1);
    if (b == "NVARCHAR") return text(dtype::kVarWChar, p.length < 0 ? 1073741823 : 1);
    if (b == "CHAR" || b == "CHARACTER") return text(dtype::kChar, 1);
    if (b == "NCHAR") return text(dtype::kWChar, 1);
    if (b == "TEXT" || b == "CLOB") return {dtype::kLongVarChar, 2147483647};
    if (b == "NTEXT") return {dtype::kLongVarWChar, 1073741823};
    if (b == "INT" || b == "INTEGER") return {dtype::kInteger, 4};
    if (b == "SMALLINT") return {dtype::kSmallInt, 2};
    if (b == "TINYINT") return {dtype::kTinyInt, 1};
    if (b == "BIGINT") return {dtype::kBigInt, 8};
    if (b == "NUMERIC" || b == "DECIMAL") return {dtype::kNumeric, 19};
    if (b == "FLOAT" || b == "REAL" || b == "DOUBLE" || b == "DOUBLE PRECISION") {
        return {dtype::kDouble, 8};
    }
    if (b == "MONEY" || b == "SMALLMONEY") return {dtype::kCurrency, 8};
    if (b == "BIT" || b == "BOOLEAN") return {dtype::kBoolean, 2};
    if (IsDateType(declared)) return {dtype::kDBTimeStamp, 16};
    // Any other spelling: the engine's own affinity rules.
    if (text::Contains(b, "INT")) return {dtype::kInteger, 4};
    if (text::Contains(b, "CHAR") || text::Contains(b, "CLOB") || text::Contains(b, "TEXT")) {
        return {dtype::kLongVarChar, 2147483647};
    }
    if (text::Contains(b, "REAL") || text::Contains(b, "FLOA") || text::Contains(b, "DOUB")) {
        return {dtype::kDouble, 8};
    }
    if (!b.empty() && !text::Contains(b, "BLOB")) return {dtype::kNumeric, 19};
    return {};
}

}  // namespace adodb::sqlite
