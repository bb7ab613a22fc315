// Redirecting the seven shared tables to their SS_ synonyms for users who are not
// administrators. "@Admin_" written before a name keeps that occurrence as it is.
#include <array>
#include <string>
#include <string_view>

#include "db/db_dll.h"
#include "platform/text/strings.h"

namespace db {

namespace {

struct Synonym {
    std::string_view table;
    std::string_view synonym;
};

constexpr std::array<Synonym, 7> kSynonyms{{
    {"MA_CUENTAS", "SS_MA_CUENTAS"},
    {"V_TA_DEPOSITO", "SS_V_TA_DEPOSITO"},
    {"MV_ASIENTOS", "SS_MV_ASIENTOS"},
    {"V_TA_FAMILIAS", "SS_V_TA_FAMILIAS"},
    {"V_TA_CAJAS", "SS_V_TA_CAJAS"},
    {"AC_CUENTASDIARIO", "SS_AC_CUENTASDIARIO"},
    {"AC_CUENTASDIARIO_CCOSTO", "SS_AC_CUENTAS_DIARIO_CCOSTO"},
}};

constexpr std::string_view kMarker = "@Admin_";

// Replaces `before + table + after` by `before + synonym + after`.
std::string Redirect(const std::string& sql, const Synonym& s, std::string_view before,
                     std::string_view after) {
    const auto wrap = [&](std::string_view name) {
        return std::string(before) + std::string(name) + std::string(after);
    };
    return text::ReplaceAll(sql, wrap(s.table), wrap(s.synonym));
}

}  // namespace

std::string DB_Dll::SS_TSinonimos(const std::string& SQL) const {
    if (gEsAdmin) return text::ReplaceAll(SQL, kMarker, "");
    std::string result = SQL;
    for (const Synonym& s : kSynonyms) {
        // As a whole word after a blank or "(", or qualifying a column.
        result = Redirect(result, s, " ", " ");
        result = Redirect(result, s, "(", " ");
        result = Redirect(result, s, " ", ".");
        result = Redirect(result, s, "(", ".");
        result = Redirect(result, s, ",", ".");
        if (s.table == "MA_CUENTAS") {
            result = Redirect(result, s, "{", ".");
            result = text::ReplaceAll(result, "@Admin_MA_CUENTAS", "MA_CUENTAS");
        }
    }
    return text::ReplaceAll(result, kMarker, "");
}

}  // namespace db
