// depuraciones-bench: the whole purge measured. Generates a database at the chosen scale,
// runs the program's twelve steps on it in batch mode, reaches the same end state on a copy
// with one plain statement per table, and prints per step the rows, seconds and rows per
// second of both, the totals, their ratio and the program's peak memory.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <iostream>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "bench_baseline.h"
#include "bench_run.h"
#include "demo/generator.h"
#include "demo/sqlite_handle.h"
#include "platform/text/regional.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kHelp =
    R"(Uso: depuraciones-bench [--scale X] [--seed N] [--fiscal-year AÑO] [--dir CARPETA]
                         [--keep] [--program RUTA]

Genera una base de demostración (escala 200 por defecto: un millón de asientos, dos
millones de aplicaciones, un millón de movimientos de stock y un millón de filas de
comprobantes), la depura con el programa en modo lote (los doce pasos) y, sobre una
copia, llega al mismo estado final con una sola sentencia por tabla. Muestra por paso
filas, segundos y filas por segundo de ambos, los totales, la relación entre ellos y la
memoria máxima del programa.

  --scale X         escala de la base generada (mínimo 0.05)
  --seed N          semilla de los datos (por defecto 1)
  --fiscal-year A   ejercicio cerrado a depurar (por defecto 2021)
  --dir CARPETA     dónde dejar las bases (por defecto una carpeta temporal nueva)
  --keep            no borrar las bases al terminar
  --program RUTA    el programa de depuración a medir
)";

struct Options {
    double scale = 200;
    std::uint32_t seed = 1;
    std::string fiscalYear = "2021";
    std::string dir;
    bool keep = false;
    std::string program = DEPURACIONES_PROGRAM;
};

bool Parse(int argc, char** argv, Options& o) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view a = argv[i];
        const auto value = [&]() -> std::string {
            if (i + 1 >= argc) throw std::invalid_argument("falta el valor de " + std::string(a));
            return argv[++i];
        };
        if (a == "--help" || a == "-h") {
            std::cout << kHelp;
            return false;
        } else if (a == "--scale") {
            o.scale = std::stod(value());
        } else if (a == "--seed") {
            o.seed = static_cast<std::uint32_t>(std::stoul(value()));
        } else if (a == "--fiscal-year") {
            o.fiscalYear = value();
        } else if (a == "--dir") {
            o.dir = value();
        } else if (a == "--keep") {
            o.keep = true;
        } else if (a == "--program") {
            o.program = value();
        } else {
            throw std::invalid_argument("argumento desconocido: " + std::string(a));
        }
    }
    return true;
}

// The fiscal year's end as the program writes it (day/month/year), and as stored.
std::pair<std::string, std::string> Cutoff(const std::string& db, const std::string& year) {
    auto raw = demo::detail::OpenDatabase(db, SQLITE_OPEN_READONLY);
    auto stmt = demo::detail::Prepare(
        raw.get(), "SELECT \"FECHA HASTA\" FROM MV_EJERCICIOS WHERE PERIODO = " + year);
    if (sqlite3_step(stmt.get()) != SQLITE_ROW)
        throw std::runtime_error("el ejercicio " + year + " no existe");
    const std::string iso = reinterpret_cast<const char*>(sqlite3_column_text(stmt.get(), 0));
    const auto date = text::DateTime::FromIso(iso);
    if (!date) throw std::runtime_error("fecha de cierre ilegible: " + iso);
    return {text::FormatDefault(*date, text::RegionalSettings{}), iso};
}

// Stock per article, unit, deposit, position, serial number and lot (non-voided movements).
std::string Balances(const std::string& db) {
    auto raw = demo::detail::OpenDatabase(db, SQLITE_OPEN_READONLY);
    auto stmt = demo::detail::Prepare(
        raw.get(),
        "SELECT group_concat(k, ';') FROM (SELECT ifnull(IDARTICULO,'') || '|' || "
        "ifnull(IDUNIDAD,'') || '|' || ifnull(IdDeposito,'') || '|' || ifnull(IdPosicion,'') "
        "|| '|' || ifnull(NroSerie,'') || '|' || ifnull(NroLote,'') || '=' || "
        "printf('%.4f/%.4f', round(total(CANTIDAD), 4), round(total(CantidadUD), 4)) AS k "
        "FROM V_MV_STOCK WHERE Anulado = 0 GROUP BY IDARTICULO, IDUNIDAD, IdDeposito, "
        "IdPosicion, NroSerie, NroLote ORDER BY 1)");
    sqlite3_step(stmt.get());
    const auto* t = sqlite3_column_text(stmt.get(), 0);
    return t ? reinterpret_cast<const char*>(t) : "";
}

double PerSecond(double rows, double seconds) {
    return seconds > 0 ? rows / seconds : 0;
}

