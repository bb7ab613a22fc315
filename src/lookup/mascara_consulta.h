#pragma once
// The lookup catalogue file ("consultas.ovl"): fixed records of 1202 bytes, no header,
// Windows-1252 text, each field left-aligned and blank-filled to its width (a longer text
// is cut), the record ended by CR LF.
//
//   offset    0  length 100  Nombre   entry name
//   offset  100  length 100  Tabla    table or view the entry is for
//   offset  200  length 500  Campos   field names, each preceded, the last also followed, by "|"
//   offset  700  length 500  Filtro   condition for the WHERE part; blank when none
//   offset 1200  length   2  CR LF
#include <cstddef>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lookup {

// Texts in UTF-8. Read back from a file they hold the whole field, blank filler included.
struct MascaraConsulta {
    std::string Nombre;
    std::string Tabla;
    std::string Campos;
    std::string Filtro;
};

inline constexpr std::size_t kMascaraRecordSize = 1202;

std::string EncodeMascara(const MascaraConsulta& record);
// `bytes` must be exactly one record long.
MascaraConsulta DecodeMascara(std::string_view bytes);

// Reads a catalogue file record by record from the first. A trailing piece shorter than a
// record is not a record and ends the reading.
class MascaraReader {
  public:
    explicit MascaraReader(const std::string& path);
    bool IsOpen() const { return in_.is_open(); }
    std::optional<MascaraConsulta> Next();

  private:
    std::ifstream in_;
};

// Writes the records after the last whole record of the file, creating it when missing:
// record number (length / 1202) + 1 onwards, so new records always start on a record
// boundary. Raises text::RuntimeError 75 when the file cannot be written; the file is then
// left as it was.
void AppendMascaras(const std::string& path, const std::vector<MascaraConsulta>& records);

}  // namespace lookup
