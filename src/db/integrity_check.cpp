#include "db/integrity_check.h"

namespace db {

IntegrityVerdict CheckIntegrity(DB_Dll& database, int maxProblems) {
    const adodb::IntegrityReport report = database.gCnn.CheckIntegrity(maxProblems);
    IntegrityVerdict verdict;
    verdict.checked = report.checked;
    verdict.ok = report.ok;
    if (report.ok) return verdict;
    std::string text = "La base de datos " + database.gDbName +
                       " está dañada y no se depurará nada.\n\nPrimeros problemas encontrados:";
    for (const std::string& problem : report.problems) text += "\n" + problem;
    text += "\n\nRestaure una copia de seguridad o repare la base de datos antes de depurar.";
    verdict.message = std::move(text);
    return verdict;
}

}  // namespace db
