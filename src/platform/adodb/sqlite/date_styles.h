#pragma once
// Date styles of CONVERT (103 = dd/mm/yyyy, 112 = yyyymmdd, 120 = ISO, ...): reading a text
// in a style and writing a date in one. Style -1 means "none given": the session's date
// order when reading, "Mon dd yyyy hh:miAM" when writing.
#include <optional>
#include <string>
#include <string_view>

#include "platform/text/datetime.h"
#include "platform/text/regional.h"

namespace adodb::sqlite {

bool IsKnownDateStyle(int style);

// Blank text reads as 1900-01-01, as on SQL Server.
std::optional<text::DateTime> ReadDateInStyle(std::string_view s, int style,
                                              const text::RegionalSettings& session);

std::string WriteDateInStyle(const text::DateTime& d, int style);

// SQL Server counts days from 1900-01-01 (day 0); numbers convert to dates that way.
// Nothing outside SQL Server's date range (years 1753 to 9999).
std::optional<text::DateTime> DateFromServerDays(double days);

// The platform's serial date as a date, within the same range.
std::optional<text::DateTime> DateFromSerial(double serial);

}  // namespace adodb::sqlite
