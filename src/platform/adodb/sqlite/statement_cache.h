#pragma once
// Translated and prepared statements kept by statement text (least recently used entries
// dropped first), so a statement sent again is neither translated nor prepared again.
#include <cstddef>
#include <list>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/adodb/sqlite/handles.h"
#include "platform/adodb/sqlite/translator.h"

namespace adodb::sqlite {

struct CachedStatement {
    Plan plan;
    std::vector<StatementHandle> prepared;  // one per plan.sql entry
};

class StatementCache {
  public:
    explicit StatementCache(std::size_t capacity) : capacity_(capacity) {}

    // The entry for `key`, now the most recently used; null when absent.
    CachedStatement* Find(const std::string& key);
    // Stores an entry (dropping the least recently used one when full) and returns it.
    CachedStatement& Insert(const std::string& key, CachedStatement entry);
    void Clear();
    std::size_t Size() const { return items_.size(); }

  private:
    using Item = std::pair<std::string, CachedStatement>;
    std::size_t capacity_;
    std::list<Item> items_;  // most recently used first
    std::unordered_map<std::string, std::list<Item>::iterator> index_;
};

}  // namespace adodb::sqlite
