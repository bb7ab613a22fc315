#include "platform/adodb/sqlite/schema_loader.h"

#include "platform/adodb/sqlite/engine_calls.h"
#include "platform/adodb/sqlite/engine_error.h"
#include "platform/adodb/sqlite/handles.h"
#include "platform/text/strings.h"

namespace adodb::sqlite {
namespace {

std::string Column(sqlite3_stmt* stmt, int i) {
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt, i));
    return p == nullptr ? std::string() : std::string(p);
}

}  // namespace

SchemaSnapshot LoadSchema(sqlite3* db) {
    SchemaSnapshot snapshot;
    StatementHandle tables = PrepareStatement(
        db,
        "SELECT name, type, sql FROM sqlite_master WHERE type IN ('table', 'view') AND name NOT "
        "LIKE 'sqlite!_%' ESCAPE '!' ORDER BY name",
        0);
    StatementHandle columns =
        PrepareStatement(db, "SELECT name, type, \"notnull\", pk FROM pragma_table_info(?1)", 0);
    int rc = SQLITE_OK;
    while ((rc = sqlite3_step(tables.get())) == SQLITE_ROW) {
        TableMeta table;
        table.name = Column(tables.get(), 0);
        table.isView = Column(tables.get(), 1) == "view";
        table.withoutRowid = text::Contains(Column(tables.get(), 2), "WITHOUT ROWID");
        StatementUse use(columns.get());
        sqlite3_bind_text(columns.get(), 1, table.name.c_str(), -1, SQLITE_TRANSIENT);
        int crc = SQLITE_OK;
        while ((crc = sqlite3_step(columns.get())) == SQLITE_ROW) {
            ColumnMeta c;
            c.name = Column(columns.get(), 0);
            c.declaredType = Column(columns.get(), 1);
            c.notNull = sqlite3_column_int(columns.get(), 2) != 0;
            c.primaryKeyPosition = sqlite3_column_int(columns.get(), 3);
            const char* collation = nullptr;
            if (sqlite3_table_column_metadata(db, "main", table.name.c_str(), c.name.c_str(),
                                              nullptr, &collation, nullptr, nullptr,
                                              nullptr) == SQLITE_OK &&
                collation != nullptr) {
                c.collation = collation;
            }
            table.columns.push_back(std::move(c));
        }
        if (crc != SQLITE_DONE) throw ComError(EngineError(db, crc, 0));
        snapshot.AddTable(std::move(table));
    }
    if (rc != SQLITE_DONE) throw ComError(EngineError(db, rc, 0));
    return snapshot;
}

}  // namespace adodb::sqlite
