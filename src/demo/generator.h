#pragma once
// Deterministic demo data for the suite's tables: the same options always give the same rows.
//
// Contents (fixed, whatever the scale):
// - fiscal years 2019 to 2025: 2019-2021 closed (CIERRE 1, CERRADO 1), 2022 with CIERRE 1 but
//   CERRADO 0, 2023-2025 open; the accounting, voucher and stock rows are spread evenly over
//   01/01/2019 to 31/12/2025, every 31 December included;
// - an earlier opening balance (voucher "SI" 000100000041X dated 31/12/2018) in the stock
//   movements, unless `opening_balance` is false;
// - voucher types (SI, FC, FA, NC, ND, RM, RC, OP, AJ), configuration keys (fechaoperdesde
//   01/01/2024, fechaoperhasta 31/12/2025, ...; no FECHAULTIMADEPURACION), the users
//   "admin" (administrator) and "operador" (ordinary, business unit 2), accounts, deposits,
//   families, cash boxes, articles.
// Traps a purge must get right: application rows and dependent voucher rows without a
// header (orphans); purchase voucher numbers repeated across suppliers and sales voucher
// numbers repeated across voucher types, in different years; one sales voucher stamped
// 31/12 at 19:45 in every year (after that day's midnight, so a purge up to that day keeps
// it); voided stock movements; stock descriptions holding single quotes; stock rows with a
// Null article, description or unit.
//
// Volume, proportional to `scale` (scale 1 is the interactive demo):
//   accounting entries (MV_ASIENTOS)      5,000 x scale
//   application rows (MV_APLICACION)     10,000 x scale
//   stock movements (V_MV_STOCK)          5,000 x scale  (plus the earlier opening balance)
//   voucher rows, the nine voucher tables 5,015 x scale  (plus a few fixed rows)
// Scale 200 gives the benchmark's million entries, two million application rows, a million
// stock movements and a million voucher rows. The smallest scale accepted is 0.05.
#include <cstdint>
#include <map>
#include <string>

namespace demo {

struct GeneratorOptions {
    double scale = 1;
    std::uint32_t seed = 1;
    // Overwrite an existing file; without it an existing file is refused and left untouched.
    bool replace = false;
    // Write the earlier "SI" opening balance (000100000041X) into the stock movements.
    bool opening_balance = true;
};

inline constexpr double kMinimumScale = 0.05;

struct GeneratorStats {
    std::map<std::string, long long> rows;  // rows written, per table
    double seconds = 0;                     // wall-clock time of the generation
    long long Total() const;
};

// Creates the database file `path` (schema and data), then leaves it in WAL journal mode.
// The file appears complete or not at all. Throws std::invalid_argument for a scale below
// kMinimumScale and std::runtime_error when the file exists (without `replace`) or cannot
// be written.
GeneratorStats GenerateDemoDatabase(const std::string& path, const GeneratorOptions& options);

// Rows per table (views left out) of an existing database.
std::map<std::string, long long> CountRows(const std::string& path);

// For the twelve tables a purge deletes from: the rows a purge up to `cutoff` must remove,
// that is rows dated on or before it, and dependent rows whose header is so dated
// (MV_APLICACION through MV_ASIENTOS, the V_ and C_ dependents through V_MV_CPTE and
// C_MV_CPTE). `cutoff` is "YYYY-MM-DD" (meaning that day at 00:00:00) or
// "YYYY-MM-DD HH:MM:SS"; other text throws std::invalid_argument.
std::map<std::string, long long> CountRowsOnOrBefore(const std::string& path,
                                                     const std::string& cutoff);

}  // namespace demo
