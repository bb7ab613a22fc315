#include "fixture_db.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <memory>

namespace dbtest {

void CreateDatabase(const std::string& path, const std::vector<std::string>& statements) {
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &raw), SQLITE_OK) << path;
    std::unique_ptr<sqlite3, decltype(&sqlite3_close)> db(raw, &sqlite3_close);
    for (const std::string& sql : statements) {
        char* message = nullptr;
        const int rc = sqlite3_exec(db.get(), sql.c_str(), nullptr, nullptr, &message);
        const std::string error = message != nullptr ? message : "";
        sqlite3_free(message);
        ASSERT_EQ(rc, SQLITE_OK) << sql << ": " << error;
    }
}

std::string SqliteConnectionString(const std::string& path) {
    return "PROVIDER=SQLOLEDB;Server=x;Database =" + path + ";UId=u;Pwd=;";
}

std::vector<std::string> UsersTable(const std::string& adminType, const std::string& anaAdmin) {
    return {
        "CREATE TABLE ta_usuarios (nombre VARCHAR(20) COLLATE NOCASE PRIMARY KEY, "
        "Administrador " +
            adminType + ", UNegocio VARCHAR(4))",
        "INSERT INTO ta_usuarios VALUES ('ana', " + anaAdmin + ", '01')",
        "INSERT INTO ta_usuarios VALUES ('beto', 0, '01')",
    };
}

PrompterScope::PrompterScope()
    : prompter(std::make_shared<ui::ScriptedPrompter>()), scope(prompter) {}

RecordingDb::RecordingDb(const std::string& name, const std::string& extra)
    : recorder(std::make_shared<adodb::Recorder>()), scope(name, recorder) {
    db.gConnString = scope.ConnectionString() + extra;
    db.gCnn.Open(db.gConnString);
    recorder->ClearCalls();
}

SqliteDb::SqliteDb(const std::string& path, const std::vector<std::string>& statements) {
    CreateDatabase(path, statements);
    db.gDbName = path;
    db.gConnString = SqliteConnectionString(path);
    db.gCnn.Open(db.gConnString);
}

}  // namespace dbtest
