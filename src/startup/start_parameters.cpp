#include "startup/start_parameters.h"

#include "clientlib/utility_services.h"
#include "platform/text/strings.h"
#include "startup/mod_global.h"

namespace startup {
namespace {

constexpr const char* kParametroAdicional = "@ParametroAdicional";
constexpr const char* kPassword = "@Password";

// One item of the parameter string: whether its key occurs, and whether its value could be
// read (a ";" closes it, or the key reads a fixed length when open).
struct ItemValue {
    bool found = false;
    bool complete = false;
    std::string value;
};

// Bytes of the first `count` characters of the UTF-8 text from byte `from` (0-based), fewer
// at the end of the text.
int BytesOfCharacters(const std::string& text, std::size_t from, int count) {
    std::size_t at = from;
    for (int n = 0; n < count && at < text.size(); ++n) {
        ++at;
        while (at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80) ++at;
    }
    return static_cast<int>(at - from);
}

ItemValue ReadItem(const std::string& text, const std::string& key, bool lengthOfKeyWhenOpen) {
    ItemValue item;
    const int keyPos = text::InStr(text, key);
    if (keyPos == 0) return item;
    item.found = true;
    const int keyLen = text::Len(key);
    const int semicolon = text::InStr(text, ";", keyPos);
    int length = 0;
    if (semicolon > 0) {
        length = semicolon - keyPos - keyLen;
    } else if (lengthOfKeyWhenOpen) {
        // As many characters as the key has (not bytes: a character is never cut).
        length = BytesOfCharacters(text, static_cast<std::size_t>(keyPos - 1 + keyLen), keyLen);
    } else {
        return item;  // no ";" closes the item: nothing is read
    }
    item.complete = true;
    const clientlib::UtilityServices utils;
    item.value = text::Trim(utils.StripChars(text::Mid(text, keyPos + keyLen, length), "="));
    return item;
}

void Take(const std::string& text, const std::string& key, std::string& field,
          const std::string& absentDefault, bool lengthOfKeyWhenOpen = false) {
    const ItemValue item = ReadItem(text, key, lengthOfKeyWhenOpen);
    if (!item.found) {
        field = absentDefault;
    } else if (item.complete) {
        field = item.value;
    }
}

}  // namespace

StartParameters ParseStartParameters(const std::string& text, const StartParameters& previous) {
    StartParameters p = previous;
    Take(text, kParametroAdicional, p.parametroAdicional, "", true);
    Take(text, "@Menu", p.menu, "");
    Take(text, "@Server", p.server, "");
    Take(text, "@DbName", p.dbName, "");
    Take(text, "@Usuario", p.user, "");
    Take(text, kPassword, p.password, "");
    Take(text, "@UsuarioLogeado", p.usuarioLogeado, "");
    Take(text, "@Caja", p.caja, "1");
    return p;
}

void ApplyOracleServer(StartParameters& params, std::string& connectionString) {
    if (text::Trim(params.server).empty() || params.server.front() != '#') return;
    params.server = text::Mid(params.server, 2);
    if (connectionString.empty()) {
        connectionString = "Provider=OraOLEDB.Oracle.1;Data Source=" + params.dbName +
                           ";User Id=" + params.user + ";Password=" + params.password + ";";
    }
}

std::string ParameterStringFromIni(const std::string& server, const std::string& dbName,
                                   const std::string& user, const std::string& password) {
    return "@server=" + server + "; @dbname= " + dbName + "; @usuario= " + user +
           "; @Password= " + password + "; @ParametroAdicional=; @Caja=1;Tarn@";
}

TextRange PasswordValueRange(const std::string& text) {
    const int keyPos = text::InStr(text, kPassword);
    if (keyPos == 0) return {};
    const std::size_t begin = static_cast<std::size_t>(keyPos - 1 + text::Len(kPassword));
    const int semicolon = text::InStr(text, ";", keyPos);
    const std::size_t end = semicolon > 0 ? static_cast<std::size_t>(semicolon - 1) : text.size();
    return {begin, end};
}

std::string NormalizarServidor(const std::string& texto) {
    std::string name = texto;
    if (const int slash = text::InStrExact(name, "/"); slash > 0) name = text::Mid(name, slash + 1);
    if (const int colon = text::InStrExact(name, ":"); colon > 0)
        name = text::Left(name, colon - 1);
    return name;
}

}  // namespace startup
