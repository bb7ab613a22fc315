#include "platform/adodb/sqlite/value_types.h"

#include "platform/adodb/provider.h"
#include "platform/adodb/sqlite/column_types.h"
#include "platform/collation/suite_collation.h"
#include "platform/text/strings.h"

namespace adodb::sqlite {

using ast::Expr;
using Kind = Expr::Kind;

namespace {

int Rank(ValueKind k) {
    switch (k) {
        case ValueKind::Null:
            return 0;
        case ValueKind::Text:
            return 1;
        case ValueKind::Int:
            return 2;
        case ValueKind::Decimal:
            return 3;
        case ValueKind::Float:
            return 4;
        case ValueKind::Date:
            return 5;
        default:
            return -1;
    }
}

ValueType Make(ValueKind kind) {
    ValueType t;
    t.kind = kind;
    return t;
}

long CharCount(std::string_view s) {
    long n = 0;
    for (char c : s) n += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
    return n;
}

}  // namespace

ValueType TypeOfDeclared(std::string_view declared, std::string_view collation) {
    if (text::Trim(declared).empty()) return Make(ValueKind::Unknown);
    if (IsDateType(declared)) return Make(ValueKind::Date);
    const FieldType ft = MapDeclaredType(declared);
    ValueType t;
    switch (ft.type) {
        case dtype::kVarChar:
        case dtype::kVarWChar:
        case dtype::kChar:
        case dtype::kWChar:
        case dtype::kLongVarChar:
        case dtype::kLongVarWChar:
            t.kind = ValueKind::Text;
            t.length = text::Contains(declared, "(") && ft.size < 1073741823 ? ft.size : -1;
            t.suiteOrder = text::EqualsNoCase(collation, collation::kSuiteCollation);
            return t;
        case dtype::kInteger:
        case dtype::kSmallInt:
        case dtype::kTinyInt:
        case dtype::kBigInt:
        case dtype::kBoolean:
            return Make(ValueKind::Int);
        case dtype::kNumeric:
        case dtype::kCurrency:
            return Make(ValueKind::Decimal);
        case dtype::kDouble:
            return Make(ValueKind::Float);
        default:
            return Make(ValueKind::Unknown);
    }
}

ValueType Combine(const ValueType& a, const ValueType& b) {
    if (a.kind == ValueKind::Null) return b;
    if (b.kind == ValueKind::Null) return a;
    const int ra = Rank(a.kind), rb = Rank(b.kind);
    if (ra < 0 || rb < 0) {
        // A value of no known kind makes the whole unknown, unless the other is a date,
        // which the combination becomes whatever the first is.
        if (a.kind == ValueKind::Date || b.kind == ValueKind::Date) return Make(ValueKind::Date);
        return ra < 0 ? a : b;
    }
    if (ra != rb) return ra > rb ? a : b;
    ValueType t = a;
    t.length = a.length < 0 || b.length < 0 ? -1 : std::max(a.length, b.length);
    t.suiteOrder = a.suiteOrder && b.suiteOrder;
    return t;
}

void Scope::Add(std::string exposedName, Columns columns) {
    sources_.push_back({std::move(exposedName), std::move(columns)});
}

const Scope::Columns* Scope::SourceColumns(std::string_view name) const {
    for (const Source& s : sources_) {
        if (text::EqualsNoCase(s.name, name)) return &s.columns;
    }
    return nullptr;
}

Scope::Columns Scope::AllColumns() const {
    Columns all;
    for (const Source& s : sources_) all.insert(all.end(), s.columns.begin(), s.columns.end());
    return all;
}

ValueType Scope::Resolve(const std::vector<std::string>& parts) const {
    if (parts.empty()) return {};
    const std::string& column = parts.back();
    auto find = [&](const Columns& columns) -> const ValueType* {
        for (const auto& [name, type] : columns) {
            if (text::EqualsNoCase(name, column)) return &type;
        }
        return nullptr;
    };
    if (parts.size() >= 2) {
        if (const Columns* columns = SourceColumns(parts[parts.size() - 2])) {
            const ValueType* t = find(*columns);
            return t != nullptr ? *t : ValueType{};
        }
    } else {
        for (const Source& s : sources_) {
            if (const ValueType* t = find(s.columns)) return *t;
        }
        if (const ValueType* t = find(output_)) return *t;
    }
    return outer_ != nullptr ? outer_->Resolve(parts) : ValueType{};
}

Scope Typer::ScopeOf(const ast::Select& s, const Scope* outer) const {
    Scope scope(outer);
    for (const ast::FromItem& item : s.from) {
        AddSource(scope, item.first, outer);
        for (const ast::Join& j : item.joins) AddSource(scope, j.right, outer);
    }
    return scope;
}

void Typer::AddSource(Scope& scope, const ast::TableFactor& f, const Scope* outer) const {
    Scope::Columns columns;
    if (f.derived) {
        columns = ResultColumns(*f.derived, outer);
    } else if (const TableMeta* meta = schema_.Find(f.table)) {
        for (const ColumnMeta& c : meta->columns) {
            columns.emplace_back(c.name, TypeOfDeclared(c.declaredType, c.collation));
        }
    }
    scope.Add(f.ExposedName(), std::move(columns));
}

Scope::Columns Typer::ResultColumns(const ast::Select& s, const Scope* outer) const {
    const Scope scope = ScopeOf(s, outer);
    Scope::Columns out;
    for (const ast::SelectItem& item : s.items) {
        const Expr& e = *item.expr;
        if (e.kind == Kind::Star) {
            if (e.parts.empty()) {
                const Scope::Columns all = scope.AllColumns();
                out.insert(out.end(), all.begin(), all.end());
            } else if (const Scope::Columns* c = scope.SourceColumns(e.parts[0])) {
                out.insert(out.end(), c->begin(), c->end());
            }
            continue;
        }
        const std::string name = !item.alias.empty()      ? item.alias
                                 : e.kind == Kind::Column ? e.ColumnName()
                                                          : std::string();
        out.emplace_back(name, Of(e, scope));
    }
    return out;
}

ValueType Typer::Of(const Expr& e, const Scope& scope) const {
    switch (e.kind) {
        case Kind::Column:
            return scope.Resolve(e.parts);
        case Kind::Star:
            return Make(ValueKind::Unknown);
        case Kind::String: {
            ValueType t = Make(ValueKind::Text);
            t.length = CharCount(e.text);
            return t;
        }
        case Kind::Number:
            if (e.text.find_first_of("eE") != std::string::npos) return Make(ValueKind::Float);
            return Make(e.text.find('.') != std::string::npos ? ValueKind::Decimal
                                                              : ValueKind::Int);
        case Kind::Null:
            return Make(ValueKind::Null);
        case Kind::Negate:
        case Kind::Paren:
            return Of(*e.args[0], scope);
        case Kind::Binary: {
            const ValueType l = Of(*e.args[0], scope), r = Of(*e.args[1], scope);
            if (l.kind == ValueKind::Date || r.kind == ValueKind::Date) {
                return Make(ValueKind::Date);
            }
            if (e.text == "+" && l.kind == ValueKind::Text && r.kind == ValueKind::Text) {
                ValueType t = Make(ValueKind::Text);
                if (l.length >= 0 && r.length >= 0) t.length = l.length + r.length;
                return t;
            }
            ValueType t = Combine(l, r);
            if (t.kind == ValueKind::Text) t = Make(ValueKind::Int);  // text with a number
            t.suiteOrder = false;
            return t;
        }
        case Kind::Compare:
        case Kind::Between:
        case Kind::InList:
        case Kind::InSelect:
        case Kind::Like:
        case Kind::IsNull:
        case Kind::Exists:
        case Kind::Not:
        case Kind::And:
        case Kind::Or:
            return Make(ValueKind::Int);
        case Kind::Function:
            return FunctionType(e, scope);
        case Kind::Convert: {
            ValueType t = TypeOfDeclared(e.type.ToString(), "");
            if (t.kind == ValueKind::Text && e.type.args.empty()) t.length = 30;
            return t;
        }
        case Kind::Case: {
            ValueType t = Make(ValueKind::Null);
            for (const ast::WhenClause& w : e.whens) t = Combine(t, Of(*w.then, scope));
            if (e.elseExpr) t = Combine(t, Of(*e.elseExpr, scope));
            t.suiteOrder = false;
            return t;
        }
        case Kind::Subquery: {
            const Scope::Columns columns = ResultColumns(*e.query, &scope);
            if (columns.empty()) return Make(ValueKind::Unknown);
            ValueType t = columns[0].second;
            t.suiteOrder = false;
            return t;
        }
    }
    return Make(ValueKind::Unknown);
}

ValueType Typer::FunctionType(const Expr& e, const Scope& scope) const {
    const std::string& f = e.text;
    auto arg = [&](std::size_t i) {
        return i < e.args.size() ? Of(*e.args[i], scope) : Make(ValueKind::Unknown);
    };
    if (f == "COUNT" || f == "COUNT_BIG" || f == "LEN" || f == "CHARINDEX" || f == "YEAR" ||
        f == "MONTH" || f == "DAY") {
        return Make(ValueKind::Int);
    }
    if (f == "GETDATE") return Make(ValueKind::Date);
    ValueType t = Make(ValueKind::Unknown);
    if (f == "SUM" || f == "AVG" || f == "MAX" || f == "MIN" || f == "ABS" || f == "ROUND" ||
        f == "NULLIF") {
        t = arg(0);
    } else if (f == "ISNULL") {
        t = arg(0);
        if (t.kind == ValueKind::Null) t = arg(1);
    } else if (f == "COALESCE") {
        t = Make(ValueKind::Null);
        for (std::size_t i = 0; i < e.args.size(); ++i) t = Combine(t, arg(i));
    } else if (f == "LTRIM" || f == "RTRIM" || f == "UPPER" || f == "LOWER" || f == "SUBSTRING" ||
               f == "LEFT" || f == "RIGHT" || f == "REPLACE") {
        t = Make(ValueKind::Text);
        const ValueType a = arg(0);
        if (a.kind == ValueKind::Text && f != "REPLACE") t.length = a.length;
    }
    t.suiteOrder = false;
    return t;
}

}  // namespace adodb::sqlite
