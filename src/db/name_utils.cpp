// Cutting and decorating table and object names.
#include <algorithm>
#include <string>

#include "db/db_dll.h"
#include "db/on_error.h"
#include "platform/text/strings.h"

namespace db {

std::string DB_Dll::stSTF(std::string& rsName, std::int16_t rnPart) {
    const auto periods = std::count(rsName.begin(), rsName.end(), '.');
    if (periods >= 2) {
        StripOwner(rsName);
        return rsName;
    }
    const int period = text::InStr(rsName, ".");
    if (rnPart != 0) return text::Mid(rsName, period + 1);
    if (period == 0) detail::RaiseInvalidArgument();
    return text::Left(rsName, period - 1);
}

std::string DB_Dll::AddBrackets(const std::string& rObjName) const {
    if (text::Contains(rObjName, " ") && !text::StartsWith(rObjName, "[")) {
        return "[" + rObjName + "]";
    }
    return rObjName;
}

std::string DB_Dll::StripConnect(const std::string& rsTblName) const {
    const int arrow = text::InStr(rsTblName, "->");
    if (arrow == 0) return rsTblName;
    // The blank before the arrow separates the name from the connection text.
    if (arrow < 2) detail::RaiseInvalidArgument();
    return text::Left(rsTblName, arrow - 2);
}

std::string DB_Dll::StripBrackets(const std::string& rsObjName) const {
    if (!text::StartsWith(rsObjName, "[")) return rsObjName;
    if (text::Len(rsObjName) < 2) detail::RaiseInvalidArgument();
    return text::Mid(rsObjName, 2, text::Len(rsObjName) - 2);
}

std::string DB_Dll::StripOwner(std::string& rsTblName) const {
    const int period = text::InStr(rsTblName, ".");
    if (period > 0) rsTblName = text::Mid(rsTblName, period + 1);
    return rsTblName;
}

std::string DB_Dll::StripFileName(const std::string& rsFileName) const {
    const int slash = text::InStrRev(rsFileName, "\\");
    return slash > 0 ? text::Left(rsFileName, slash - 1) : std::string();
}

}  // namespace db
