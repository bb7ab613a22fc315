#pragma once
// What the translator and the provider know of the database schema: its tables and views
// with their columns, and which column names hold dates. Names are matched without letter
// case, as the engine matches them.
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace adodb::sqlite {

struct ColumnMeta {
    std::string name;
    std::string declaredType;
    bool notNull = false;
    int primaryKeyPosition = 0;  // 1-based position in the primary key, 0 when not in it
    std::string collation;       // the declared collation (BINARY when none); empty if unknown
};

struct TableMeta {
    std::string name;
    bool isView = false;
    bool withoutRowid = false;
    std::vector<ColumnMeta> columns;

    const ColumnMeta* FindColumn(std::string_view column) const;
    std::vector<std::string> PrimaryKey() const;  // in key order
};

class SchemaSnapshot {
  public:
    void AddTable(TableMeta table);
    const TableMeta* Find(std::string_view table) const;
    const std::vector<TableMeta>& Tables() const { return tables_; }
    // A column name declared with a date type in any table or view.
    bool IsDateColumn(std::string_view column) const;

  private:
    std::vector<TableMeta> tables_;
    std::map<std::string, std::size_t> byName_;  // upper-case name -> index
    std::set<std::string> dateColumns_;          // upper-case names
};

}  // namespace adodb::sqlite
