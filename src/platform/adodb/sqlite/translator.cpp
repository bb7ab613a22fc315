#include "platform/adodb/sqlite/translator.h"

#include <cstdlib>
#include <optional>
#include <string>
#include <utility>

#include "platform/adodb/error.h"
#include "platform/adodb/provider.h"
#include "platform/adodb/sqlite/column_types.h"
#include "platform/adodb/sqlite/date_styles.h"
#include "platform/adodb/sqlite/dialect_error.h"
#include "platform/adodb/sqlite/expr_search.h"
#include "platform/adodb/sqlite/parser.h"
#include "platform/adodb/sqlite/percent_delete.h"
#include "platform/adodb/sqlite/percent_delete_plan.h"
#include "platform/adodb/sqlite/value_types.h"
#include "platform/collation/suite_collation.h"
#include "platform/text/strings.h"

namespace adodb::sqlite {

using namespace ast;

std::string QuoteName(std::string_view name) {
    return "\"" + text::ReplaceAllExact(name, "\"", "\"\"") + "\"";
}

namespace {

using Kind = Expr::Kind;

// The suite's text order, registered by RegisterSuiteFunctions.
const std::string kTextCollation = std::string(" COLLATE ") + collation::kSuiteCollation;

std::string SqlString(std::string_view value) {
    return "'" + text::ReplaceAllExact(value, "'", "''") + "'";
}

// Reads a TOP count: a whole number (or, with PERCENT, a number with decimals).
struct TopCount {
    long long scaled = 0;   // the number times `divisor`
    long long divisor = 1;  // 10^decimals
};

TopCount ReadTopCount(const Top& top) {
    const std::string& s = top.count;
    TopCount c;
    bool afterPoint = false;
    for (char ch : s) {
        if (ch == '.') {
            if (afterPoint) ThrowSyntax("número de TOP mal formado: " + s);
            afterPoint = true;
            continue;
        }
        if (ch < '0' || ch > '9') ThrowUnsupported("TOP " + s);
        if (c.scaled > 100000000000LL) ThrowUnsupported("TOP " + s + " (número demasiado grande)");
        c.scaled = c.scaled * 10 + (ch - '0');
        if (afterPoint) {
            c.divisor *= 10;
            if (c.divisor > 1000000) ThrowUnsupported("TOP " + s + " (demasiados decimales)");
        }
    }
    if (!top.percent && c.divisor != 1) {
        throw DialectError(code::kErrorsInCommand, "42000",
                           "El número de filas de TOP debe ser entero: " + s);
    }
    if (top.percent && c.scaled > 100 * c.divisor) {
        throw DialectError(code::kErrorsInCommand, "42000",
                           "El porcentaje de TOP debe estar entre 0 y 100: " + s);
    }
    return c;
}

// Makes `scope` the names visible while it lives, then restores the previous ones.
class ScopeUse {
  public:
    ScopeUse(const Scope*& current, const Scope& scope) : current_(current), saved_(current) {
        current_ = &scope;
    }
    ~ScopeUse() { current_ = saved_; }
    ScopeUse(const ScopeUse&) = delete;
    ScopeUse& operator=(const ScopeUse&) = delete;

  private:
    const Scope*& current_;
    const Scope* saved_;
};

bool IsText(const ValueType& t) {
    return t.kind == ValueKind::Text;
}

class Translator {
  public:
    Translator(const SchemaSnapshot& schema, const text::RegionalSettings& dates, RowKeys keys)
        : schema_(schema), dates_(dates), keys_(keys) {}

    Plan Run(const Statement& st) {
        Plan plan;
        std::visit([&](const auto& s) { Build(s, plan); }, st);
        return plan;
    }

  private:
    // ---- statements ----------------------------------------------------------------
    void Build(const Select& s, Plan& plan) {
        plan.kind = Plan::Kind::Query;
        plan.baseTable = BaseTable(s);
        std::vector<std::string> hidden;
        if (const TableMeta* meta =
                plan.baseTable.empty() ? nullptr : schema_.Find(plan.baseTable)) {
            plan.rowKey = RowKeyOf(*meta);
            if (keys_ == RowKeys::Added) {
                // The key columns the statement does not show under their own names, read
                // after its own columns so that what it shows stays as it is.
                const std::string& exposed = s.from[0].first.ExposedName();
                for (const std::string& key : plan.rowKey) {
                    if (Selects(s, key, meta->FindColumn(key) != nullptr)) continue;
                    hidden.push_back(QuoteName(exposed) + "." + QuoteName(key) + " AS " +
                                     QuoteName("suite_key_" + std::to_string(hidden.size() + 1)));
                    plan.hiddenKey.push_back(key);
                }
            }
        }
        plan.sql.push_back(EmitSelect(s, true, nullptr, hidden));
        bool star = false;
        for (const SelectItem& item : s.items) star = star || item.expr->kind == Kind::Star;
        if (!star) {
            const Scope scope = typer_.ScopeOf(s, nullptr);
            ScopeUse use(scope_, scope);
            for (const SelectItem& item : s.items) plan.hints.push_back(Hint(*item.expr));
        }
    }

    // What identifies a row of `table`: its primary key, else the row id (under a name no
    // column of the table takes); empty when there is neither.
    static std::vector<std::string> RowKeyOf(const TableMeta& table) {
        std::vector<std::string> key = table.PrimaryKey();
        if (!key.empty() || table.withoutRowid) return key;
        for (const char* rowid : {"rowid", "_rowid_", "oid"}) {
            if (table.FindColumn(rowid) == nullptr) return {rowid};
        }
        return {};
    }

