#pragma once
// What kind of value an expression of a statement gives (text, date, number), worked out
// from what it is: a column of a table, view or derived table found through the names in
// scope, a literal, or an expression built from those. The translator uses it to compare,
// sort and convert as SQL Server does.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/adodb/sqlite/ast.h"
#include "platform/adodb/sqlite/schema.h"

namespace adodb::sqlite {

enum class ValueKind {
    Unresolved,  // a name not found in scope (the engine reports it)
    Unknown,     // found, but of no kind that can be told (an untyped view column)
    Null,
    Text,
    Date,
    Int,
    Decimal,  // NUMERIC, DECIMAL, MONEY
    Float,
};

struct ValueType {
    ValueKind kind = ValueKind::Unresolved;
    long length = -1;         // declared length of a text; -1 when none or unknown
    bool suiteOrder = false;  // a column already compared in the suite's text order
    bool IsNumber() const {
        return kind == ValueKind::Int || kind == ValueKind::Decimal || kind == ValueKind::Float;
    }
};

ValueType TypeOfDeclared(std::string_view declared, std::string_view collation);

// The sources of one query level (its FROM), and the level around it for correlated names.
class Scope {
  public:
    using Columns = std::vector<std::pair<std::string, ValueType>>;

    explicit Scope(const Scope* outer = nullptr) : outer_(outer) {}
    void Add(std::string exposedName, Columns columns);
    // Output names of the query (ORDER BY may name them); looked up after the sources.
    void AddOutput(Columns columns) { output_ = std::move(columns); }
    ValueType Resolve(const std::vector<std::string>& parts) const;
    // The columns of the source exposed as `name` at this level; null when none.
    const Columns* SourceColumns(std::string_view name) const;
    // Every column of this level's sources, in order (SELECT *).
    Columns AllColumns() const;

  private:
    struct Source {
        std::string name;
        Columns columns;
    };
    const Scope* outer_;
    std::vector<Source> sources_;
    Columns output_;
};

class Typer {
  public:
    explicit Typer(const SchemaSnapshot& schema) : schema_(schema) {}

    ValueType Of(const ast::Expr& e, const Scope& scope) const;
    // The scope of one SELECT (its FROM), inside `outer`.
    Scope ScopeOf(const ast::Select& s, const Scope* outer) const;
    // Adds a table, view or derived table to `scope` under its exposed name.
    void AddSource(Scope& scope, const ast::TableFactor& f, const Scope* outer) const;
    // The result columns of a SELECT, by output name.
    Scope::Columns ResultColumns(const ast::Select& s, const Scope* outer) const;

  private:
    ValueType FunctionType(const ast::Expr& e, const Scope& scope) const;
    const SchemaSnapshot& schema_;
};

// The kind of two values combined (CASE branches, COALESCE, arithmetic): the one of higher
// precedence, as SQL Server converts the other to it.
ValueType Combine(const ValueType& a, const ValueType& b);

}  // namespace adodb::sqlite
