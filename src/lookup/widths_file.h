#pragma once
// The column-widths file "CONSULTASLEN.OVL": one line per record, CR LF, Windows-1252 text,
// two quoted fields separated by a comma: the table key and the widths text, each width
// followed by "|" ("1440|2895|"). Lines ended by LF alone are read too.
#include <string>
#include <vector>

namespace lookup {

inline constexpr const char* kWidthsFile = "CONSULTASLEN.OVL";
inline constexpr const char* kWidthsAuxFile = "CONSULTASLEN.AUX";

struct WidthsRecord {
    std::string key;     // UTF-8
    std::string widths;  // UTF-8
};

// The records of the file in order; none when the file does not exist.
std::vector<WidthsRecord> ReadWidthsFile(const std::string& path);

// One record as its line, without the line end (UTF-8).
std::string WidthsLine(const WidthsRecord& record);

// Widths text of the columns: each width as the platform writes a number (whole widths
// without decimals, a fraction with the regional decimal separator), followed by "|".
std::string WidthsText(const std::vector<double>& widths);

// Saves `own` in `folder`: the records of other keys (compared without letter case) are
// kept in order, `own` goes last. The auxiliary file is written completely and then renamed
// over the widths file, so an interrupted save leaves the old file intact. Raises
// text::RuntimeError 75 when a file cannot be written.
void SaveWidthsRecord(const std::string& folder, const WidthsRecord& own);

}  // namespace lookup
