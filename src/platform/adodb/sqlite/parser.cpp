#include "platform/adodb/sqlite/parser.h"

#include <algorithm>
#include <iterator>

#include "platform/adodb/sqlite/dialect_error.h"
#include "platform/adodb/sqlite/tokenizer.h"
#include "platform/text/strings.h"

namespace adodb::sqlite {

using namespace ast;

std::string TypeSpec::ToString() const {
    std::string out = name;
    if (!args.empty()) {
        out += '(';
        for (std::size_t i = 0; i < args.size(); ++i) {
            if (i > 0) out += ',';
            out += args[i] < 0 ? std::string("MAX") : std::to_string(args[i]);
        }
        out += ')';
    }
    return out;
}

const std::string& Expr::ColumnName() const {
    static const std::string kEmpty;
    return kind == Kind::Column && !parts.empty() ? parts.back() : kEmpty;
}

namespace {

// Words that end an expression or a name list; they are never taken as implicit aliases.
constexpr std::string_view kReserved[] = {
    "ADD",   "ALL",      "ALTER",   "AND",        "AS",       "ASC",    "BEGIN",   "BETWEEN",
    "BY",    "CASE",     "COMMIT",  "CONSTRAINT", "CREATE",   "CROSS",  "DEFAULT", "DELETE",
    "DESC",  "DISTINCT", "DROP",    "ELSE",       "END",      "ESCAPE", "EXISTS",  "FROM",
    "FULL",  "GROUP",    "HAVING",  "IN",         "INNER",    "INSERT", "INTO",    "IS",
    "JOIN",  "KEY",      "LEFT",    "LIKE",       "NOT",      "NULL",   "ON",      "OR",
    "ORDER", "OUTER",    "PRIMARY", "RIGHT",      "ROLLBACK", "SELECT", "SET",     "THEN",
    "UNION", "UPDATE",   "WHERE",   "WHEN"};

bool IsReserved(std::string_view word) {
    return std::any_of(std::begin(kReserved), std::end(kReserved),
                       [&](std::string_view r) { return text::EqualsNoCase(r, word); });
}

ExprPtr Make(Expr::Kind kind) {
    return std::make_unique<Expr>(kind);
}

ExprPtr MakeBinary(Expr::Kind kind, std::string op, ExprPtr l, ExprPtr r) {
    auto e = Make(kind);
    e->text = std::move(op);
    e->args.push_back(std::move(l));
    e->args.push_back(std::move(r));
    return e;
}

class Parser {
  public:
    explicit Parser(std::string_view sql) : tokens_(Tokenize(sql)) {}

    Statement ParseStatement() {
        Statement st = ParseAny();
        AcceptSymbol(";");
        if (Peek().kind != TokenKind::End) {
            if (Peek().kind == TokenKind::Word && IsStatementStart(Peek().text)) {
                ThrowUnsupported("varias sentencias en un mismo texto ('" + Peek().text + "')");
            }
            Fail("texto inesperado");
        }
        return st;
    }

  private:
    // ---- token helpers -------------------------------------------------------------
    const Token& Peek(std::size_t ahead = 0) const {
        return tokens_[std::min(pos_ + ahead, tokens_.size() - 1)];
    }
    const Token& Advance() {
        const Token& t = tokens_[pos_];
        if (pos_ + 1 < tokens_.size()) ++pos_;
        return t;
    }
    bool IsWord(std::string_view w, std::size_t ahead = 0) const {
        const Token& t = Peek(ahead);
        return t.kind == TokenKind::Word && text::EqualsNoCase(t.text, w);
    }
    bool IsSymbol(std::string_view s, std::size_t ahead = 0) const {
        const Token& t = Peek(ahead);
        return t.kind == TokenKind::Symbol && t.text == s;
    }
    bool AcceptWord(std::string_view w) {
        if (!IsWord(w)) return false;
        Advance();
        return true;
    }
    bool AcceptSymbol(std::string_view s) {
        if (!IsSymbol(s)) return false;
        Advance();
        return true;
    }
    void ExpectWord(std::string_view w) {
        if (!AcceptWord(w)) Fail("se esperaba " + std::string(w));
    }
    void ExpectSymbol(std::string_view s) {
        if (!AcceptSymbol(s)) Fail("se esperaba '" + std::string(s) + "'");
    }

