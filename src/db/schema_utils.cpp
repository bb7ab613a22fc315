// Looking at and extending the schema: does a table or a column exist, add a column.
#include <string>
#include <vector>

#include "db/db_dll.h"
#include "db/on_error.h"
#include "db/sql_text.h"
#include "platform/text/strings.h"

namespace db {

namespace {

// Walks the rows of a schema recordset looking for `name` in `field` (blanks at both ends and
// letter case ignored).
bool ListsName(adodb::Recordset& rs, const clientlib::UtilityServices& utils,
               const std::string& field, const std::string& name) {
    const std::string wanted = text::Trim(name);
    while (!rs.EOF()) {
        if (text::EqualsNoCase(text::Trim(utils.NullToEmpty(rs.Fields(field)).ToString()),
                               wanted)) {
            return true;
        }
        rs.MoveNext();
    }
    return false;
}

}  // namespace

bool DB_Dll::ExisteTablaDB(const std::string& Tabla) {
    const auto ask = [this](const text::RuntimeError& e) {
        return detail::AskReportError(Utils(), e, "VerificaCampos");
    };
    adodb::Recordset rs;
    bool found = false;
    if (!detail::RunStep([&] { rs = gCnn.OpenSchema(adodb::kSchemaTables); }, ask)) return false;
    detail::RunStep(
        [&] {
            if (rs.State() != adodb::kStateClosed && !rs.BOF()) {
                found = ListsName(rs, Utils(), "TABLE_NAME", Tabla);
            }
        },
        ask);
    return found;
}

bool DB_Dll::ExisteCampoDB(const std::string& Tabla, const std::string& Campo) {
    // The Oracle catalogue is not asked: every column counts as present there.
    if (text::Contains(gProveedor, "ORACLE")) return true;
    const auto ask = [this](const text::RuntimeError& e) {
        return detail::AskReportError(Utils(), e, "VerificaCampos");
    };
    adodb::Recordset rs;
    bool found = false;
    if (!detail::RunStep(
            [&] {
                rs = gCnn.OpenSchema(adodb::kSchemaColumns,
                                     {Variant(gDbName), Variant(), Variant(Tabla), Variant()});
            },
            ask)) {
        return false;
    }
    detail::RunStep(
        [&] {
            if (rs.State() != adodb::kStateClosed && !rs.BOF()) {
                found = ListsName(rs, Utils(), "COLUMN_NAME", Campo);
            }
        },
        ask);
    return found;
}

void DB_Dll::AddField(const std::string& Tabla, const std::string& Campo, const std::string& Tipo,
                      bool PermiteNulos, const Variant& ValorDefault) {
    detail::RunStep(
        [&] {
            std::string statement = "ALTER TABLE dbo." + Tabla + " ADD " + Campo + " " + Tipo +
                                    (PermiteNulos ? " Null " : " Not Null ");
            if (!ValorDefault.IsMissing()) {
                // A numeric default is written with a period, whatever the regional settings.
                statement += " CONSTRAINT DF_" + text::Trim(Tabla) + "_" + text::Trim(Campo) +
                             " DEFAULT (" + detail::SqlText(ValorDefault) + ")";
            }
            EjecutaConsultaSQL(statement);
        },
        [this](const text::RuntimeError& e) {
            return detail::AskReportError(Utils(), e, "errAddField");
        });
}

bool DB_Dll::VerCampoDB(const std::string& Tabla, const std::string& Campo, bool Agregar,
                        const std::string& Tipo, bool PermiteNulos, const Variant& ValorDefault) {
    const bool tableExists = ExisteTablaDB(Tabla);
    const bool fieldExists = ExisteCampoDB(Tabla, Campo);
    if (tableExists && !fieldExists && Agregar) {
        AddField(Tabla, Campo, Tipo, PermiteNulos, ValorDefault);
    }
    return true;
}

}  // namespace db
