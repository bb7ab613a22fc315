// The database object's construction, the global instance and the members that do nothing.
#include "db/db_dll.h"

namespace db {

DB_Dll::DB_Dll() = default;

clientlib::UtilityServices& DB_Dll::Utils() {
    return utils_;
}

// Kept for callers of the shared class; this program opens no local databases.
void DB_Dll::OpenLocalADODB(const std::string&, const std::string&, const std::string&) {}

// Kept for callers of the shared class; lookups go through the lookup service instead.
void DB_Dll::QConsulta(const std::string&, const Variant&, const std::string&, const std::string&,
                       const std::string&, const Variant&) {}

void DB_Dll::QGridConsulta(const std::string&, const std::string&, const std::string&,
                           const Variant&, const Variant&) {}

DB_Dll& Db() {
    static DB_Dll instance;
    return instance;
}

}  // namespace db
