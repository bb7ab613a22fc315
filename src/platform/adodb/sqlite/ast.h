#pragma once
// Statement trees built by the parser from SQL Server text and written back as SQLite text
// by the translator. Names are kept as written (without brackets); keywords are upper case.
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "platform/text/regional.h"

namespace adodb::sqlite::ast {

struct Select;
struct Expr;
using ExprPtr = std::unique_ptr<Expr>;
using SelectPtr = std::unique_ptr<Select>;

// A data type as written in CONVERT, CAST, CREATE TABLE or ALTER TABLE: "VARCHAR" with
// {50}; "DECIMAL" with {10, 2}; "VARCHAR(MAX)" has {-1}.
struct TypeSpec {
    std::string name;  // upper case
    std::vector<long> args;
    std::string ToString() const;
};

struct WhenClause {
    ExprPtr when;
    ExprPtr then;
};

struct Expr {
    enum class Kind {
        Column,  // parts: [table.]column
        Star,    // parts: qualifier (empty for a bare *)
        String,  // text: the value
        Number,  // text: as written
        Null,
        Negate,    // args[0]
        Binary,    // text: + - * / % ; args[0], args[1]
        Compare,   // text: = <> < <= > >= ; args[0], args[1]
        Between,   // args: value, low, high; negated
        InList,    // args: value, items...; negated
        InSelect,  // args[0]: value; query; negated
        Like,      // args: value, pattern [, escape]; negated
        IsNull,    // args[0]; negated = IS NOT NULL
        Exists,    // query; negated
        Not,       // args[0]
        And,       // args[0], args[1]
        Or,        // args[0], args[1]
        Function,  // text: name upper case; args; distinct (COUNT(DISTINCT x)); star (COUNT(*))
        Convert,   // type; args[0]: value; args[1]: style when given (CONVERT only)
        Case,      // args[0]: operand or null; whens; elseExpr
        Subquery,  // query (a scalar subquery)
        Paren,     // args[0]: an expression written between parentheses
    };

    Kind kind = Kind::Null;
    std::vector<std::string> parts;
    std::string text;
    std::vector<ExprPtr> args;
    SelectPtr query;
    TypeSpec type;
    std::vector<WhenClause> whens;
    ExprPtr elseExpr;
    bool negated = false;
    bool distinct = false;
    bool star = false;

    explicit Expr(Kind k) : kind(k) {}
    // The column name of a Column (last part); empty otherwise.
    const std::string& ColumnName() const;
};

struct Top {
    std::string count;  // number as written
    bool percent = false;
};

struct TableFactor {
    std::string table;  // a table or view (owner prefix removed); empty for a derived table
    SelectPtr derived;
    std::string alias;  // empty when none
    // The name other parts of the statement use for it: the alias, else the table.
    const std::string& ExposedName() const { return alias.empty() ? table : alias; }
};

struct Join {
    std::string type;  // "INNER JOIN", "LEFT JOIN", "RIGHT JOIN", "FULL JOIN", "CROSS JOIN"
    TableFactor right;
    ExprPtr on;  // null for CROSS JOIN
};

struct FromItem {
    TableFactor first;
    std::vector<Join> joins;
};

struct SelectItem {
    ExprPtr expr;
    std::string alias;  // empty when none
};

struct OrderItem {
    ExprPtr expr;
    bool descending = false;
};

struct Select {
    bool distinct = false;
    std::optional<Top> top;
    std::vector<SelectItem> items;
    std::vector<FromItem> from;
    ExprPtr where;
    std::vector<ExprPtr> groupBy;
    ExprPtr having;
    // Further SELECTs joined by "UNION" / "UNION ALL"; ORDER BY applies to the whole.
    std::vector<std::pair<std::string, SelectPtr>> unions;
    std::vector<OrderItem> orderBy;
};

struct Delete {
    std::string target;  // table or alias named after DELETE
    std::optional<Top> top;
    std::vector<FromItem> from;  // the second FROM (SQL Server extension); may be empty
    ExprPtr where;
};

struct Insert {
    std::string table;
    std::vector<std::string> columns;  // empty: every column in table order
    std::vector<std::vector<ExprPtr>> rows;
    SelectPtr select;  // INSERT ... SELECT
    bool defaultValues = false;
};

struct Update {
    std::string table;
    std::vector<std::pair<std::string, ExprPtr>> sets;
    ExprPtr where;
};

struct ColumnDef {
    std::string name;
    TypeSpec type;
    bool notNull = false;
    bool primaryKey = false;
    bool unique = false;
    bool identity = false;
    ExprPtr defaultValue;
};

struct AlterAdd {
    std::string table;
    std::vector<ColumnDef> columns;
};

struct CreateTable {
    std::string table;
    std::vector<ColumnDef> columns;
    std::vector<std::string> primaryKey;            // table-level PRIMARY KEY (...)
    std::vector<std::vector<std::string>> uniques;  // table-level UNIQUE (...)
};

struct CreateIndex {
    std::string name;
    std::string table;
    bool unique = false;
    std::vector<std::pair<std::string, bool>> columns;  // name, descending
};

struct DropTable {
    std::string table;
};

struct Transaction {
    enum class Kind { Begin, Commit, Rollback } kind = Kind::Begin;
};

struct SetDateFormat {
    text::DateOrder order = text::DateOrder::DMY;
};

struct SetNoCount {};

using Statement = std::variant<Select, Delete, Insert, Update, AlterAdd, CreateTable, CreateIndex,
                               DropTable, Transaction, SetDateFormat, SetNoCount>;

}  // namespace adodb::sqlite::ast