    // Whether a result column of `s` holds table column `column` under that name (`*` holds
    // every declared column, not the row id).
    static bool Selects(const Select& s, const std::string& column, bool declared) {
        for (const SelectItem& item : s.items) {
            const Expr& e = *item.expr;
            if (e.kind == Kind::Star && declared) return true;
            if (e.kind == Kind::Column && text::EqualsNoCase(e.ColumnName(), column) &&
                (item.alias.empty() || text::EqualsNoCase(item.alias, column))) {
                return true;
            }
        }
        return false;
    }

    void Build(const Delete& d, Plan& plan) {
        if (const auto match = MatchPercentDelete(d, schema_)) {
            plan.kind = Plan::Kind::PercentDelete;
            plan.percentDelete = PlanBatches(d, *match);
            return;
        }
        plan.kind = Plan::Kind::Change;
        Scope scope;
        bool targetNamed = false;
        for (const FromItem& item : d.from) {
            typer_.AddSource(scope, item.first, nullptr);
            targetNamed = targetNamed || text::EqualsNoCase(item.first.ExposedName(), d.target);
            for (const Join& j : item.joins) {
                typer_.AddSource(scope, j.right, nullptr);
                targetNamed = targetNamed || text::EqualsNoCase(j.right.ExposedName(), d.target);
            }
        }
        if (!targetNamed) {
            TableFactor target;
            target.table = d.target;
            typer_.AddSource(scope, target, nullptr);
        }
        ScopeUse use(scope_, scope);
        if (d.from.empty() && !d.top) {
            std::string sql = "DELETE FROM " + QuoteName(d.target);
            if (d.where) sql += " WHERE " + EmitExpr(*d.where);
            plan.sql.push_back(std::move(sql));
            return;
        }
        // DELETE t FROM <sources> WHERE <condition>: SQL Server joins the target to the
        // sources (implicitly when the sources do not name it). The rows to delete are
        // found by row id, which lets the engine drive the search from the sources and
        // reach each target row through its key instead of scanning the target table.
        std::string table = d.target;
        std::string exposed = d.target;
        bool inSources = false;
        for (const FromItem& item : d.from) {
            auto check = [&](const TableFactor& f) {
                if (!text::EqualsNoCase(f.ExposedName(), d.target)) return;
                if (f.table.empty()) ThrowUnsupported("DELETE de una tabla derivada");
                table = f.table;
                exposed = f.ExposedName();
                inSources = true;
            };
            check(item.first);
            for (const Join& j : item.joins) check(j.right);
        }
        const TableMeta* meta = schema_.Find(table);
        if (meta != nullptr && meta->withoutRowid) {
            ThrowUnsupported("DELETE ... FROM sobre la tabla " + table + " (WITHOUT ROWID)");
        }
        std::string inner = "SELECT " + QuoteName(exposed) + ".rowid FROM ";
        if (!inSources) inner += QuoteName(table);
        if (!d.from.empty()) inner += (inSources ? "" : ", ") + EmitFrom(d.from);
        if (d.where) inner += " WHERE " + EmitExpr(*d.where);
        if (d.top) inner += " LIMIT " + LimitFor(*d.top, d.from, d.where.get(), inSources, table);
        plan.sql.push_back("DELETE FROM " + QuoteName(table) + " WHERE rowid IN (" + inner + ")");
    }

    // ---- batched deletes through a TOP PERCENT derived table ----------------------
    // Writes the parts of a matched statement, each with the names it is read with.
    PercentDelete PlanBatches(const Delete& d, const PercentDeleteMatch& match) {
        const Select& s = *match.derived->derived;
        PercentDeleteParts parts;
        {
            const Scope inner = typer_.ScopeOf(s, nullptr);
            ScopeUse use(scope_, inner);
            for (const PercentDeleteMatch::Kept& k : match.kept) {
                parts.kept.push_back(k.expr != nullptr ? EmitExpr(*k.expr) : k.column);
            }
            const TopCount count = ReadTopCount(*s.top);
            parts.percentScaled = count.scaled;
            parts.percentDivisor = count.divisor;
            parts.derivedTail = EmitTail(s);
        }
        Scope outerScope;
        TableFactor targetTable;
        targetTable.table = d.target;
        typer_.AddSource(outerScope, targetTable, nullptr);
        typer_.AddSource(outerScope, *match.derived, nullptr);
        ScopeUse use(scope_, outerScope);
        if (d.where) parts.condition = EmitExpr(*d.where);
        return PlanPercentDelete(d, match, parts);
    }

    void Build(const Insert& ins, Plan& plan) {
        plan.kind = Plan::Kind::Change;
        targetTable_ = ins.table;
        std::vector<std::string> targets = ins.columns;
        if (targets.empty()) {
            if (const TableMeta* meta = schema_.Find(ins.table)) {
                for (const ColumnMeta& c : meta->columns) targets.push_back(c.name);
            }
        }
        std::string sql = "INSERT INTO " + QuoteName(ins.table);
        if (!ins.columns.empty()) {
            sql += " (";
            for (std::size_t i = 0; i < ins.columns.size(); ++i) {
                sql += (i ? ", " : "") + QuoteName(ins.columns[i]);
            }
            sql += ")";
        }
        if (ins.defaultValues) {
            sql += " DEFAULT VALUES";
        } else if (ins.select) {
            sql += " " + EmitSelect(*ins.select, false, &targets);
        } else {
            sql += " VALUES ";
            for (std::size_t r = 0; r < ins.rows.size(); ++r) {
                sql += r ? ", (" : "(";
                for (std::size_t i = 0; i < ins.rows[r].size(); ++i) {
                    if (i) sql += ", ";
                    sql += EmitValueFor(i < targets.size() ? targets[i] : std::string(),
                                        *ins.rows[r][i]);
                }
                sql += ")";
            }
        }
        plan.sql.push_back(std::move(sql));
    }

