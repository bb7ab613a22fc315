// Values written as SQL literals, and the classifiers of field data-type numbers.
#include <initializer_list>
#include <string>

#include "db/db_dll.h"
#include "db/sql_text.h"
#include "platform/text/strings.h"

namespace db {

namespace {

bool IsOneOf(const Variant& Qtype, std::initializer_list<int> numbers) {
    const auto type = detail::TypeNumber(Qtype);
    if (!type) return false;
    for (int n : numbers) {
        if (*type == n) return true;
    }
    return false;
}

}  // namespace

Variant DB_Dll::SQLValue(Variant Valor, const std::string& Tipo) {
    if (text::EqualsNoCase(Tipo, "@")) {
        // A number with "." as decimal point; Null and empty values read as 0.
        const bool blank = Valor.IsNull() || Valor.IsEmpty() || Valor.IsMissing();
        const adodb::Currency number = Utils().TextToNumber(blank ? "" : Valor.ToString());
        return Variant(Utils().ReplaceAll(Variant(number).ToString(), ",", "."));
    }
    if (Valor.IsNull()) return Variant("NULL");
    // Quotes inside a quoted text are doubled, so the literal stays one literal.
    if (Tipo == "'") return Variant("'" + detail::DoubleQuotes(Valor.ToString()) + "'");
    return Variant(Valor.ToString());
}

bool DB_Dll::adodate(const Variant& Qtype) const {
    return IsOneOf(Qtype, {7, 133, 137, 134, 135, 64});
}

bool DB_Dll::ADOText(const Variant& Qtype) const {
    return IsOneOf(Qtype, {8, 201, 203, 200, 202, 130});
}

bool DB_Dll::ADONumeric(const Variant& Qtype) const {
    return IsOneOf(Qtype, {20, 14, 5, 3, 131, 4, 2, 16, 21, 19, 18, 17});
}

bool DB_Dll::ADOCurrency(const Variant& Qtype) const {
    return IsOneOf(Qtype, {6});
}

bool DB_Dll::ADOBoolean(const Variant& Qtype) const {
    return IsOneOf(Qtype, {11});
}

}  // namespace db
