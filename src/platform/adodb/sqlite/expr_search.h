#pragma once
// Searches through the expressions of a parsed statement.
#include <string>

#include "platform/adodb/sqlite/ast.h"

namespace adodb::sqlite {

// Whether `pred` holds for `e` or any expression inside it (not looking into subqueries).
template <typename Pred>
bool AnyNode(const ast::Expr* e, const Pred& pred) {
    if (e == nullptr) return false;
    if (pred(*e)) return true;
    for (const ast::ExprPtr& a : e->args) {
        if (AnyNode(a.get(), pred)) return true;
    }
    for (const ast::WhenClause& w : e->whens) {
        if (AnyNode(w.when.get(), pred) || AnyNode(w.then.get(), pred)) return true;
    }
    return AnyNode(e->elseExpr.get(), pred);
}

inline bool IsAggregate(const std::string& name) {
    return name == "COUNT" || name == "SUM" || name == "MAX" || name == "MIN" || name == "AVG" ||
           name == "COUNT_BIG";
}

inline bool ContainsAggregate(const ast::Expr* e) {
    return AnyNode(e, [](const ast::Expr& n) {
        return n.kind == ast::Expr::Kind::Function && IsAggregate(n.text);
    });
}

}  // namespace adodb::sqlite