    void Build(const Update& u, Plan& plan) {
        plan.kind = Plan::Kind::Change;
        Scope scope;
        TableFactor target;
        target.table = u.table;
        typer_.AddSource(scope, target, nullptr);
        ScopeUse use(scope_, scope);
        targetTable_ = u.table;
        std::string sql = "UPDATE " + QuoteName(u.table) + " SET ";
        for (std::size_t i = 0; i < u.sets.size(); ++i) {
            if (i) sql += ", ";
            sql += QuoteName(u.sets[i].first) + " = " +
                   EmitValueFor(u.sets[i].first, *u.sets[i].second);
        }
        if (u.where) sql += " WHERE " + EmitExpr(*u.where);
        plan.sql.push_back(std::move(sql));
    }

    void Build(const AlterAdd& a, Plan& plan) {
        plan.kind = Plan::Kind::Schema;
        for (const ColumnDef& c : a.columns) {
            if (c.primaryKey || c.unique || c.identity) {
                ThrowUnsupported("ALTER TABLE ... ADD de la columna " + c.name +
                                 " con PRIMARY KEY, UNIQUE o IDENTITY");
            }
            const bool hasDefault = c.defaultValue && Unwrap(*c.defaultValue).kind != Kind::Null;
            if (c.notNull && !hasDefault) {
                // The engine cannot give existing rows a value for the new column.
                ThrowUnsupported("ALTER TABLE ... ADD de la columna " + c.name +
                                 " NOT NULL sin valor por defecto (DEFAULT)");
            }
            plan.sql.push_back("ALTER TABLE " + QuoteName(a.table) + " ADD COLUMN " +
                               ColumnDefinition(c, false));
            if (!c.notNull && hasDefault) {
                // SQL Server leaves existing rows Null when a nullable column with a default
                // is added; the engine would show them the default.
                plan.sql.push_back("UPDATE " + QuoteName(a.table) + " SET " + QuoteName(c.name) +
                                   " = NULL");
            }
        }
    }

    void Build(const CreateTable& ct, Plan& plan) {
        plan.kind = Plan::Kind::Schema;
        std::string sql = "CREATE TABLE " + QuoteName(ct.table) + " (";
        for (std::size_t i = 0; i < ct.columns.size(); ++i) {
            const ColumnDef& c = ct.columns[i];
            if (c.identity && !ct.primaryKey.empty()) {
                ThrowUnsupported("columna IDENTITY " + c.name +
                                 " en una tabla con otra clave primaria");
            }
            sql += (i ? ", " : "") + ColumnDefinition(c, true);
        }
        auto list = [](const std::vector<std::string>& names) {
            std::string out;
            for (std::size_t i = 0; i < names.size(); ++i)
                out += (i ? ", " : "") + QuoteName(names[i]);
            return out;
        };
        if (!ct.primaryKey.empty()) sql += ", PRIMARY KEY (" + list(ct.primaryKey) + ")";
        for (const auto& u : ct.uniques) sql += ", UNIQUE (" + list(u) + ")";
        plan.sql.push_back(sql + ")");
    }

    void Build(const CreateIndex& ci, Plan& plan) {
        plan.kind = Plan::Kind::Schema;
        std::string sql = std::string("CREATE ") + (ci.unique ? "UNIQUE " : "") + "INDEX " +
                          QuoteName(ci.name) + " ON " + QuoteName(ci.table) + " (";
        for (std::size_t i = 0; i < ci.columns.size(); ++i) {
            sql += (i ? ", " : "") + QuoteName(ci.columns[i].first) +
                   (ci.columns[i].second ? " DESC" : "");
        }
        plan.sql.push_back(sql + ")");
    }

    void Build(const DropTable& dt, Plan& plan) {
        plan.kind = Plan::Kind::Schema;
        plan.sql.push_back("DROP TABLE " + QuoteName(dt.table));
    }

    void Build(const Transaction& t, Plan& plan) {
        switch (t.kind) {
            case Transaction::Kind::Begin:
                plan.kind = Plan::Kind::Begin;
                break;
            case Transaction::Kind::Commit:
                plan.kind = Plan::Kind::Commit;
                break;
            case Transaction::Kind::Rollback:
                plan.kind = Plan::Kind::Rollback;
                break;
        }
    }

    void Build(const SetDateFormat& s, Plan& plan) {
        plan.kind = Plan::Kind::SetDateFormat;
        plan.dateOrder = s.order;
    }

    void Build(const SetNoCount&, Plan& plan) { plan.kind = Plan::Kind::NoOp; }

    // ---- pieces of statements ------------------------------------------------------
    std::string ColumnDefinition(const ColumnDef& c, bool creating) {
        const std::string type = c.type.ToString();
        std::string sql = QuoteName(c.name) + " ";
        if (c.identity) {
            // The engine numbers rows itself through an INTEGER PRIMARY KEY.
            return sql + "INTEGER PRIMARY KEY AUTOINCREMENT";
        }
        sql += type;
        if (IsTextType(type)) sql += kTextCollation;
        if (c.notNull) sql += " NOT NULL";
        if (c.primaryKey) sql += " PRIMARY KEY";
        if (c.unique) sql += " UNIQUE";
        if (c.defaultValue) sql += " DEFAULT " + DefaultValue(c, creating);
        return sql;
    }

    static const Expr& Unwrap(const Expr& e) {
        const Expr* p = &e;
        while (p->kind == Kind::Paren) p = p->args[0].get();
        return *p;
    }

    std::string DefaultValue(const ColumnDef& c, bool creating) {
        const Expr& v = Unwrap(*c.defaultValue);
        const bool isDate = IsDateType(c.type.ToString());
        switch (v.kind) {
            case Kind::Null:
                return "NULL";
            case Kind::Number:
                return isDate ? DateLiteral(v, c.name) : v.text;
            case Kind::String:
                return isDate ? DateLiteral(v, c.name) : SqlString(v.text);
            case Kind::Function:
                if (v.text == "GETDATE" && v.args.empty()) {
                    if (!creating) {
                        ThrowUnsupported("ALTER TABLE ... ADD con valor por defecto GETDATE()");
                    }
                    return "(datetime('now','localtime'))";
                }
                break;
            default:
                break;
        }
        ThrowUnsupported("valor por defecto no constante en la columna " + c.name);
    }