    [[noreturn]] void Fail(const std::string& what) const {
        const Token& t = Peek();
        std::string near =
            t.kind == TokenKind::End ? std::string("el final de la sentencia") : "'" + t.text + "'";
        ThrowSyntax(what + " cerca de " + near + " (posición " + std::to_string(t.offset + 1) +
                    ")");
    }

    static bool IsStatementStart(std::string_view w) {
        for (std::string_view s : {"SELECT", "INSERT", "UPDATE", "DELETE", "ALTER", "CREATE",
                                   "DROP", "BEGIN", "COMMIT", "ROLLBACK", "SET"}) {
            if (text::EqualsNoCase(s, w)) return true;
        }
        return false;
    }

    bool IsName(std::size_t ahead = 0) const {
        const Token& t = Peek(ahead);
        return t.kind == TokenKind::QuotedName ||
               (t.kind == TokenKind::Word && !IsReserved(t.text));
    }

    std::string Name(const char* what) {
        if (!IsName()) Fail(std::string("se esperaba ") + what);
        return Advance().text;
    }

    // owner.table, db.owner.table: the owner and database prefixes are dropped (one database
    // per file, no owners).
    std::string TableName() {
        std::string name = Name("el nombre de una tabla");
        int parts = 1;
        while (IsSymbol(".") && (IsName(1))) {
            Advance();
            name = Advance().text;
            if (++parts > 3) Fail("nombre de tabla con demasiadas partes");
        }
        return name;
    }

    // ---- statements ----------------------------------------------------------------
    Statement ParseAny() {
        const Token& t = Peek();
        if (t.kind != TokenKind::Word) {
            if (IsSymbol("(")) ThrowUnsupported("sentencia que empieza con paréntesis");
            Fail("se esperaba una sentencia");
        }
        if (IsWord("SELECT")) return std::move(*ParseQuery());
        if (IsWord("DELETE")) return ParseDelete();
        if (IsWord("INSERT")) return ParseInsert();
        if (IsWord("UPDATE")) return ParseUpdate();
        if (IsWord("ALTER")) return ParseAlter();
        if (IsWord("CREATE")) return ParseCreate();
        if (IsWord("DROP")) return ParseDrop();
        if (IsWord("BEGIN") || IsWord("COMMIT") || IsWord("ROLLBACK")) return ParseTransaction();
        if (IsWord("SET")) return ParseSet();
        ThrowUnsupported("sentencia " + text::ToUpper(t.text));
    }

    std::optional<Top> ParseTop() {
        if (!AcceptWord("TOP")) return std::nullopt;
        Top top;
        const bool paren = AcceptSymbol("(");
        if (Peek().kind != TokenKind::Number) {
            ThrowUnsupported("TOP con una expresión que no es un número");
        }
        top.count = Advance().text;
        if (paren) ExpectSymbol(")");
        top.percent = AcceptWord("PERCENT");
        if (IsWord("WITH")) ThrowUnsupported("TOP ... WITH TIES");
        return top;
    }

    // SELECT ... [UNION [ALL] SELECT ...] [ORDER BY ...]
    SelectPtr ParseQuery() {
        SelectPtr first = ParseSelectCore();
        while (IsWord("UNION")) {
            Advance();
            std::string op = AcceptWord("ALL") ? "UNION ALL" : "UNION";
            if (!IsWord("SELECT")) Fail("se esperaba SELECT después de UNION");
            first->unions.emplace_back(std::move(op), ParseSelectCore());
        }
        if (IsWord("EXCEPT") || IsWord("INTERSECT")) ThrowUnsupported(text::ToUpper(Peek().text));
        if (AcceptWord("ORDER")) {
            ExpectWord("BY");
            do {
                OrderItem item;
                item.expr = ParseExpr();
                if (AcceptWord("DESC")) {
                    item.descending = true;
                } else {
                    AcceptWord("ASC");
                }
                first->orderBy.push_back(std::move(item));
            } while (AcceptSymbol(","));
        }
        if (!first->unions.empty() && first->top) ThrowUnsupported("TOP junto con UNION");
        return first;
    }

