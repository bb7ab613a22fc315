// The Oracle dialect translation: any statement translates or is refused with the layer's
// invalid-argument error; the output grows at most linearly with the statement, and a
// date literal is never wrapped twice.
#include <cstdint>
#include <string>

#include "db/db_dll.h"
#include "platform/text/runtime_error.h"
#include "platform/text/strings.h"
#include "support/fuzz_check.h"

using fuzzsupport::Require;

namespace {

std::size_t Count(const std::string& s, const std::string& what) {
    std::size_t n = 0;
    for (auto p = s.find(what); p != std::string::npos; p = s.find(what, p + 1)) ++n;
    return n;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    static db::DB_Dll database;
    database.gConnString = "Provider=OraOLEDB.Oracle.1;Data Source=ORCL;User Id=ana;Password=pw;";
    std::string out;
    try {
        out = database.ORACLE_Dicc(input);
    } catch (const text::RuntimeError& e) {
        Require(e.Number() == text::errnum::kInvalidArgument,
                "unexpected error " + std::to_string(e.Number()), input);
        return 0;
    }
    // A date column becomes a 50-character expression, the shortest one has 6 letters; a
    // literal of 8 characters becomes 33; TOP adds a condition and repeats its tails once.
    Require(out.size() <= 12 * input.size() + 64,
            "output of " + std::to_string(out.size()) + " characters", input);
    // TOP moves the GROUP BY / ORDER BY tails by text replacement, which can repeat text of
    // a malformed statement; elsewhere no TO_DATE call gets wrapped in another (counted in
    // the upper-cased statement, as the translation upper-cases it).
    if (!text::Contains(input, "top ")) {
        const std::string twice = "TO_DATE(TO_DATE(";
        Require(Count(out, twice) <= Count(text::ToUpper(input), twice),
                "a date literal was wrapped twice: " + fuzzsupport::Escaped(out.substr(0, 600)),
                input);
    }
    return 0;
}