    std::string EmitFrom(const std::vector<FromItem>& from) {
        std::string out;
        for (std::size_t i = 0; i < from.size(); ++i) {
            if (i) out += ", ";
            out += EmitFactor(from[i].first);
            for (const Join& j : from[i].joins) {
                out += " " + j.type + " " + EmitFactor(j.right);
                if (j.on) out += " ON " + EmitExpr(*j.on);
            }
        }
        return out;
    }

    std::string EmitFactor(const TableFactor& f) {
        std::string out =
            f.derived ? "(" + EmitSelect(*f.derived, false, nullptr) + ")" : QuoteName(f.table);
        if (!f.alias.empty()) out += " AS " + QuoteName(f.alias);
        return out;
    }

    // `targets`: the columns an INSERT ... SELECT writes, so literals written into date
    // columns are read as dates.
    // `hidden`: columns read after those of the (first) SELECT.
    std::string EmitSelect(const Select& s, bool topLevel, const std::vector<std::string>* targets,
                           const std::vector<std::string>& hidden = {}) {
        std::string out = EmitCore(s, topLevel, targets, hidden);
        // ORDER BY and TOP see the first SELECT's sources and its output names.
        Scope scope = typer_.ScopeOf(s, scope_);
        scope.AddOutput(typer_.ResultColumns(s, scope_));
        ScopeUse use(scope_, scope);
        for (const auto& [op, core] : s.unions) {
            if (core->top) ThrowUnsupported("TOP dentro de UNION");
            if (!core->orderBy.empty()) ThrowSyntax("ORDER BY dentro de UNION");
            out += " " + op + " " + EmitCore(*core, topLevel, targets, {}, true);
        }
        if (!s.orderBy.empty()) {
            out += " ORDER BY ";
            for (std::size_t i = 0; i < s.orderBy.size(); ++i) {
                out += (i ? ", " : "") + EmitOrdered(*s.orderBy[i].expr) +
                       (s.orderBy[i].descending ? " DESC" : "");
            }
        }
        if (s.top) out += " LIMIT " + LimitFor(s);
        return out;
    }

    // `united`: the SELECT is one of a UNION, whose rows are told apart as DISTINCT's are.
    std::string EmitCore(const Select& s, bool topLevel, const std::vector<std::string>* targets,
                         const std::vector<std::string>& hidden = {}, bool united = false) {
        const Scope scope = typer_.ScopeOf(s, scope_);
        ScopeUse use(scope_, scope);
        united = united || !s.unions.empty();
        std::string out = s.distinct ? "SELECT DISTINCT " : "SELECT ";
        for (std::size_t i = 0; i < s.items.size(); ++i) {
            const SelectItem& item = s.items[i];
            if (i) out += ", ";
            if (targets != nullptr && i < targets->size()) {
                out += EmitValueFor((*targets)[i], *item.expr);
            } else {
                out += EmitExpr(*item.expr);
            }
            // Rows told apart by their values compare texts in the suite's order.
            bool collated = false;
            if ((s.distinct || united) && item.expr->kind != Kind::Star) {
                collated = NeedsCollation(*item.expr);
                if (collated) out += kTextCollation;
            }
            if (!item.alias.empty()) {
                out += " AS " + QuoteName(item.alias);
            } else if (collated && item.expr->kind == Kind::Column) {
                out += " AS " + QuoteName(item.expr->ColumnName());
            } else if (topLevel && item.expr->kind != Kind::Column &&
                       item.expr->kind != Kind::Star) {
                // SQL Server leaves a computed column without a name.
                out += " AS \"\"";
            }
        }
        for (const std::string& column : hidden) out += ", " + column;
        out += EmitTail(s);
        return out;
    }

    // FROM, WHERE, GROUP BY and HAVING of a SELECT.
    std::string EmitTail(const Select& s) {
        std::string out;
        if (!s.from.empty()) out += " FROM " + EmitFrom(s.from);
        if (s.where) out += " WHERE " + EmitExpr(*s.where);
        if (!s.groupBy.empty()) {
            out += " GROUP BY ";
            for (std::size_t i = 0; i < s.groupBy.size(); ++i) {
                out += (i ? ", " : "") + EmitOrdered(*s.groupBy[i]);
            }
        }
        if (s.having) out += " HAVING " + EmitExpr(*s.having);
        return out;
    }

    // TOP n -> n; TOP n PERCENT -> the number of rows SQL Server takes: n percent of the
    // rows the query gives, rounded up, counted by a subquery over the same sources.
    std::string LimitFor(const Select& s) {
        const TopCount c = ReadTopCount(*s.top);
        if (!s.top->percent) return std::to_string(c.scaled);
        std::string counted;
        if (s.groupBy.empty() && !s.distinct && !s.having) {
            bool aggregate = false;
            for (const SelectItem& item : s.items)
                aggregate = aggregate || ContainsAggregate(item.expr.get());
            // An aggregate without GROUP BY gives exactly one row.
            if (aggregate) return PercentOf("1", c);
            return "(SELECT " + PercentOf("COUNT(*)", c) + EmitTail(s) + ")";
        }
        std::string inner = s.distinct ? "SELECT DISTINCT " : "SELECT ";
        if (s.distinct) {
            for (std::size_t i = 0; i < s.items.size(); ++i) {
                inner += (i ? ", " : "") + EmitExpr(*s.items[i].expr);
            }
        } else {
            inner += "1";
        }
        inner += EmitTail(s);
        return "(SELECT " + PercentOf("COUNT(*)", c) + " FROM (" + inner + "))";
    }

