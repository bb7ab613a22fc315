// The lookup catalogue: any file reads without fault, a record read re-encodes to a record
// that decodes to itself, and appending lands on the next record boundary.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "lookup/mascara_consulta.h"
#include "platform/text/runtime_error.h"
#include "support/fuzz_check.h"

using fuzzsupport::Require;

namespace {

bool Same(const lookup::MascaraConsulta& a, const lookup::MascaraConsulta& b) {
    return a.Nombre == b.Nombre && a.Tabla == b.Tabla && a.Campos == b.Campos &&
           a.Filtro == b.Filtro;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::string path = fuzzsupport::ScratchFolder() + "/consultas.ovl";
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << input;
    }

    std::vector<lookup::MascaraConsulta> records;
    {
        lookup::MascaraReader reader(path);
        Require(reader.IsOpen(), "catalogue not opened", input);
        while (auto r = reader.Next()) records.push_back(*r);
    }
    Require(records.size() == input.size() / lookup::kMascaraRecordSize,
            "not every whole record was read", input);
    for (const auto& r : records) {
        const std::string bytes = lookup::EncodeMascara(r);
        Require(bytes.size() == lookup::kMascaraRecordSize, "encoded record of wrong size", input);
        Require(Same(lookup::DecodeMascara(bytes), r), "record changed on re-encoding", input);
    }

    // A record made of the input's first texts lands after the last whole record.
    lookup::MascaraConsulta added{input.substr(0, 120), "TABLA", "|Codigo|Nombre|",
                                  input.substr(input.size() / 2)};
    lookup::AppendMascaras(path, {added});
    const auto whole = input.size() / lookup::kMascaraRecordSize;
    Require(std::filesystem::file_size(path) == (whole + 1) * lookup::kMascaraRecordSize,
            "append did not land on a record boundary", input);
    lookup::MascaraReader reader(path);
    std::optional<lookup::MascaraConsulta> last;
    while (auto r = reader.Next()) last = r;
    Require(last.has_value() && Same(*last, lookup::DecodeMascara(lookup::EncodeMascara(added))),
            "appended record does not read back", input);
    return 0;
}
