#include "platform/adodb/sqlite/statement_cache.h"

namespace adodb::sqlite {

CachedStatement* StatementCache::Find(const std::string& key) {
    const auto it = index_.find(key);
    if (it == index_.end()) return nullptr;
    items_.splice(items_.begin(), items_, it->second);
    return &it->second->second;
}

CachedStatement& StatementCache::Insert(const std::string& key, CachedStatement entry) {
    if (const auto it = index_.find(key); it != index_.end()) {
        items_.erase(it->second);
        index_.erase(it);
    }
    while (!items_.empty() && items_.size() >= capacity_) {
        index_.erase(items_.back().first);
        items_.pop_back();
    }
    items_.emplace_front(key, std::move(entry));
    index_[key] = items_.begin();
    return items_.front().second;
}

void StatementCache::Clear() {
    index_.clear();
    items_.clear();
}

}  // namespace adodb::sqlite