    // DELETE TOP (n) [PERCENT]: over the rows the delete's join selects.
    std::string LimitFor(const Top& top, const std::vector<FromItem>& from, const Expr* where,
                         bool inSources, const std::string& table) {
        const TopCount c = ReadTopCount(top);
        if (!top.percent) return std::to_string(c.scaled);
        std::string sources = inSources ? std::string() : QuoteName(table);
        if (!from.empty()) sources += (inSources ? "" : ", ") + EmitFrom(from);
        std::string sql = "(SELECT " + PercentOf("COUNT(*)", c) + " FROM " + sources;
        if (where) sql += " WHERE " + EmitExpr(*where);
        return sql + ")";
    }

    static std::string PercentOf(const std::string& count, const TopCount& c) {
        return PercentOfSql(count, c.scaled, c.divisor);
    }

    // ---- expressions ---------------------------------------------------------------
    ValueType TypeOf(const Expr& e) const {
        static const Scope kNone;
        return typer_.Of(e, scope_ != nullptr ? *scope_ : kNone);
    }

    bool IsDateExpr(const Expr& e) const { return TypeOf(e).kind == ValueKind::Date; }

    // A text that is not already compared in the suite's order (a column declared with
    // another collation, a literal, a function's result).
    bool NeedsCollation(const Expr& e) const {
        const ValueType t = TypeOf(e);
        return IsText(t) && !t.suiteOrder;
    }

    // An ORDER BY or GROUP BY term: texts in the suite's order.
    std::string EmitOrdered(const Expr& e) {
        return EmitExpr(e) + (NeedsCollation(e) ? kTextCollation : std::string());
    }

    static bool IsLiteral(const Expr& e) {
        return e.kind == Kind::String || e.kind == Kind::Number;
    }

    // A literal read as a date (text in the session's date order, a number as a count of
    // days from 1900-01-01), written as the ISO text the date columns hold.
    std::string DateLiteral(const Expr& lit, const std::string& column) const {
        if (lit.kind == Kind::Number) {
            if (auto d = DateFromServerDays(std::strtod(lit.text.c_str(), nullptr))) {
                return SqlString(d->ToIso());
            }
        } else if (auto d = ReadDateInStyle(lit.text, -1, dates_)) {
            return SqlString(d->ToIso());
        }
        throw DialectError(code::kCantConvert, "22007",
                           "No se puede convertir el texto '" + lit.text + "' en una fecha" +
                               (column.empty() ? std::string() : " (columna " + column + ")"));
    }

    std::string DateLiteralAgainst(const Expr& lit, const Expr& dateSide) const {
        return DateLiteral(lit, dateSide.ColumnName());
    }

    // A value written into a column of the table being written: a text going into a date
    // column is read as a date (a literal now, anything else when the statement runs).
    std::string EmitValueFor(const std::string& column, const Expr& value) {
        const Expr& v = Unwrap(value);
        const TableMeta* table = targetTable_.empty() ? nullptr : schema_.Find(targetTable_);
        const ColumnMeta* meta = table != nullptr ? table->FindColumn(column) : nullptr;
        if (column.empty() || meta == nullptr || !IsDateType(meta->declaredType)) {
            return EmitExpr(value);
        }
        if (IsLiteral(v)) return DateLiteral(v, column);
        const ValueKind kind = TypeOf(v).kind;
        if (kind == ValueKind::Date || kind == ValueKind::Null) return EmitExpr(value);
        return "suite_date(" + EmitExpr(value) + ", -1, 0)";
    }

    // One side of a comparison, converted to the kind SQL Server compares both sides in:
    // a date when the other side is one, a number when the other side is one and this is
    // a text. A text compared with a value of no known kind is refused, as it could be
    // either a date or a text comparison.
    std::string EmitCompared(const Expr& side, const ValueType& own, const Expr& other,
                             const ValueType& theirs) {
        const Expr& v = Unwrap(side);
        if (theirs.kind == ValueKind::Date && own.kind != ValueKind::Date &&
            own.kind != ValueKind::Null) {
            if (IsLiteral(v)) return DateLiteralAgainst(v, Unwrap(other));
            return "suite_date(" + EmitExpr(side) + ", -1, 0)";
        }
        if (theirs.IsNumber() && IsText(own)) {
            if (v.kind == Kind::String) return NumberLiteral(v.text, theirs.kind == ValueKind::Int);
            return (theirs.kind == ValueKind::Int ? "suite_int(" : "suite_num(") + EmitExpr(side) +
                   (theirs.kind == ValueKind::Int ? ")" : ", -1)");
        }
        if (own.kind == ValueKind::Unresolved && v.kind == Kind::Column &&
            Unwrap(other).kind == Kind::String) {
            // Not a column of the statement's sources (the engine would take a result
            // column's alias for it): its kind, and so the comparison, cannot be told.
            throw DialectError(code::kErrorsInCommand, "42S22",
                               "Nombre de columna no válido: " + v.ColumnName());
        }
        if (own.kind == ValueKind::Unknown && IsText(theirs)) {
            throw DialectError(code::kErrorsInCommand, "42000",
                               "No se puede saber de qué tipo es el valor comparado con el texto "
                               "de la sentencia (una columna sin tipo declarado); conviértalo "
                               "con CONVERT");
        }
        return EmitExpr(side);
    }

    // Whether two values compared as texts need the suite's order written out.
    static bool TextPair(const ValueType& a, const ValueType& b) {
        const bool ta = IsText(a) || a.kind == ValueKind::Unresolved;
        const bool tb = IsText(b) || b.kind == ValueKind::Unresolved;
        if (!ta || !tb || (!IsText(a) && !IsText(b))) return false;
        return !(a.suiteOrder && b.suiteOrder);
    }

