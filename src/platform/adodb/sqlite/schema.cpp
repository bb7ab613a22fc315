#include "platform/adodb/sqlite/schema.h"

#include <algorithm>

#include "platform/adodb/sqlite/column_types.h"
#include "platform/text/strings.h"

namespace adodb::sqlite {

const ColumnMeta* TableMeta::FindColumn(std::string_view column) const {
    for (const ColumnMeta& c : columns) {
        if (text::EqualsNoCase(c.name, column)) return &c;
    }
    return nullptr;
}

std::vector<std::string> TableMeta::PrimaryKey() const {
    std::vector<const ColumnMeta*> key;
    for (const ColumnMeta& c : columns) {
        if (c.primaryKeyPosition > 0) key.push_back(&c);
    }
    std::sort(key.begin(), key.end(), [](const ColumnMeta* a, const ColumnMeta* b) {
        return a->primaryKeyPosition < b->primaryKeyPosition;
    });
    std::vector<std::string> names;
    for (const ColumnMeta* c : key) names.push_back(c->name);
    return names;
}

void SchemaSnapshot::AddTable(TableMeta table) {
    for (const ColumnMeta& c : table.columns) {
        if (IsDateType(c.declaredType)) dateColumns_.insert(text::ToUpper(c.name));
    }
    byName_[text::ToUpper(table.name)] = tables_.size();
    tables_.push_back(std::move(table));
}

const TableMeta* SchemaSnapshot::Find(std::string_view table) const {
    const auto it = byName_.find(text::ToUpper(table));
    return it == byName_.end() ? nullptr : &tables_[it->second];
}

bool SchemaSnapshot::IsDateColumn(std::string_view column) const {
    return dateColumns_.count(text::ToUpper(column)) > 0;
}

}  // namespace adodb::sqlite