    SelectPtr ParseSelectCore() {
        ExpectWord("SELECT");
        auto s = std::make_unique<Select>();
        if (AcceptWord("DISTINCT")) {
            s->distinct = true;
        } else {
            AcceptWord("ALL");
        }
        s->top = ParseTop();
        do {
            s->items.push_back(ParseSelectItem());
        } while (AcceptSymbol(","));
        if (IsWord("INTO")) ThrowUnsupported("SELECT ... INTO");
        if (AcceptWord("FROM")) s->from = ParseFromList();
        if (AcceptWord("WHERE")) s->where = ParseExpr();
        if (AcceptWord("GROUP")) {
            ExpectWord("BY");
            do {
                s->groupBy.push_back(ParseExpr());
            } while (AcceptSymbol(","));
        }
        if (AcceptWord("HAVING")) s->having = ParseExpr();
        return s;
    }

    SelectItem ParseSelectItem() {
        SelectItem item;
        if (IsSymbol("*")) {
            Advance();
            item.expr = Make(Expr::Kind::Star);
            return item;
        }
        // "alias = expression" names a column in SQL Server; it is not a comparison.
        if (IsName() && IsSymbol("=", 1)) {
            item.alias = Advance().text;
            Advance();
            item.expr = ParseExpr();
            return item;
        }
        item.expr = ParseExpr();
        if (AcceptWord("AS")) {
            if (Peek().kind == TokenKind::String) {
                item.alias = Advance().text;
            } else {
                item.alias = Name("un alias");
            }
        } else if (IsName() || Peek().kind == TokenKind::String) {
            item.alias = Advance().text;
        }
        return item;
    }

    std::vector<FromItem> ParseFromList() {
        std::vector<FromItem> list;
        do {
            FromItem item;
            item.first = ParseTableFactor();
            while (true) {
                std::string type;
                if (AcceptWord("JOIN")) {
                    type = "INNER JOIN";
                } else if (IsWord("INNER") && IsWord("JOIN", 1)) {
                    Advance();
                    Advance();
                    type = "INNER JOIN";
                } else if (IsWord("CROSS") && IsWord("JOIN", 1)) {
                    Advance();
                    Advance();
                    type = "CROSS JOIN";
                } else if (IsWord("LEFT") || IsWord("RIGHT") || IsWord("FULL")) {
                    type = text::ToUpper(Advance().text);
                    AcceptWord("OUTER");
                    ExpectWord("JOIN");
                    type += " JOIN";
                } else {
                    break;
                }
                Join join;
                join.type = type;
                join.right = ParseTableFactor();
                if (type != "CROSS JOIN") {
                    ExpectWord("ON");
                    join.on = ParseExpr();
                }
                item.joins.push_back(std::move(join));
            }
            list.push_back(std::move(item));
        } while (AcceptSymbol(","));
        return list;
    }

    TableFactor ParseTableFactor() {
        TableFactor f;
        if (AcceptSymbol("(")) {
            if (!IsWord("SELECT")) ThrowUnsupported("combinaciones (JOIN) entre paréntesis");
            f.derived = ParseQuery();
            ExpectSymbol(")");
            AcceptWord("AS");
            f.alias = Name("el alias de la tabla derivada");
            return f;
        }
        f.table = TableName();
        if (AcceptWord("AS")) {
            f.alias = Name("un alias");
        } else if (IsName() && !IsWord("WITH")) {
            f.alias = Advance().text;
        }
        SkipTableHints();
        return f;
    }

