#include "lookup/mascara_consulta.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>

#include "platform/text/runtime_error.h"
#include "platform/text/strings.h"

namespace lookup {
namespace {

struct FieldLayout {
    std::size_t offset;
    std::size_t width;
};
constexpr FieldLayout kNombre{0, 100};
constexpr FieldLayout kTabla{100, 100};
constexpr FieldLayout kCampos{200, 500};
constexpr FieldLayout kFiltro{700, 500};
constexpr std::size_t kLineEnd = 1200;

constexpr std::int32_t kFileAccessError = 75;

void Put(std::string& record, FieldLayout field, const std::string& utf8) {
    const std::string bytes = text::Utf8ToCp1252(utf8);
    record.replace(field.offset, std::min(bytes.size(), field.width), bytes, 0, field.width);
}

std::string Get(std::string_view record, FieldLayout field) {
    return text::Cp1252ToUtf8(record.substr(field.offset, field.width));
}

[[noreturn]] void FileError(const std::string& path) {
    throw text::RuntimeError(kFileAccessError, "Path/File access error: " + path);
}

}  // namespace

std::string EncodeMascara(const MascaraConsulta& record) {
    std::string bytes(kMascaraRecordSize, ' ');
    Put(bytes, kNombre, record.Nombre);
    Put(bytes, kTabla, record.Tabla);
    Put(bytes, kCampos, record.Campos);
    Put(bytes, kFiltro, record.Filtro);
    bytes[kLineEnd] = '\r';
    bytes[kLineEnd + 1] = '\n';
    return bytes;
}

MascaraConsulta DecodeMascara(std::string_view bytes) {
    return {Get(bytes, kNombre), Get(bytes, kTabla), Get(bytes, kCampos), Get(bytes, kFiltro)};
}

MascaraReader::MascaraReader(const std::string& path) : in_(path, std::ios::binary) {}

std::optional<MascaraConsulta> MascaraReader::Next() {
    if (!in_.is_open()) return std::nullopt;
    std::string bytes(kMascaraRecordSize, '\0');
    if (!in_.read(bytes.data(), static_cast<std::streamsize>(bytes.size()))) return std::nullopt;
    return DecodeMascara(bytes);
}

void AppendMascaras(const std::string& path, const std::vector<MascaraConsulta>& records) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const bool existed = fs::exists(path, ec);
    const std::uintmax_t originalSize = existed ? fs::file_size(path, ec) : 0;
    if (ec) FileError(path);

    std::string bytes;
    for (const MascaraConsulta& record : records) bytes += EncodeMascara(record);
    const std::uintmax_t offset = originalSize / kMascaraRecordSize * kMascaraRecordSize;

    bool written = false;
    {
        std::fstream file(path, std::ios::binary | std::ios::in | std::ios::out |
                                    (existed ? std::ios::openmode{} : std::ios::trunc));
        if (file.is_open()) {
            file.seekp(static_cast<std::streamoff>(offset));
            file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
            file.flush();
            written = static_cast<bool>(file);
        }
    }
    if (written) return;
    // Leave no half-written catalogue behind.
    if (existed) {
        fs::resize_file(path, originalSize, ec);
    } else {
        fs::remove(path, ec);
    }
    FileError(path);
}

}  // namespace lookup
