// The synonym rewriting: any statement is rewritten without fault, the administrator's
// marker never survives, and the text grows only by the synonyms' prefixes.
#include <cstdint>
#include <string>

#include "db/db_dll.h"
#include "support/fuzz_check.h"

using fuzzsupport::Require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzsupport::InputReader reader(data, size);
    const bool admin = reader.Byte() & 1;
    const std::string sql(reader.Rest());
    static db::DB_Dll database;
    database.gEsAdmin = admin;
    const std::string out = database.SS_TSinonimos(sql);
    // Every replacement lengthens a name by "SS_" (one of them by four characters more).
    Require(out.size() <= sql.size() * 3 + 8, "output grew too much", reader.All());
    if (admin) Require(out.size() <= sql.size(), "an administrator's statement grew", reader.All());
    return 0;
}