    // WITH (NOLOCK) and (NOLOCK): locking hints, meaningless for the embedded engine.
    void SkipTableHints() {
        const bool with = IsWord("WITH") && IsSymbol("(", 1);
        const bool bare = IsSymbol("(") && IsWord("NOLOCK", 1);
        if (!with && !bare) return;
        if (with) Advance();
        Advance();
        do {
            const std::string hint = Name("una indicación de bloqueo");
            if (!text::EqualsNoCase(hint, "NOLOCK") &&
                !text::EqualsNoCase(hint, "READUNCOMMITTED") &&
                !text::EqualsNoCase(hint, "ROWLOCK") && !text::EqualsNoCase(hint, "UPDLOCK") &&
                !text::EqualsNoCase(hint, "HOLDLOCK")) {
                ThrowUnsupported("indicación de tabla " + text::ToUpper(hint));
            }
        } while (AcceptSymbol(","));
        ExpectSymbol(")");
    }

    Statement ParseDelete() {
        ExpectWord("DELETE");
        Delete d;
        d.top = ParseTop();
        AcceptWord("FROM");
        d.target = TableName();
        if (IsWord("OUTPUT")) ThrowUnsupported("DELETE ... OUTPUT");
        if (AcceptWord("FROM")) d.from = ParseFromList();
        if (AcceptWord("WHERE")) d.where = ParseExpr();
        return d;
    }

    Statement ParseInsert() {
        ExpectWord("INSERT");
        AcceptWord("INTO");
        Insert ins;
        ins.table = TableName();
        if (AcceptSymbol("(")) {
            do {
                ins.columns.push_back(Name("el nombre de una columna"));
            } while (AcceptSymbol(","));
            ExpectSymbol(")");
        }
        if (AcceptWord("VALUES")) {
            do {
                ExpectSymbol("(");
                std::vector<ExprPtr> row;
                do {
                    row.push_back(ParseExpr());
                } while (AcceptSymbol(","));
                ExpectSymbol(")");
                ins.rows.push_back(std::move(row));
            } while (AcceptSymbol(","));
        } else if (IsWord("SELECT")) {
            ins.select = ParseQuery();
        } else if (AcceptWord("DEFAULT")) {
            ExpectWord("VALUES");
            ins.defaultValues = true;
        } else if (IsWord("EXEC") || IsWord("EXECUTE")) {
            ThrowUnsupported("INSERT ... EXEC");
        } else {
            Fail("se esperaba VALUES o SELECT");
        }
        return ins;
    }

    Statement ParseUpdate() {
        ExpectWord("UPDATE");
        if (IsWord("TOP")) ThrowUnsupported("UPDATE TOP");
        Update u;
        u.table = TableName();
        ExpectWord("SET");
        do {
            std::string column = Name("el nombre de una columna");
            while (AcceptSymbol(".")) column = Name("el nombre de una columna");
            ExpectSymbol("=");
            u.sets.emplace_back(std::move(column), ParseExpr());
        } while (AcceptSymbol(","));
        if (IsWord("FROM")) ThrowUnsupported("UPDATE ... FROM");
        if (AcceptWord("WHERE")) u.where = ParseExpr();
        return u;
    }

    TypeSpec ParseType() {
        TypeSpec t;
        if (Peek().kind != TokenKind::Word && Peek().kind != TokenKind::QuotedName) {
            Fail("se esperaba un tipo de datos");
        }
        t.name = text::ToUpper(Advance().text);
        if (t.name == "DOUBLE") {
            ExpectWord("PRECISION");
            t.name = "FLOAT";
        }
        if (AcceptSymbol("(")) {
            do {
                if (AcceptWord("MAX")) {
                    t.args.push_back(-1);
                } else if (Peek().kind == TokenKind::Number && Peek().text.size() <= 9 &&
                           Peek().text.find_first_not_of("0123456789") == std::string::npos) {
                    t.args.push_back(std::stol(Advance().text));
                } else {
                    Fail("se esperaba la longitud del tipo");
                }
            } while (AcceptSymbol(","));
            ExpectSymbol(")");
        }
        return t;
    }