    // A text literal compared with a number, read as SQL Server converts it.
    static std::string NumberLiteral(const std::string& literal, bool whole) {
        const std::string t = text::Trim(literal);
        char* end = nullptr;
        if (!t.empty()) {
            if (whole) {
                const long long n = std::strtoll(t.c_str(), &end, 10);
                if (*end == '\0') return std::to_string(n);
            } else {
                std::strtod(t.c_str(), &end);
                if (*end == '\0' && t.find_first_of("0123456789") != std::string::npos) return t;
            }
        }
        throw DialectError(
            code::kCantConvert, "22018",
            "Error al convertir el valor '" + literal + "' en " + (whole ? "int" : "un número"));
    }

    std::string EmitExpr(const Expr& e) {
        switch (e.kind) {
            case Kind::Column: {
                std::string out;
                for (std::size_t i = 0; i < e.parts.size(); ++i) {
                    out += (i ? "." : "") + QuoteName(e.parts[i]);
                }
                return out;
            }
            case Kind::Star:
                return e.parts.empty() ? "*" : QuoteName(e.parts[0]) + ".*";
            case Kind::String:
                return SqlString(e.text);
            case Kind::Number:
                return e.text;
            case Kind::Null:
                return "NULL";
            case Kind::Negate:
                return "(-" + EmitExpr(*e.args[0]) + ")";
            case Kind::Paren:
                return "(" + EmitExpr(*e.args[0]) + ")";
            case Kind::Not:
                return "(NOT " + EmitExpr(*e.args[0]) + ")";
            case Kind::And:
            case Kind::Or:
                return "(" + EmitExpr(*e.args[0]) + " " + e.text + " " + EmitExpr(*e.args[1]) + ")";
            case Kind::Binary:
                return EmitBinary(e);
            case Kind::Compare:
                return EmitCompare(e);
            case Kind::Between:
                return EmitBetween(e);
            case Kind::InList:
                return EmitInList(e);
            case Kind::InSelect:
                return EmitInSelect(e);
            case Kind::Like: {
                // LIKE is the suite's own case-insensitive function (RegisterSuiteFunctions).
                std::string out = "(" + EmitExpr(*e.args[0]) +
                                  (e.negated ? " NOT LIKE " : " LIKE ") + EmitExpr(*e.args[1]);
                if (e.args.size() > 2) out += " ESCAPE " + EmitExpr(*e.args[2]);
                return out + ")";
            }
            case Kind::IsNull:
                return "(" + EmitExpr(*e.args[0]) + (e.negated ? " IS NOT NULL)" : " IS NULL)");
            case Kind::Exists:
                return std::string(e.negated ? "(NOT EXISTS (" : "(EXISTS (") +
                       EmitSelect(*e.query, false, nullptr) + "))";
            case Kind::Subquery:
                return "(" + EmitSelect(*e.query, false, nullptr) + ")";
            case Kind::Case:
                return EmitCase(e);
            case Kind::Function:
                return EmitFunction(e);
            case Kind::Convert:
                return EmitConvert(e);
        }
        ThrowUnsupported("expresión");
    }

    // An exact number's sum, difference or product is held as a binary fraction by the
    // engine: rounding it to its decimals gives the exact result again (0.1 + 0.2 = 0.3).
    std::string ExactResult(const Expr& e, std::string sql) const {
        const ValueType t = TypeOf(e);
        if (t.kind != ValueKind::Decimal || t.scale < 0 || t.scale > 15) return sql;
        return "ROUND(" + sql + ", " + std::to_string(t.scale) + ")";
    }

    std::string EmitBinary(const Expr& e) {
        const Expr& l = *e.args[0];
        const Expr& r = *e.args[1];
        const bool literals = l.kind == Kind::Number && r.kind == Kind::Number;
        if (e.text == "+" && !literals) {
            // "+" adds numbers, joins texts and adds days to dates, decided on the values.
            return ExactResult(e, "suite_add(" + EmitExpr(l) + ", " + EmitExpr(r) + ")");
        }
        if ((e.text == "-" || e.text == "*") && !literals) {
            return ExactResult(e, "(" + EmitExpr(l) + " " + e.text + " " + EmitExpr(r) + ")");
        }
        if (e.text == "/") {
            // An exact number (NUMERIC, DECIMAL, MONEY) may be stored as a whole number: the
            // division must still keep its decimals.
            const ValueType tl = TypeOf(l), tr = TypeOf(r);
            const auto exact = [](const ValueType& t) {
                return t.kind == ValueKind::Decimal || t.kind == ValueKind::Float;
            };
            if ((exact(tl) && l.kind != Kind::Number) || (exact(tr) && r.kind != Kind::Number)) {
                return "(CAST(" + EmitExpr(l) + " AS REAL) / " + EmitExpr(r) + ")";
            }
        }
        return "(" + EmitExpr(l) + " " + e.text + " " + EmitExpr(r) + ")";
    }

    std::string EmitCompare(const Expr& e) {
        const Expr& a = *e.args[0];
        const Expr& b = *e.args[1];
        const ValueType ta = TypeOf(a), tb = TypeOf(b);
        const std::string l = EmitCompared(a, ta, b, tb);
        const std::string r = EmitCompared(b, tb, a, ta);
        return "(" + l + " " + e.text + " " + r + (TextPair(ta, tb) ? kTextCollation : "") + ")";
    }

    std::string EmitBetween(const Expr& e) {
        const Expr& value = *e.args[0];
        const ValueType tv = TypeOf(value);
        const ValueType tl = TypeOf(*e.args[1]), th = TypeOf(*e.args[2]);
        auto bound = [&](const Expr& b, const ValueType& tb) {
            return EmitCompared(b, tb, value, tv) + (TextPair(tv, tb) ? kTextCollation : "");
        };
        return "(" + EmitCompared(value, tv, *e.args[1], Combine(tl, th)) +
               (e.negated ? " NOT BETWEEN " : " BETWEEN ") + bound(*e.args[1], tl) + " AND " +
               bound(*e.args[2], th) + ")";
    }

