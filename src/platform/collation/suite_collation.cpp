#include "platform/collation/suite_collation.h"

#include <sqlite3.h>

#include <string_view>

#include "platform/collation/collate_callback.h"

namespace collation {

int RegisterSuiteCollation(sqlite3* db) {
    return sqlite3_create_collation_v2(db, kSuiteCollation, SQLITE_UTF8, nullptr, &CollateSuiteText,
                                       nullptr);
}

std::string WithSuiteCollation(const std::string& sql) {
    static constexpr std::string_view kStock = "COLLATE NOCASE";
    const std::string replacement = std::string("COLLATE ") + kSuiteCollation;
    std::string out;
    out.reserve(sql.size());
    std::size_t from = 0;
    for (std::size_t at = sql.find(kStock); at != std::string::npos; at = sql.find(kStock, from)) {
        out.append(sql, from, at - from);
        out += replacement;
        from = at + kStock.size();
    }
    out.append(sql, from, std::string::npos);
    return out;
}

}  // namespace collation