    ColumnDef ParseColumnDef() {
        ColumnDef c;
        c.name = Name("el nombre de una columna");
        c.type = ParseType();
        while (true) {
            if (AcceptWord("NULL")) {
                c.notNull = false;
            } else if (IsWord("NOT") && IsWord("NULL", 1)) {
                Advance();
                Advance();
                c.notNull = true;
            } else if (AcceptWord("CONSTRAINT")) {
                Name("el nombre de la restricción");
            } else if (AcceptWord("DEFAULT")) {
                c.defaultValue = ParseUnary();
            } else if (AcceptWord("PRIMARY")) {
                ExpectWord("KEY");
                if (!AcceptWord("CLUSTERED")) AcceptWord("NONCLUSTERED");
                c.primaryKey = true;
            } else if (AcceptWord("UNIQUE")) {
                c.unique = true;
            } else if (AcceptWord("IDENTITY")) {
                c.identity = true;
                if (AcceptSymbol("(")) {
                    while (!IsSymbol(")") && Peek().kind != TokenKind::End) Advance();
                    ExpectSymbol(")");
                }
            } else if (AcceptWord("COLLATE")) {
                Name("el nombre de una intercalación");
            } else if (IsWord("REFERENCES") || IsWord("CHECK") || IsWord("FOREIGN")) {
                ThrowUnsupported("restricción " + text::ToUpper(Peek().text) + " en la columna " +
                                 c.name);
            } else {
                break;
            }
        }
        return c;
    }

    std::vector<std::string> ParseNameList(bool allowOrder) {
        std::vector<std::string> names;
        ExpectSymbol("(");
        do {
            names.push_back(Name("el nombre de una columna"));
            if (allowOrder && !AcceptWord("ASC")) AcceptWord("DESC");
        } while (AcceptSymbol(","));
        ExpectSymbol(")");
        return names;
    }

    Statement ParseAlter() {
        ExpectWord("ALTER");
        ExpectWord("TABLE");
        AlterAdd a;
        a.table = TableName();
        if (!AcceptWord("ADD")) {
            ThrowUnsupported(
                "ALTER TABLE " + a.table + " " +
                (Peek().kind == TokenKind::End ? std::string() : text::ToUpper(Peek().text)));
        }
        if (IsWord("CONSTRAINT") || IsWord("PRIMARY") || IsWord("FOREIGN") || IsWord("UNIQUE") ||
            IsWord("CHECK")) {
            ThrowUnsupported("ALTER TABLE ... ADD de una restricción");
        }
        do {
            a.columns.push_back(ParseColumnDef());
        } while (AcceptSymbol(","));
        return a;
    }

    Statement ParseCreate() {
        ExpectWord("CREATE");
        bool unique = AcceptWord("UNIQUE");
        if (!AcceptWord("CLUSTERED")) AcceptWord("NONCLUSTERED");
        if (AcceptWord("INDEX")) {
            CreateIndex ci;
            ci.unique = unique;
            ci.name = Name("el nombre del índice");
            ExpectWord("ON");
            ci.table = TableName();
            ExpectSymbol("(");
            do {
                std::string col = Name("el nombre de una columna");
                bool desc = AcceptWord("DESC");
                if (!desc) AcceptWord("ASC");
                ci.columns.emplace_back(std::move(col), desc);
            } while (AcceptSymbol(","));
            ExpectSymbol(")");
            return ci;
        }
        if (unique || !AcceptWord("TABLE")) {
            ThrowUnsupported("CREATE " + (Peek().kind == TokenKind::End
                                              ? std::string()
                                              : text::ToUpper(Peek().text)));
        }
        CreateTable ct;
        ct.table = TableName();
        ExpectSymbol("(");
        do {
            if (AcceptWord("CONSTRAINT")) Name("el nombre de la restricción");
            if (AcceptWord("PRIMARY")) {
                ExpectWord("KEY");
                if (!AcceptWord("CLUSTERED")) AcceptWord("NONCLUSTERED");
                ct.primaryKey = ParseNameList(true);
            } else if (AcceptWord("UNIQUE")) {
                if (!AcceptWord("CLUSTERED")) AcceptWord("NONCLUSTERED");
                ct.uniques.push_back(ParseNameList(true));
            } else if (IsWord("FOREIGN") || IsWord("CHECK")) {
                ThrowUnsupported("restricción " + text::ToUpper(Peek().text) + " en CREATE TABLE");
            } else {
                ct.columns.push_back(ParseColumnDef());
            }
        } while (AcceptSymbol(","));
        ExpectSymbol(")");
        return ct;
    }