    std::string EmitInList(const Expr& e) {
        const Expr& value = *e.args[0];
        const ValueType tv = TypeOf(value);
        ValueType listType;
        listType.kind = ValueKind::Null;
        bool collate = false;
        std::string items;
        for (std::size_t i = 1; i < e.args.size(); ++i) {
            const Expr& item = *e.args[i];
            const ValueType ti = TypeOf(item);
            listType = Combine(listType, ti);
            collate = collate || TextPair(tv, ti);
            items += (i > 1 ? ", " : "") + EmitCompared(item, ti, value, tv);
        }
        // The list takes its collation from the value on the left.
        return "(" + EmitCompared(value, tv, *e.args[1], listType) +
               (collate ? kTextCollation : "") + (e.negated ? " NOT IN (" : " IN (") + items + "))";
    }

    std::string EmitInSelect(const Expr& e) {
        const Expr& value = *e.args[0];
        const ValueType tv = TypeOf(value);
        const Scope::Columns columns = typer_.ResultColumns(*e.query, scope_);
        const ValueType ts = columns.empty() ? ValueType{} : columns[0].second;
        return "(" + EmitExpr(value) + (TextPair(tv, ts) ? kTextCollation : "") +
               (e.negated ? " NOT IN (" : " IN (") + EmitSelect(*e.query, false, nullptr) + "))";
    }

    std::string EmitCase(const Expr& e) {
        std::string out = "CASE";
        const Expr* operand = e.args[0].get();
        ValueType to;
        if (operand != nullptr) {
            to = TypeOf(*operand);
            out += " " + EmitExpr(*operand);
        }
        for (const WhenClause& w : e.whens) {
            std::string when = EmitExpr(*w.when);
            if (operand != nullptr) {
                // CASE x WHEN v compares x = v.
                const ValueType tw = TypeOf(*w.when);
                when = EmitCompared(*w.when, tw, *operand, to) +
                       (TextPair(to, tw) ? kTextCollation : "");
            }
            out += " WHEN " + when + " THEN " + EmitExpr(*w.then);
        }
        if (e.elseExpr) out += " ELSE " + EmitExpr(*e.elseExpr);
        return out + " END";
    }

    void CheckArity(const Expr& e, std::size_t min, std::size_t max) const {
        if (e.star || e.args.size() < min || e.args.size() > max) {
            throw DialectError(code::kErrorsInCommand, "42000",
                               "Número de argumentos incorrecto en la función " + e.text);
        }
    }

    std::string Args(const Expr& e) {
        std::string out;
        for (std::size_t i = 0; i < e.args.size(); ++i)
            out += (i ? ", " : "") + EmitExpr(*e.args[i]);
        return out;
    }

    std::string EmitFunction(const Expr& e) {
        const std::string& f = e.text;
        if (IsAggregate(f)) {
            if (e.star) {
                if (f != "COUNT" && f != "COUNT_BIG") ThrowSyntax(f + "(*)");
                return "COUNT(*)";
            }
            CheckArity(e, 1, 1);
            // The texts MIN, MAX and DISTINCT tell apart are compared in the suite's order.
            const bool ordered = e.distinct || f == "MIN" || f == "MAX";
            const std::string call = (f == "COUNT_BIG" ? std::string("COUNT") : f) + "(" +
                                     (e.distinct ? "DISTINCT " : "") +
                                     (ordered ? EmitOrdered(*e.args[0]) : Args(e)) + ")";
            return f == "SUM" ? ExactResult(e, call) : call;
        }
        if (e.distinct) ThrowSyntax("DISTINCT en la función " + f);
        if (f == "ISNULL") {
            CheckArity(e, 2, 2);
            // The result has the type of the first value: a replacement text is cut to its
            // length.
            const ValueType first = TypeOf(*e.args[0]);
            if (IsText(first) && first.length >= 0 && IsText(TypeOf(*e.args[1]))) {
                return "IFNULL(" + EmitExpr(*e.args[0]) + ", suite_text(" + EmitExpr(*e.args[1]) +
                       ", " + std::to_string(first.length) + ", 0, -1, 0))";
            }
            return "IFNULL(" + Args(e) + ")";
        }
        if (f == "COALESCE") {
            CheckArity(e, 2, 100);
            return "COALESCE(" + Args(e) + ")";
        }
        if (f == "NULLIF") {
            CheckArity(e, 2, 2);
            return "NULLIF(" + Args(e) + ")";
        }
        if (f == "ABS") {
            CheckArity(e, 1, 1);
            return "ABS(" + Args(e) + ")";
        }
        if (f == "ROUND") {
            CheckArity(e, 2, 2);
            return "ROUND(" + Args(e) + ")";
        }
        if (f == "LEN") {
            // LEN does not count trailing blanks.
            CheckArity(e, 1, 1);
            return "LENGTH(RTRIM(" + Args(e) + "))";
        }
        if (f == "LTRIM" || f == "RTRIM") {
            CheckArity(e, 1, 1);
            return f + "(" + Args(e) + ")";
        }
        if (f == "SUBSTRING") {
            CheckArity(e, 3, 3);
            return "suite_substring(" + Args(e) + ")";
        }
        if (f == "LEFT") {
            CheckArity(e, 2, 2);
            return "SUBSTR(" + EmitExpr(*e.args[0]) + ", 1, " + EmitExpr(*e.args[1]) + ")";
        }
        if (f == "RIGHT") {
            CheckArity(e, 2, 2);
            return "suite_right(" + Args(e) + ")";
        }
        if (f == "CHARINDEX") {
            CheckArity(e, 2, 3);
            return "suite_charindex(" + Args(e) + ")";
        }
        if (f == "REPLACE") {
            CheckArity(e, 3, 3);
            return "suite_replace(" + Args(e) + ")";
        }
        if (f == "UPPER" || f == "LOWER") {
            CheckArity(e, 1, 1);
            return (f == "UPPER" ? "suite_upper(" : "suite_lower(") + Args(e) + ")";
        }
        if (f == "GETDATE") {
            CheckArity(e, 0, 0);
            return "suite_getdate()";
        }
        if (f == "YEAR" || f == "MONTH" || f == "DAY") {
            CheckArity(e, 1, 1);
            return "suite_datepart('" + f.substr(0, 1) + "', " + Args(e) + ")";
        }
        ThrowUnsupported("función " + f);
    }

