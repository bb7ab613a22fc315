#pragma once
// Rewrites one SQL Server statement of the suite into what the embedded engine runs:
// owner prefixes and brackets removed, TOP [PERCENT] turned into LIMIT, DELETE ... FROM
// turned into a delete by row id, SQL Server functions mapped, date literals read in the
// session's date order, and text literals compared without letter case.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/adodb/sqlite/schema.h"
#include "platform/text/regional.h"

namespace adodb::sqlite {

// Type of a result column that the engine cannot tell (an expression); 0 when unknown.
struct ColumnHint {
    int type = 0;
    long size = 0;
};

// DELETE t FROM (SELECT TOP p PERCENT ... FROM <tables> WHERE ...) AS a WHERE <condition>,
// run in batches: the rows of the derived table are kept in a temporary table between
// runs of the same statement, so a batch neither counts nor walks the whole join again
// (see PercentDeleteRunner). Only built when that is sound: plain tables joined by INNER or
// CROSS joins, t among them exactly once, no subquery and no GETDATE.
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

struct Plan {
    enum class Kind {
        Query,          // sql[0] returns rows
        Change,         // data changes: sql run in order, rows affected of the last
        Schema,         // schema changes: sql run in order
        Begin,          // BEGIN TRAN[SACTION]
        Commit,         // COMMIT [TRAN[SACTION]]
        Rollback,       // ROLLBACK [TRAN[SACTION]]
        SetDateFormat,  // SET DATEFORMAT: dateOrder
        NoOp,           // SET NOCOUNT ON/OFF
        PercentDelete,  // percentDelete
    };
    Kind kind = Kind::NoOp;
    std::vector<std::string> sql;
    std::vector<ColumnHint> hints;  // Query: one per output column when the list has no *
    std::string baseTable;          // Query over one table (no join, grouping or aggregate)
    // Query: the columns that identify a row of baseTable (its primary key, or the row id
    // when it has none); empty when the table has neither.
    std::vector<std::string> rowKey;
    // Query: the parts of rowKey the statement does not select, read as extra trailing
    // result columns in this order (only when asked for with RowKeys::Added).
    std::vector<std::string> hiddenKey;
    text::DateOrder dateOrder = text::DateOrder::DMY;
    std::optional<PercentDelete> percentDelete;
};

// Whether a query over one table also reads the key columns it does not select.
enum class RowKeys { AsSelected, Added };

// `dates` gives the order in which date literals are read. With RowKeys::Added, a query
// over one table whose rows can be told apart without changing what it shows (no DISTINCT,
// grouping, aggregate or UNION) gets the missing parts of its row key as extra trailing
// columns (Plan::hiddenKey). Raises DialectError.
Plan Translate(std::string_view sql, const SchemaSnapshot& schema,
               const text::RegionalSettings& dates, RowKeys keys = RowKeys::AsSelected);

// "name" with embedded quotes doubled.
std::string QuoteName(std::string_view name);

}  // namespace adodb::sqlite
