#pragma once
// A small database file of the suite's schema for the start-up tests, with the
// configuration rows and users a test needs.
#include <optional>
#include <string>
#include <vector>

namespace testsupport {

struct ConfigRow {
    std::string clave;
    std::optional<std::string> valor;  // nullopt: NULL
    std::optional<std::string> valoraux;
};

struct UserRow {
    std::string nombre;
    int administrador = 0;
    std::optional<std::string> uNegocio;
};

// Creates `path` with the schema and the rows. Throws std::runtime_error on failure.
void CreateStartupDatabase(const std::string& path, const std::vector<ConfigRow>& config,
                           const std::vector<UserRow>& users);

// The connection string the database object builds for the file and the user.
std::string EmbeddedConnectionString(const std::string& path, const std::string& user);

// Opens the program's database object on the file, without dialog or administrator check.
// Returns whether the connection is open.
bool OpenProgramDatabase(const std::string& path, const std::string& user);

}  // namespace testsupport
