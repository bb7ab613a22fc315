#pragma once
// Small helpers shared by the demo tests: read-only queries on a database file.
#include <sqlite3.h>

#include <cstdint>
#include <string>

#include "demo/sqlite_handle.h"

namespace demotest {

inline demo::detail::DatabaseHandle OpenReadOnly(const std::string& path) {
    return demo::detail::OpenDatabase(path, SQLITE_OPEN_READONLY);
}

inline long long Count(sqlite3* db, const std::string& sql) {
    return demo::detail::QueryInt(db, sql);
}

inline std::string Text(sqlite3* db, const std::string& sql) {
    demo::detail::StatementHandle stmt = demo::detail::Prepare(db, sql);
    if (sqlite3_step(stmt.get()) != SQLITE_ROW) return "<no row>";
    const unsigned char* text = sqlite3_column_text(stmt.get(), 0);
    return text != nullptr ? reinterpret_cast<const char*>(text) : "<null>";
}

// FNV-1a over every value of every row, in the order of the query (Null kept distinct
// from empty text).
inline std::uint64_t Checksum(sqlite3* db, const std::string& sql) {
    demo::detail::StatementHandle stmt = demo::detail::Prepare(db, sql);
    std::uint64_t hash = 1469598103934665603ULL;
    const auto mix = [&](const void* data, int size) {
        const auto* bytes = static_cast<const unsigned char*>(data);
        for (int i = 0; i < size; ++i) hash = (hash ^ bytes[i]) * 1099511628211ULL;
    };
    while (sqlite3_step(stmt.get()) == SQLITE_ROW) {
        for (int c = 0; c < sqlite3_column_count(stmt.get()); ++c) {
            const int type = sqlite3_column_type(stmt.get(), c);
            mix(&type, sizeof type);
            const unsigned char* text = sqlite3_column_text(stmt.get(), c);
            if (text != nullptr) mix(text, sqlite3_column_bytes(stmt.get(), c));
        }
    }
    return hash;
}

}  // namespace demotest