    int StyleOf(const Expr& e) const {
        if (e.args.size() < 2) return -1;
        const Expr& s = Unwrap(*e.args[1]);
        if (s.kind != Kind::Number || s.text.size() > 4 ||
            s.text.find_first_not_of("0123456789") != std::string::npos) {
            ThrowUnsupported("estilo de CONVERT " + s.text);
        }
        return std::stoi(s.text);
    }

    std::string EmitConvert(const Expr& e) {
        const std::string& t = e.type.name;
        const Expr& value = *e.args[0];
        const int style = StyleOf(e);
        if (t == "INT" || t == "INTEGER" || t == "SMALLINT" || t == "TINYINT" || t == "BIGINT") {
            return "suite_int(" + EmitExpr(value) + ")";
        }
        if (t == "FLOAT" || t == "REAL") return "suite_num(" + EmitExpr(value) + ", -1)";
        if (t == "DECIMAL" || t == "NUMERIC") {
            const long scale = e.type.args.size() > 1 ? e.type.args[1] : 0;
            return "suite_num(" + EmitExpr(value) + ", " + std::to_string(scale) + ")";
        }
        if (t == "MONEY" || t == "SMALLMONEY") return "suite_num(" + EmitExpr(value) + ", 4)";
        if (t == "BIT") return "suite_bit(" + EmitExpr(value) + ")";
        if (IsDateType(t)) {
            if (!IsKnownDateStyle(style))
                ThrowUnsupported("estilo de fecha " + std::to_string(style));
            const bool dateOnly = t == "DATE";
            const Expr& v = Unwrap(value);
            if (v.kind == Kind::String) {
                // A literal is read now, so a text that is no date fails before anything runs.
                auto d = ReadDateInStyle(v.text, style, dates_);
                if (!d) {
                    throw DialectError(
                        code::kCantConvert, "22007",
                        "No se puede convertir el texto '" + v.text + "' en una fecha");
                }
                if (dateOnly) d->hour = d->minute = d->second = 0;
                return SqlString(d->ToIso());
            }
            return "suite_date(" + EmitExpr(value) + ", " + std::to_string(style) + ", " +
                   (dateOnly ? "1" : "0") + ")";
        }
        if (IsTextType(t)) {
            long length = 30;  // CONVERT's length when none is written
            if (!e.type.args.empty()) length = e.type.args[0];
            if (t == "TEXT" || t == "NTEXT") length = -1;
            const bool pad = t == "CHAR" || t == "NCHAR";
            const bool isDate = IsDateExpr(value);
            if (isDate && !IsKnownDateStyle(style)) {
                ThrowUnsupported("estilo de fecha " + std::to_string(style));
            }
            return "suite_text(" + EmitExpr(value) + ", " + std::to_string(length) + ", " +
                   (pad ? "1" : "0") + ", " + std::to_string(style) + ", " + (isDate ? "1" : "0") +
                   ")";
        }
        ThrowUnsupported("CONVERT al tipo " + e.type.ToString());
    }

    // ---- result description ----------------------------------------------------------
    ColumnHint Hint(const Expr& e) const {
        const Expr& v = Unwrap(e);
        if (IsDateExpr(v)) return {dtype::kDBTimeStamp, 16};
        if (v.kind == Kind::Function) {
            if (v.text == "COUNT" || v.text == "LEN" || v.text == "CHARINDEX" || v.text == "YEAR" ||
                v.text == "MONTH" || v.text == "DAY") {
                return {dtype::kInteger, 4};
            }
            if (v.text == "COUNT_BIG") return {dtype::kBigInt, 8};
        }
        if (v.kind == Kind::Convert) {
            const FieldType ft = MapDeclaredType(v.type.ToString());
            if (IsTextType(v.type.name) && v.type.args.empty()) return {ft.type, 30};
            return {ft.type, ft.size};
        }
        // A column the engine no longer describes (it was given the suite's collation).
        const ValueType t = TypeOf(v);
        if (IsText(t) && t.length > 0) return {dtype::kVarChar, t.length};
        if (t.kind == ValueKind::Decimal) return {dtype::kNumeric, 19};
        return {};
    }

    std::string BaseTable(const Select& s) const {
        if (!s.unions.empty() || s.from.size() != 1 || !s.from[0].joins.empty() ||
            s.from[0].first.table.empty() || !s.groupBy.empty() || s.distinct || s.having) {
            return {};
        }
        for (const SelectItem& item : s.items) {
            if (ContainsAggregate(item.expr.get())) return {};
        }
        const TableMeta* meta = schema_.Find(s.from[0].first.table);
        if (meta == nullptr || meta->isView) return {};
        return meta->name;
    }

    const SchemaSnapshot& schema_;
    const text::RegionalSettings& dates_;
    RowKeys keys_;
    Typer typer_{schema_};
    const Scope* scope_ = nullptr;  // the names visible where an expression is written
    std::string targetTable_;       // the table an INSERT or UPDATE writes
};

}  // namespace

Plan Translate(std::string_view sql, const SchemaSnapshot& schema,
               const text::RegionalSettings& dates, RowKeys keys) {
    const Statement st = Parse(sql);
    return Translator(schema, dates, keys).Run(st);
}

}  // namespace adodb::sqlite
