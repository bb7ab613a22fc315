#pragma once
// Plans DELETE t FROM (SELECT TOP p PERCENT ... FROM <tables> WHERE ...) AS a WHERE <condition>
// to run in batches: the rows of the derived table are kept in a temporary table between
// runs of the same statement, so a batch neither counts nor walks the whole join again
// (see PercentDeleteRunner). Only planned when that is sound: plain tables joined by INNER
// or CROSS joins, t among them exactly once, no subquery and no GETDATE.
//
// Planning has two halves around the translator: MatchPercentDelete decides whether the
// statement can run so and which derived columns the batches keep; the translator then
// writes those columns, the derived table's sources and the outer condition in the engine's
// dialect, and PlanPercentDelete assembles the statements of the batch from them.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "platform/adodb/sqlite/ast.h"
#include "platform/adodb/sqlite/schema.h"

namespace adodb::sqlite {

struct PercentDelete {
    // SELECT <row id of t>, <the derived columns the condition reads> FROM ... WHERE ...
    std::string memoSelect;
    std::size_t memoColumns = 0;  // the columns after the row id
    // Puts the row ids of t to delete into the chosen table; ?1 is the number of derived
    // rows the batch takes.
    std::string chooseSql;
    std::string deleteSql;         // deletes the chosen rows of t
    long long percentScaled = 0;   // the percent times percentDivisor
    long long percentDivisor = 1;  // 10^decimals
};

// Temporary tables of PercentDeleteRunner.
inline constexpr char kPercentMemoTable[] = "suite_top_memo";
inline constexpr char kPercentChosenTable[] = "suite_top_chosen";

// A statement whose derived rows can be kept between batches: deleting rows of t then
// removes exactly the derived rows built on them and changes no other derived row.
// Points into the statement it was matched on.
struct PercentDeleteMatch {
    const ast::TableFactor* derived = nullptr;   // a: the derived table
    const ast::TableFactor* instance = nullptr;  // t among the derived table's sources
    // A derived column the outer condition reads: the select item that gives it, or, for a
    // column reached through owner.*, that column already written.
    struct Kept {
        std::string name;
        const ast::Expr* expr = nullptr;
        std::string column;  // when expr is null
    };
    std::vector<Kept> kept;
};

std::optional<PercentDeleteMatch> MatchPercentDelete(const ast::Delete& d,
                                                     const SchemaSnapshot& schema);

// The parts of a matched statement written in the engine's dialect.
struct PercentDeleteParts {
    std::vector<std::string> kept;         // one per kept column, with the derived table's names
    std::string derivedTail;               // FROM, WHERE ... of the derived table
    std::optional<std::string> condition;  // the outer condition, with t and a
    long long percentScaled = 0;
    long long percentDivisor = 1;
};

PercentDelete PlanPercentDelete(const ast::Delete& d, const PercentDeleteMatch& match,
                                const PercentDeleteParts& parts);

}  // namespace adodb::sqlite
