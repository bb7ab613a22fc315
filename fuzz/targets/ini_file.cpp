// The INI file: any bytes read without fault; values come back as valid UTF-8; a section
// that cannot occur gives the default; Windows-1252 text survives the trip to UTF-8 and back.
#include <cstdint>
#include <fstream>
#include <string>

#include "clientlib/settings.h"
#include "clientlib/utility_services.h"
#include "platform/text/strings.h"
#include "support/fuzz_check.h"

using fuzzsupport::Require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::string path = fuzzsupport::ScratchFolder() + "/CN000pr.INI";
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << input;
    }
    const clientlib::IniSettings ini;
    const clientlib::UtilityServices utils;
    // The workstation's database section and the keys the start-up reads (one section is
    // enough: sections are told apart by name only).
    for (const char* section : {"PC1|ANABaseDeDatos"}) {
        for (const char* key : {"Servidor", "DbName", "Usuario", "UserPassWord", "FlatToolbars"}) {
            const std::string value = ini.ReadValue(path, section, key, "\x01");
            Require(text::IsValidUtf8(value), "value is not UTF-8: " + fuzzsupport::Escaped(value),
                    input);
            (void)utils.DecodeStored(value);
        }
    }
    Require(ini.ReadValue(path, "a\nb", "Servidor", "def") == "def",
            "a section that cannot be written was found", input);

    // Any Windows-1252 text converts to UTF-8 and back unchanged.
    if (!text::IsValidUtf8(input)) {
        Require(text::Utf8ToCp1252(text::Cp1252ToUtf8(input)) == input,
                "Windows-1252 text changed on the way through UTF-8", input);
    }
    return 0;
}
