// Loadable extension for the engine's shell: registers the suite's collation, so that the
// shell can sort, compare and write the suite's text columns (".load <path>/suite_es").
#include <sqlite3ext.h>
SQLITE_EXTENSION_INIT1

#include "platform/collation/collate_callback.h"
#include "platform/collation/suite_collation.h"

extern "C" {

// The shell derives this entry point's name from the file name "suite_es".
__attribute__((visibility("default"))) int sqlite3_suitees_init(sqlite3* db, char**,
                                                                const sqlite3_api_routines* api) {
    SQLITE_EXTENSION_INIT2(api);
    return sqlite3_create_collation_v2(db, collation::kSuiteCollation, SQLITE_UTF8, nullptr,
                                       &collation::CollateSuiteText, nullptr);
}
}
