#include "purge/suite_tables.h"

#include <algorithm>
#include <array>
#include <vector>

#include "platform/adodb/connection.h"
#include "platform/text/runtime_error.h"
#include "platform/text/strings.h"

namespace purge {

namespace {

constexpr std::array<const char*, 6> kRequired = {
    "MV_EJERCICIOS", "MV_ASIENTOS", "MV_APLICACION", "V_MV_STOCK", "V_MV_CPTE", "TA_CONFIGURACION"};

}  // namespace

std::optional<std::string> NotASuiteDatabase(db::DB_Dll& db) {
    std::vector<std::string> tables;
    try {
        adodb::Recordset rs = db.gCnn.OpenSchema(adodb::kSchemaTables);
        for (; !rs.EOF(); rs.MoveNext()) {
            tables.push_back(text::ToUpper(rs.Fields("TABLE_NAME").Value().ToString()));
        }
    } catch (const text::RuntimeError& e) {
        return "No se pudo comprobar que " + db.gDbName +
               " sea una base de datos del sistema: " + e.Description();
    }
    std::string missing;
    for (const char* table : kRequired) {
        if (std::find(tables.begin(), tables.end(), table) != tables.end()) continue;
        missing += (missing.empty() ? "" : ", ") + std::string(table);
    }
    if (missing.empty()) return std::nullopt;
    return db.gDbName + " no es una base de datos del sistema: le faltan las tablas " + missing +
           ". No se depuró nada.";
}

}  // namespace purge