int Run(const Options& o) {
    const bool ownDir = o.dir.empty();
    const fs::path dir =
        ownDir ? fs::temp_directory_path() / ("depuraciones-bench-" + std::to_string(getpid()))
               : fs::path(o.dir);
    fs::create_directories(dir);
    const std::string purged = (dir / "depurada.db").string();
    const std::string baseline = (dir / "base.db").string();

    std::printf("Escala %g, semilla %u, %ld núcleos\n", o.scale, o.seed,
                sysconf(_SC_NPROCESSORS_ONLN));
    demo::GeneratorOptions gen;
    gen.scale = o.scale;
    gen.seed = o.seed;
    gen.replace = true;
    const demo::GeneratorStats stats = demo::GenerateDemoDatabase(purged, gen);
    std::printf("Base generada: %lld filas en %.1f s\n", stats.Total(), stats.seconds);
    {
        // Everything in the main file, so that a plain copy is the same database.
        auto raw = demo::detail::OpenDatabase(purged, SQLITE_OPEN_READWRITE);
        demo::detail::Exec(raw.get(), "PRAGMA wal_checkpoint(TRUNCATE)");
    }
    fs::copy_file(purged, baseline, fs::copy_options::overwrite_existing);
    const auto [fecha, iso] = Cutoff(purged, o.fiscalYear);
    const auto before = demo::CountRows(purged);
    const auto due = demo::CountRowsOnOrBefore(purged, iso);

    std::printf("Depurando el ejercicio %s (hasta %s) con %s\n", o.fiscalYear.c_str(),
                fecha.c_str(), o.program.c_str());
    std::fflush(stdout);
    const bench::ProgramRun run = bench::RunProgram(o.program, purged, o.fiscalYear);
    if (run.exitStatus != 0 || run.steps.size() != 12) {
        std::fprintf(stderr, "El programa terminó con estado %d:\n%s\n%s\n", run.exitStatus,
                     run.out.c_str(), run.err.c_str());
        return 1;
    }
    const std::vector<bench::BaselineStatement> base = bench::RunBaseline(baseline, fecha);

    std::printf("\n%-4s %-18s %-10s %10s %10s %9s %11s | %10s %9s %11s\n", "Paso", "Tabla",
                "Resultado", "A borrar", "Filas", "Segundos", "Filas/s", "Filas base", "Seg. base",
                "Filas/s");
    double total = 0;
    double baseTotal = 0;
    long long rows = 0;
    for (std::size_t i = 0; i < run.steps.size(); ++i) {
        const bench::StepFigures& s = run.steps[i];
        const bench::BaselineStatement& b = base.at(i);
        const auto d = due.find(s.table);
        std::printf("%4d %-18s %-10s %10lld %10lld %9.2f %11.0f | %10ld %9.2f %11.0f\n", s.step,
                    s.table.c_str(), s.outcome.c_str(), d == due.end() ? 0LL : d->second, s.rows,
                    s.seconds, PerSecond(static_cast<double>(s.rows), s.seconds), b.rows, b.seconds,
                    PerSecond(static_cast<double>(b.rows), b.seconds));
        total += s.seconds;
        baseTotal += b.seconds;
        rows += s.rows;
    }
    std::printf("%-4s %-18s %-10s %10s %10lld %9.2f %11.0f | %10s %9.2f\n", "", "Total", "", "",
                rows, total, PerSecond(static_cast<double>(rows), total), "", baseTotal);
    std::printf("\nProceso completo del programa: %.2f s (con arranque y conexión)\n",
                run.wallSeconds);
    std::printf("Memoria máxima del programa: %.1f MB\n",
                static_cast<double>(run.peakRssKb) / 1024);
    std::printf("Relación pasos/base: %.2f\n", baseTotal > 0 ? total / baseTotal : 0.0);

    // Both ways must end in the same place: the same rows per table and the same stock.
    const auto afterProgram = demo::CountRows(purged);
    const auto afterBaseline = demo::CountRows(baseline);
    bool same = afterProgram == afterBaseline && Balances(purged) == Balances(baseline);
    for (const auto& [table, count] : before) {
        const long long left = afterProgram.at(table);
        if (left != count) std::printf("  %-18s %10lld -> %10lld\n", table.c_str(), count, left);
    }
    std::printf("Estado final igual al de la base: %s\n", same ? "sí" : "NO");

    if (ownDir && !o.keep)
        fs::remove_all(dir);
    else
        std::printf("Bases en %s\n", dir.string().c_str());
    return same ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        Options o;
        if (!Parse(argc, argv, o)) return 0;
        return Run(o);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "depuraciones-bench: %s\n", e.what());
        return 2;
    }
}
