#include "purge/result_table.h"

#include <cmath>
#include <cstdio>
#include <ostream>

namespace purge {

void PrintResultTable(std::ostream& out, const std::vector<StepReport>& steps) {
    char line[160];
    std::snprintf(line, sizeof line, "%-4s  %-18s  %-18s  %12s  %9s\n", "Paso", "Tabla",
                  "Resultado", "Filas", "Segundos");
    out << line;
    for (const StepReport& r : steps) {
        // Seconds with a decimal point whatever the process locale, for scripts that read it.
        const long long hundredths = std::llround(r.seconds * 100.0);
        std::snprintf(line, sizeof line, "%4d  %-18s  %-18s  %12ld  %6lld.%02lld\n", r.step,
                      r.table.c_str(), OutcomeDescription(r).c_str(), r.rows, hundredths / 100,
                      hundredths % 100);
        out << line;
    }
    out.flush();
}

}  // namespace purge
