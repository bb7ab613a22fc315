#pragma once
// Settings of one database session that the engine's functions read while a statement
// runs: the date order set by SET DATEFORMAT, else the regional one.
#include <memory>
#include <optional>

#include "platform/text/regional.h"

struct sqlite3;

namespace adodb::sqlite {

struct Session {
    std::optional<text::DateOrder> dateOrder;  // set by SET DATEFORMAT

    text::RegionalSettings Dates() const {
        text::RegionalSettings rs = text::RegionalSettings::Current();
        if (dateOrder) rs.dateOrder = *dateOrder;
        return rs;
    }
};

// RegisterSuiteFunctions for a provider's connection: the date functions follow `session`.
void RegisterSuiteFunctions(sqlite3* db, std::shared_ptr<const Session> session);

}  // namespace adodb::sqlite
