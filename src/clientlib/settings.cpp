#include "clientlib/settings.h"

#include <pwd.h>
#include <unistd.h>

#include <QLineEdit>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <vector>

#include "platform/text/strings.h"

namespace clientlib {

namespace fs = std::filesystem;

namespace {

constexpr const char* kConfigSubfolder = "depuraciones";

std::string& ApplicationFolderStorage() {
    static std::string folder;
    return folder;
}

std::string WithSlash(std::string folder) {
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder;
}

std::string TrimSpace(std::string_view s) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!s.empty() && blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && blank(s.back())) s.remove_suffix(1);
    return std::string(s);
}

// The file in `folder`: its exact name, else a file whose name differs only in letter case
// (the Windows side does not care about case, so "cn000pr.ini" is "CN000pr.INI").
std::optional<fs::path> FindInFolder(const fs::path& folder, const std::string& name) {
    std::error_code ec;
    if (folder.empty()) return std::nullopt;
    const fs::path exact = folder / name;
    if (fs::is_regular_file(exact, ec)) return exact;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        if (text::EqualsNoCase(it->path().filename().string(), name) &&
            fs::is_regular_file(it->path(), ec))
            return it->path();
    }
    return std::nullopt;
}

fs::path UserConfigFolder() {
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && xdg[0] == '/')
        return fs::path(xdg) / kConfigSubfolder;
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0')
        return fs::path(home) / ".config" / kConfigSubfolder;
    return {};
}

std::optional<fs::path> LocateIni(const std::string& file) {
    if (file.empty()) return std::nullopt;
    if (file.find('/') != std::string::npos) {
        std::error_code ec;
        if (fs::is_regular_file(file, ec)) return fs::path(file);
        return std::nullopt;
    }
    if (auto p = FindInFolder(ApplicationContext::ApplicationFolder(), file)) return p;
    return FindInFolder(UserConfigFolder(), file);
}

std::optional<std::string> ReadFileText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream buf;
    buf << in.rdbuf();
    std::string bytes = buf.str();
    if (bytes.rfind("\xEF\xBB\xBF", 0) == 0) bytes.erase(0, 3);
    if (!text::IsValidUtf8(bytes)) bytes = text::Cp1252ToUtf8(bytes);
    return bytes;
}

}  // namespace

std::string IniSettings::ReadValue(const std::string& file, const std::string& section,
                                   const std::string& key, const std::string& defaultValue) const {
    const auto path = LocateIni(file);
    if (!path) return defaultValue;
    const auto content = ReadFileText(*path);
    if (!content) return defaultValue;

    bool inSection = false;
    std::istringstream lines(*content);
    std::string raw;
    while (std::getline(lines, raw)) {
        const std::string line = TrimSpace(raw);
        if (line.empty() || line[0] == ';') continue;
        if (line[0] == '[') {
            // A section line without its closing bracket is malformed: the keys after it
            // belong to no section we could be asked for.
            const auto close = line.find(']');
            inSection = close != std::string::npos &&
                        text::EqualsNoCase(TrimSpace(line.substr(1, close - 1)), section);
            continue;
        }
        if (!inSection) continue;
        const auto eq = line.find('=');
        if (eq == std::string::npos) continue;
        if (!text::EqualsNoCase(TrimSpace(line.substr(0, eq)), key)) continue;
        std::string value = TrimSpace(line.substr(eq + 1));
        // One pair of double quotes around the value is taken off, as the Windows side does.
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
            value = value.substr(1, value.size() - 2);
        return value;
    }
    return defaultValue;
}

std::string StationInfo::FirstIdentity() const {
    char host[256] = {};
    if (gethostname(host, sizeof host - 1) != 0 || host[0] == '\0') return "localhost";
    return host;
}

std::string StationInfo::SecondIdentity() const {
    std::vector<char> buf(16384);
    passwd pw{};
    passwd* result = nullptr;
    if (getpwuid_r(getuid(), &pw, buf.data(), buf.size(), &result) == 0 && result != nullptr &&
        result->pw_name != nullptr && result->pw_name[0] != '\0')
        return result->pw_name;
    for (const char* var : {"USER", "LOGNAME"})
        if (const char* v = std::getenv(var); v != nullptr && *v != '\0') return v;
    return std::to_string(getuid());
}

void ApplicationContext::SetApplicationFolder(const std::string& folder) {
    ApplicationFolderStorage() = WithSlash(folder);
}

const std::string& ApplicationContext::ApplicationFolder() {
    std::string& folder = ApplicationFolderStorage();
    if (folder.empty()) folder = ProgramFolder();
    return folder;
}

std::string ProgramFolder() {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (!ec && exe.has_parent_path()) return WithSlash(exe.parent_path().string());
    const fs::path cwd = fs::current_path(ec);
    return ec ? std::string("./") : WithSlash(cwd.string());
}

bool DateBoxHelper::IsCompletionKey(int keyCode) const {
    return keyCode == 13 || keyCode == 9;
}

void DateBoxHelper::FilterKey(QLineEdit* /*box*/, int& keyAscii) const {
    if ((keyAscii >= '0' && keyAscii <= '9') || keyAscii == '/' ||
        (keyAscii >= 0 && keyAscii < 32) || keyAscii == 127)
        return;
    if (keyAscii == '-' || keyAscii == '.') {
        keyAscii = '/';
        return;
    }
    keyAscii = 0;
}

}  // namespace clientlib