    Statement ParseDrop() {
        ExpectWord("DROP");
        if (!AcceptWord("TABLE")) {
            ThrowUnsupported("DROP " + (Peek().kind == TokenKind::End
                                            ? std::string()
                                            : text::ToUpper(Peek().text)));
        }
        return DropTable{TableName()};
    }

    Statement ParseTransaction() {
        Transaction t;
        if (AcceptWord("BEGIN")) {
            if (!AcceptWord("TRANSACTION") && !AcceptWord("TRAN")) {
                ThrowUnsupported("BEGIN sin TRANSACTION (bloques BEGIN ... END)");
            }
            t.kind = Transaction::Kind::Begin;
        } else {
            t.kind = IsWord("COMMIT") ? Transaction::Kind::Commit : Transaction::Kind::Rollback;
            Advance();
            if (!AcceptWord("TRANSACTION") && !AcceptWord("TRAN")) AcceptWord("WORK");
        }
        // A transaction name changes nothing: only the outermost transaction is real.
        if (IsName()) Advance();
        return t;
    }

    Statement ParseSet() {
        ExpectWord("SET");
        if (AcceptWord("NOCOUNT")) {
            if (!AcceptWord("ON") && !AcceptWord("OFF")) Fail("se esperaba ON u OFF");
            return SetNoCount{};
        }
        if (AcceptWord("DATEFORMAT")) {
            const Token& t = Peek();
            if (t.kind != TokenKind::Word && t.kind != TokenKind::String) {
                Fail("se esperaba un orden de fecha");
            }
            const std::string order = text::ToUpper(Advance().text);
            if (order == "DMY") return SetDateFormat{text::DateOrder::DMY};
            if (order == "MDY") return SetDateFormat{text::DateOrder::MDY};
            if (order == "YMD") return SetDateFormat{text::DateOrder::YMD};
            ThrowUnsupported("SET DATEFORMAT " + order);
        }
        ThrowUnsupported(
            "SET " + (Peek().kind == TokenKind::End ? std::string() : text::ToUpper(Peek().text)));
    }

    // ---- expressions ---------------------------------------------------------------
    ExprPtr ParseExpr() {
        ExprPtr left = ParseAnd();
        while (AcceptWord("OR"))
            left = MakeBinary(Expr::Kind::Or, "OR", std::move(left), ParseAnd());
        return left;
    }

    ExprPtr ParseAnd() {
        ExprPtr left = ParseNot();
        while (AcceptWord("AND")) {
            left = MakeBinary(Expr::Kind::And, "AND", std::move(left), ParseNot());
        }
        return left;
    }

    ExprPtr ParseNot() {
        if (AcceptWord("NOT")) {
            auto e = Make(Expr::Kind::Not);
            e->args.push_back(ParseNot());
            return e;
        }
        return ParsePredicate();
    }

