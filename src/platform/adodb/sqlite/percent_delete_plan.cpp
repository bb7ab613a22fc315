#include "platform/adodb/sqlite/percent_delete_plan.h"

#include "platform/adodb/sqlite/expr_search.h"
#include "platform/adodb/sqlite/translator.h"
#include "platform/text/strings.h"

namespace adodb::sqlite {

using namespace ast;

namespace {

using Kind = Expr::Kind;

// Whether an expression's value depends only on the row it is computed on: no
// subquery (which could read the rows being deleted) and no GETDATE.
bool RowLocal(const Expr* e) {
    return !AnyNode(e, [](const Expr& n) {
        return n.kind == Kind::Subquery || n.kind == Kind::Exists || n.kind == Kind::InSelect ||
               (n.kind == Kind::Function && n.text == "GETDATE");
    });
}

}  // namespace

std::optional<PercentDeleteMatch> MatchPercentDelete(const Delete& d,
                                                     const SchemaSnapshot& schema) {
    if (d.top || d.from.size() != 1 || !d.from[0].joins.empty()) return std::nullopt;
    const TableFactor& outer = d.from[0].first;
    if (!outer.derived || outer.alias.empty() || !RowLocal(d.where.get())) return std::nullopt;
    if (text::EqualsNoCase(outer.alias, d.target)) return std::nullopt;
    const Select& s = *outer.derived;
    if (!s.top || !s.top->percent || s.distinct || !s.groupBy.empty() || s.having ||
        !s.unions.empty() || !s.orderBy.empty() || !RowLocal(s.where.get())) {
        return std::nullopt;
    }
    // The derived table's sources: plain tables, t exactly once.
    std::vector<const TableFactor*> sources;
    for (const FromItem& item : s.from) {
        sources.push_back(&item.first);
        for (const Join& j : item.joins) {
            if (j.type != "INNER JOIN" && j.type != "CROSS JOIN") return std::nullopt;
            if (!RowLocal(j.on.get())) return std::nullopt;
            sources.push_back(&j.right);
        }
    }
    const TableFactor* instance = nullptr;
    for (const TableFactor* f : sources) {
        if (f->table.empty()) return std::nullopt;
        const TableMeta* meta = schema.Find(f->table);
        if (meta == nullptr || meta->isView) return std::nullopt;
        if (!text::EqualsNoCase(f->table, d.target)) continue;
        if (instance != nullptr || meta->withoutRowid) return std::nullopt;
        instance = f;
    }
    if (instance == nullptr) return std::nullopt;

    PercentDeleteMatch match;
    match.derived = &outer;
    match.instance = instance;
    // Only the derived columns the outer condition names are kept.
    auto needed = [&](const std::string& name) {
        return AnyNode(d.where.get(), [&](const Expr& r) {
            return r.kind == Kind::Column && text::EqualsNoCase(r.ColumnName(), name) &&
                   (r.parts.size() < 2 || text::EqualsNoCase(r.parts[0], outer.alias));
        });
    };
    for (const SelectItem& item : s.items) {
        const Expr& e = *item.expr;
        if (ContainsAggregate(&e) || !RowLocal(&e)) return std::nullopt;
        if (e.kind == Kind::Star) {
            if (e.parts.empty()) return std::nullopt;
            const TableFactor* owner = nullptr;
            for (const TableFactor* f : sources) {
                if (text::EqualsNoCase(f->ExposedName(), e.parts[0])) owner = f;
            }
            if (owner == nullptr) return std::nullopt;
            for (const ColumnMeta& c : schema.Find(owner->table)->columns) {
                if (needed(c.name)) {
                    match.kept.push_back(
                        {c.name, nullptr,
                         QuoteName(owner->ExposedName()) + "." + QuoteName(c.name)});
                }
            }
            continue;
        }
        const std::string name = !item.alias.empty()
                                     ? item.alias
                                     : (e.kind == Kind::Column ? e.ColumnName() : std::string());
        if (!name.empty() && needed(name)) match.kept.push_back({name, &e, {}});
    }
    return match;
}

PercentDelete PlanPercentDelete(const Delete& d, const PercentDeleteMatch& match,
                                const PercentDeleteParts& parts) {
    PercentDelete pd;
    pd.percentScaled = parts.percentScaled;
    pd.percentDivisor = parts.percentDivisor;
    pd.memoColumns = match.kept.size();
    pd.memoSelect = "SELECT " + QuoteName(match.instance->ExposedName()) + ".rowid";
    std::string kept;
    for (std::size_t i = 0; i < match.kept.size(); ++i) {
        pd.memoSelect += ", " + parts.kept[i];
        kept += (i ? ", c" : "c") + std::to_string(i + 1) + " AS " + QuoteName(match.kept[i].name);
    }
    pd.memoSelect += parts.derivedTail;
    const std::string target = QuoteName(d.target);
    pd.chooseSql = std::string("INSERT OR IGNORE INTO temp.") + kPercentChosenTable + " SELECT " +
                   target + ".rowid FROM " + target + ", (SELECT " +
                   (kept.empty() ? std::string("1") : kept) + " FROM temp." + kPercentMemoTable +
                   " ORDER BY rowid LIMIT ?1) AS " + QuoteName(match.derived->alias);
    if (parts.condition) pd.chooseSql += " WHERE " + *parts.condition;
    pd.deleteSql = "DELETE FROM " + target + " WHERE rowid IN (SELECT r FROM temp." +
                   kPercentChosenTable + ")";
    return pd;
}

}  // namespace adodb::sqlite
