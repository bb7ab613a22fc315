#pragma once
// Rewrites one SQL Server statement of the suite into what the embedded engine runs:
// owner prefixes and brackets removed, TOP [PERCENT] turned into LIMIT, DELETE ... FROM
// turned into a delete by row id, SQL Server functions mapped, date literals read in the
// session's date order, and text literals compared without letter case.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/adodb/sqlite/percent_delete_plan.h"
#include "platform/adodb/sqlite/schema.h"
#include "platform/text/regional.h"

namespace adodb::sqlite {

// Type of a result column that the engine cannot tell (an expression); 0 when unknown.
struct ColumnHint {
    int type = 0;
    long size = 0;
};

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