    ExprPtr ParsePredicate() {
        if (IsWord("EXISTS")) {
            Advance();
            auto e = Make(Expr::Kind::Exists);
            ExpectSymbol("(");
            e->query = ParseQuery();
            ExpectSymbol(")");
            return e;
        }
        ExprPtr left = ParseAdditive();
        const Token& t = Peek();
        if (t.kind == TokenKind::Symbol) {
            std::string op = t.text;
            if (op == "!=") op = "<>";
            if (op == "!<") op = ">=";
            if (op == "!>") op = "<=";
            if (op == "=" || op == "<>" || op == "<" || op == "<=" || op == ">" || op == ">=") {
                Advance();
                if (IsWord("ANY") || IsWord("ALL") || IsWord("SOME")) {
                    ThrowUnsupported("comparación con " + text::ToUpper(Peek().text));
                }
                return MakeBinary(Expr::Kind::Compare, op, std::move(left), ParseAdditive());
            }
            return left;
        }
        const bool negated =
            IsWord("NOT") && (IsWord("BETWEEN", 1) || IsWord("IN", 1) || IsWord("LIKE", 1));
        if (negated) Advance();
        if (AcceptWord("BETWEEN")) {
            auto e = Make(Expr::Kind::Between);
            e->negated = negated;
            e->args.push_back(std::move(left));
            e->args.push_back(ParseAdditive());
            ExpectWord("AND");
            e->args.push_back(ParseAdditive());
            return e;
        }
        if (AcceptWord("IN")) {
            ExpectSymbol("(");
            if (IsWord("SELECT")) {
                auto e = Make(Expr::Kind::InSelect);
                e->negated = negated;
                e->args.push_back(std::move(left));
                e->query = ParseQuery();
                ExpectSymbol(")");
                return e;
            }
            auto e = Make(Expr::Kind::InList);
            e->negated = negated;
            e->args.push_back(std::move(left));
            do {
                e->args.push_back(ParseExpr());
            } while (AcceptSymbol(","));
            ExpectSymbol(")");
            return e;
        }
        if (AcceptWord("LIKE")) {
            auto e = Make(Expr::Kind::Like);
            e->negated = negated;
            e->args.push_back(std::move(left));
            e->args.push_back(ParseAdditive());
            if (AcceptWord("ESCAPE")) e->args.push_back(ParseAdditive());
            return e;
        }
        if (AcceptWord("IS")) {
            auto e = Make(Expr::Kind::IsNull);
            e->negated = AcceptWord("NOT");
            ExpectWord("NULL");
            e->args.push_back(std::move(left));
            return e;
        }
        return left;
    }

    ExprPtr ParseAdditive() {
        ExprPtr left = ParseMultiplicative();
        while (true) {
            if (IsSymbol("+") || IsSymbol("-")) {
                std::string op = Advance().text;
                left = MakeBinary(Expr::Kind::Binary, op, std::move(left), ParseMultiplicative());
            } else if (IsSymbol("&") || IsSymbol("|") || IsSymbol("^")) {
                ThrowUnsupported("operador de bits '" + Peek().text + "'");
            } else {
                return left;
            }
        }
    }

    ExprPtr ParseMultiplicative() {
        ExprPtr left = ParseUnary();
        while (IsSymbol("*") || IsSymbol("/") || IsSymbol("%")) {
            std::string op = Advance().text;
            left = MakeBinary(Expr::Kind::Binary, op, std::move(left), ParseUnary());
        }
        return left;
    }

    ExprPtr ParseUnary() {
        if (AcceptSymbol("-")) {
            if (Peek().kind == TokenKind::Number) {
                auto e = Make(Expr::Kind::Number);
                e->text = "-" + Advance().text;
                return e;
            }
            auto e = Make(Expr::Kind::Negate);
            e->args.push_back(ParseUnary());
            return e;
        }
        if (AcceptSymbol("+")) return ParseUnary();
        if (IsSymbol("~")) ThrowUnsupported("operador de bits '~'");
        return ParsePrimary();
    }

