#pragma once
// Small databases for the database object's tests: a SQLite file made with the engine's C
// interface, opened through the SQL Server form of the connection string.
#include <string>
#include <vector>

#include "db/db_dll.h"
#include "platform/adodb/recording/recording_provider.h"
#include "platform/text/regional.h"
#include "platform/ui/scripted_prompter.h"

namespace dbtest {

// Creates the file and runs the statements in order; a failing statement fails the test.
void CreateDatabase(const std::string& path, const std::vector<std::string>& statements);

// "PROVIDER=SQLOLEDB;Server=x;Database =<path>;UId=u;Pwd=;"
std::string SqliteConnectionString(const std::string& path);

// The users table of the administrator check, its Administrador column of the given type,
// with the user ana holding `anaAdmin` (an SQL literal) and beto holding 0.
std::vector<std::string> UsersTable(const std::string& adminType = "INT",
                                    const std::string& anaAdmin = "1");

// A prompter installed for the test's lifetime, answering from its queue.
struct PrompterScope {
    PrompterScope();
    std::shared_ptr<ui::ScriptedPrompter> prompter;
    ui::ScopedPrompter scope;
};

// A database object whose connection is open on the recording provider, for asserting the
// exact calls. `extra` is appended to the connection string (for example
// "Data Source=ORACLE;" to take the Oracle paths). The user is not an administrator.
struct RecordingDb {
    explicit RecordingDb(const std::string& name, const std::string& extra = "");
    std::shared_ptr<adodb::Recorder> recorder;
    adodb::ScopedRecording scope;
    db::DB_Dll db;
};

// A database object open on a fixture file made from `statements`.
struct SqliteDb {
    SqliteDb(const std::string& path, const std::vector<std::string>& statements);
    db::DB_Dll db;
};

// Regional settings in force for the test's lifetime (decimal comma by default).
class RegionalScope {
  public:
    explicit RegionalScope(text::RegionalSettings settings = {})
        : previous_(text::RegionalSettings::Current()) {
        text::RegionalSettings::SetCurrent(settings);
    }
    ~RegionalScope() { text::RegionalSettings::SetCurrent(previous_); }
    RegionalScope(const RegionalScope&) = delete;
    RegionalScope& operator=(const RegionalScope&) = delete;

  private:
    text::RegionalSettings previous_;
};

inline constexpr const char* kOracleSource = "Data Source=ORACLE;";

}  // namespace dbtest
