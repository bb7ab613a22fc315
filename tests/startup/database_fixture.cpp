#include "startup/database_fixture.h"

#include <sqlite3.h>

#include <memory>
#include <stdexcept>

#include "db/db_dll.h"
#include "demo/schema.h"

namespace testsupport {
namespace {

struct Closer {
    void operator()(sqlite3* db) const { sqlite3_close(db); }
};
struct Finalizer {
    void operator()(sqlite3_stmt* st) const { sqlite3_finalize(st); }
};
using Database = std::unique_ptr<sqlite3, Closer>;
using Statement = std::unique_ptr<sqlite3_stmt, Finalizer>;

[[noreturn]] void Fail(sqlite3* db, const std::string& what) {
    throw std::runtime_error(what + ": " + sqlite3_errmsg(db));
}

void Bind(sqlite3_stmt* st, int index, const std::optional<std::string>& value) {
    if (value) {
        sqlite3_bind_text(st, index, value->c_str(), static_cast<int>(value->size()),
                          SQLITE_TRANSIENT);
    } else {
        sqlite3_bind_null(st, index);
    }
}

Statement Prepare(sqlite3* db, const char* sql) {
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &raw, nullptr) != SQLITE_OK) Fail(db, sql);
    return Statement(raw);
}

void Exec(sqlite3* db, const char* sql) {
    if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK) Fail(db, sql);
}

void Step(sqlite3* db, sqlite3_stmt* st) {
    if (sqlite3_step(st) != SQLITE_DONE) Fail(db, "insert");
    sqlite3_reset(st);
}

}  // namespace

void CreateStartupDatabase(const std::string& path, const std::vector<ConfigRow>& config,
                           const std::vector<UserRow>& users) {
    sqlite3* raw = nullptr;
    const int rc =
        sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    Database db(raw);
    if (rc != SQLITE_OK) Fail(db.get(), "open " + path);
    Exec(db.get(), "BEGIN");  // one transaction: a commit per statement is slow on disk
    demo::CreateSchema(db.get());

    const Statement insertConfig =
        Prepare(db.get(), "INSERT INTO TA_CONFIGURACION (CLAVE, VALOR, valoraux) VALUES (?, ?, ?)");
    for (const ConfigRow& row : config) {
        Bind(insertConfig.get(), 1, row.clave);
        Bind(insertConfig.get(), 2, row.valor);
        Bind(insertConfig.get(), 3, row.valoraux);
        Step(db.get(), insertConfig.get());
    }
    const Statement insertUser = Prepare(
        db.get(), "INSERT INTO ta_usuarios (nombre, Administrador, UNegocio) VALUES (?, ?, ?)");
    for (const UserRow& user : users) {
        Bind(insertUser.get(), 1, user.nombre);
        sqlite3_bind_int(insertUser.get(), 2, user.administrador);
        Bind(insertUser.get(), 3, user.uNegocio);
        Step(db.get(), insertUser.get());
    }
    Exec(db.get(), "COMMIT");
}

std::string EmbeddedConnectionString(const std::string& path, const std::string& user) {
    return "PROVIDER=SQLOLEDB;Server=local;Database =" + path + ";UId=" + user + ";Pwd=;";
}

bool OpenProgramDatabase(const std::string& path, const std::string& user) {
    db::DB_Dll& database = db::Db();
    database.gDbName = path;
    database.gUsuario = user;
    database.OpenServerADODB(false, 3, EmbeddedConnectionString(path, user), false);
    return database.gOpenFlag && database.gCnn.State() == adodb::kStateOpen;
}

}  // namespace testsupport
