// The start-up parameter string: any text is read without fault, values never hold the item
// separator, the password range lies inside the text, and a string built from stored INI
// values reads back as those values.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/text/strings.h"
#include "startup/start_parameters.h"
#include "support/fuzz_check.h"

namespace {

using fuzzsupport::Require;

// Values the INI file may hold that the parameter string can carry unchanged: no item
// separator, key mark or "=", none of the filler characters the reader strips (NUL and
// character 255, raw or as UTF-8), no surrounding blanks.
bool Carriable(const std::string& v) {
    return v.find_first_of(std::string(";=@\xFF\0", 5)) == std::string::npos &&
           v.find("\xC3\xBF") == std::string::npos && text::Trim(v) == v;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);

    startup::StartParameters previous;
    previous.server = "anterior";
    const startup::StartParameters p = startup::ParseStartParameters(input, previous);
    for (const std::string* v : {&p.menu, &p.server, &p.dbName, &p.user, &p.password,
                                 &p.usuarioLogeado, &p.caja, &p.parametroAdicional}) {
        Require(v->find(';') == std::string::npos, "a value holds the separator: " + *v, input);
    }

    const startup::TextRange range = startup::PasswordValueRange(input);
    Require(range.begin <= range.end && range.end <= input.size(), "password range outside", input);

    startup::StartParameters oracle = p;
    std::string connection;
    startup::ApplyOracleServer(oracle, connection);

    // Four stored values, one per line of the input.
    std::vector<std::string> values;
    std::size_t from = 0;
    while (values.size() < 4) {
        const std::size_t nl = input.find('\n', from);
        values.push_back(input.substr(from, nl == std::string::npos ? nl : nl - from));
        if (nl == std::string::npos) break;
        from = nl + 1;
    }
    values.resize(4);
    bool carriable = true;
    for (const std::string& v : values) carriable = carriable && Carriable(v);
    if (carriable) {
        const std::string built =
            startup::ParameterStringFromIni(values[0], values[1], values[2], values[3]);
        const startup::StartParameters back = startup::ParseStartParameters(built, {});
        Require(back.server == values[0] && back.dbName == values[1] && back.user == values[2] &&
                    back.password == values[3],
                "stored values do not read back from " + built, input);
    }
    return 0;
}