    ExprPtr ParsePrimary() {
        const Token& t = Peek();
        switch (t.kind) {
            case TokenKind::String: {
                auto e = Make(Expr::Kind::String);
                e->text = Advance().text;
                return e;
            }
            case TokenKind::Number: {
                auto e = Make(Expr::Kind::Number);
                e->text = Advance().text;
                return e;
            }
            case TokenKind::Symbol:
                if (AcceptSymbol("(")) {
                    if (IsWord("SELECT")) {
                        auto e = Make(Expr::Kind::Subquery);
                        e->query = ParseQuery();
                        ExpectSymbol(")");
                        return e;
                    }
                    auto e = Make(Expr::Kind::Paren);
                    e->args.push_back(ParseExpr());
                    ExpectSymbol(")");
                    return e;
                }
                Fail("se esperaba una expresión");
            case TokenKind::Word:
                if (AcceptWord("NULL")) return Make(Expr::Kind::Null);
                if (IsWord("CASE")) return ParseCase();
                if (IsSymbol("(", 1)) return ParseFunction();
                if (IsReserved(t.text)) Fail("se esperaba una expresión");
                return ParseColumn();
            case TokenKind::QuotedName:
                return ParseColumn();
            case TokenKind::End:
                Fail("se esperaba una expresión");
        }
        Fail("se esperaba una expresión");
    }

    ExprPtr ParseColumn() {
        auto e = Make(Expr::Kind::Column);
        e->parts.push_back(Advance().text);
        while (IsSymbol(".")) {
            if (IsSymbol("*", 1)) {
                Advance();
                Advance();
                e->kind = Expr::Kind::Star;
                break;
            }
            Advance();
            e->parts.push_back(Name("el nombre de una columna"));
        }
        if (e->parts.size() > 4) Fail("nombre con demasiadas partes");
        // owner.table.column: the owner is dropped like in table names.
        while (e->parts.size() > (e->kind == Expr::Kind::Star ? 1u : 2u)) {
            e->parts.erase(e->parts.begin());
        }
        return e;
    }

    ExprPtr ParseCase() {
        ExpectWord("CASE");
        auto e = Make(Expr::Kind::Case);
        e->args.push_back(IsWord("WHEN") ? nullptr : ParseExpr());
        while (AcceptWord("WHEN")) {
            WhenClause w;
            w.when = ParseExpr();
            ExpectWord("THEN");
            w.then = ParseExpr();
            e->whens.push_back(std::move(w));
        }
        if (e->whens.empty()) Fail("se esperaba WHEN");
        if (AcceptWord("ELSE")) e->elseExpr = ParseExpr();
        ExpectWord("END");
        return e;
    }

    ExprPtr ParseFunction() {
        const std::string name = text::ToUpper(Advance().text);
        ExpectSymbol("(");
        if (name == "CONVERT") {
            auto e = Make(Expr::Kind::Convert);
            e->type = ParseType();
            ExpectSymbol(",");
            e->args.push_back(ParseExpr());
            if (AcceptSymbol(",")) e->args.push_back(ParseExpr());
            ExpectSymbol(")");
            return e;
        }
        if (name == "CAST") {
            auto e = Make(Expr::Kind::Convert);
            e->args.push_back(ParseExpr());
            ExpectWord("AS");
            e->type = ParseType();
            ExpectSymbol(")");
            return e;
        }
        auto e = Make(Expr::Kind::Function);
        e->text = name;
        if (AcceptSymbol("*")) {
            e->star = true;
        } else if (!IsSymbol(")")) {
            if (AcceptWord("DISTINCT")) {
                e->distinct = true;
            } else {
                AcceptWord("ALL");
            }
            do {
                e->args.push_back(ParseExpr());
            } while (AcceptSymbol(","));
        }
        ExpectSymbol(")");
        if (IsWord("OVER")) ThrowUnsupported("funciones de ventana (OVER)");
        return e;
    }

    std::vector<Token> tokens_;
    std::size_t pos_ = 0;
};

}  // namespace

Statement Parse(std::string_view sql) {
    return Parser(sql).ParseStatement();
}

}  // namespace adodb::sqlite
