#include "lookup/widths_file.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/text/regional.h"
#include "platform/text/runtime_error.h"
#include "platform/text/strings.h"

namespace lookup {
namespace {

constexpr std::int32_t kFileAccessError = 75;

[[noreturn]] void FileError(const std::string& path) {
    throw text::RuntimeError(kFileAccessError, "Path/File access error: " + path);
}

// One field of a line from `pos`: a quoted text (up to the closing quote) or a bare text up
// to the next comma. `pos` ends after the comma that follows the field.
std::string NextField(const std::string& line, std::size_t& pos) {
    while (pos < line.size() && line[pos] == ' ') ++pos;
    std::string field;
    if (pos < line.size() && line[pos] == '"') {
        const std::size_t close = line.find('"', pos + 1);
        const std::size_t end = close == std::string::npos ? line.size() : close;
        field = line.substr(pos + 1, end - pos - 1);
        pos = end == line.size() ? end : end + 1;
        const std::size_t comma = line.find(',', pos);
        pos = comma == std::string::npos ? line.size() : comma + 1;
        return field;
    }
    const std::size_t comma = line.find(',', pos);
    const std::size_t end = comma == std::string::npos ? line.size() : comma;
    field = text::Trim(line.substr(pos, end - pos));
    pos = comma == std::string::npos ? line.size() : comma + 1;
    return field;
}

std::string FolderPath(const std::string& folder, const char* name) {
    return (std::filesystem::path(folder) / name).string();
}

}  // namespace

std::vector<WidthsRecord> ReadWidthsFile(const std::string& path) {
    std::vector<WidthsRecord> records;
    std::ifstream in(path, std::ios::binary);
    if (!in.is_open()) return records;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (text::Trim(line).empty()) continue;
        const std::string utf8 = text::Cp1252ToUtf8(line);
        std::size_t pos = 0;
        WidthsRecord record;
        record.key = NextField(utf8, pos);
        record.widths = NextField(utf8, pos);
        records.push_back(std::move(record));
    }
    return records;
}

std::string WidthsLine(const WidthsRecord& record) {
    return "\"" + record.key + "\",\"" + record.widths + "\"";
}

std::string WidthsText(const std::vector<double>& widths) {
    std::string out;
    for (const double w : widths) out += text::NumberToText(w) + "|";
    return out;
}

void SaveWidthsRecord(const std::string& folder, const WidthsRecord& own) {
    namespace fs = std::filesystem;
    const std::string path = FolderPath(folder, kWidthsFile);
    const std::string aux = FolderPath(folder, kWidthsAuxFile);
    std::ostringstream content;
    for (const WidthsRecord& r : ReadWidthsFile(path)) {
        if (!text::EqualsNoCase(r.key, own.key)) content << WidthsLine(r) << "\r\n";
    }
    content << WidthsLine(own) << "\r\n";
    {
        std::ofstream out(aux, std::ios::binary | std::ios::trunc);
        if (!out.is_open()) FileError(aux);
        const std::string bytes = text::Utf8ToCp1252(content.str());
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out) FileError(aux);
    }
    std::error_code ec;
    fs::rename(aux, path, ec);
    if (ec) FileError(path);
}

}  // namespace lookup
