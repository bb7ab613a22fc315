#include "lookup/lookup_fixture.h"

#include <sqlite3.h>

#include "db/db_dll.h"
#include "demo/schema.h"
#include "demo/sqlite_handle.h"
#include "platform/text/regional.h"

namespace lookuptest {

LookupDatabase::LookupDatabase(const std::string& setupSql) : path_(dir_.File("consulta.db")) {
    text::RegionalSettings::SetCurrent(text::RegionalSettings{});
    {
        demo::detail::DatabaseHandle raw =
            demo::detail::OpenDatabase(path_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
        demo::detail::Exec(raw.get(), "BEGIN");  // one commit: a commit per table is slow
        demo::CreateSchema(raw.get());
        if (!setupSql.empty()) demo::detail::Exec(raw.get(), setupSql);
        demo::detail::Exec(raw.get(), "COMMIT");
    }
    previousPrompter_ = ui::SetPrompter(prompter);
    db::DB_Dll& database = db::Db();
    database.gCnn = adodb::Connection();
    database.gCnn.Open("PROVIDER=SQLOLEDB;Server=x;Database =" + path_ + ";UId=u;Pwd=;");
    database.gEsAdmin = true;
    database.gUsuario = "operador";
    database.gCnn.SetStatementTrace([this](const std::string& s) { statements.push_back(s); });
}

LookupDatabase::~LookupDatabase() {
    db::DB_Dll& database = db::Db();
    database.gCnn.SetStatementTrace({});
    if (database.gCnn.State() != adodb::kStateClosed) database.gCnn.Close();
    database.gCnn = adodb::Connection();
    ui::SetPrompter(previousPrompter_);
}

void LookupDatabase::Exec(const std::string& sql) {
    demo::detail::DatabaseHandle raw = demo::detail::OpenDatabase(path_, SQLITE_OPEN_READWRITE);
    demo::detail::Exec(raw.get(), sql);
}

long long LookupDatabase::Count(const std::string& sql) {
    demo::detail::DatabaseHandle raw = demo::detail::OpenDatabase(path_, SQLITE_OPEN_READONLY);
    return demo::detail::QueryInt(raw.get(), sql);
}

std::string LookupDatabase::Text(const std::string& sql) {
    demo::detail::DatabaseHandle raw = demo::detail::OpenDatabase(path_, SQLITE_OPEN_READONLY);
    demo::detail::StatementHandle stmt = demo::detail::Prepare(raw.get(), sql);
    if (sqlite3_step(stmt.get()) != SQLITE_ROW) return "<no row>";
    const unsigned char* value = sqlite3_column_text(stmt.get(), 0);
    return value != nullptr ? reinterpret_cast<const char*>(value) : "<null>";
}

lookup::ConfigReader LookupDatabase::Reader() {
    return [this](const std::string& key) {
        const auto it = config.find(key);
        return it == config.end() ? std::string(" ") : it->second;
    };
}

std::string ArticlesSql() {
    // Reorder point and stock chosen for the colour levels: level 4 (10/10), level 2
    // (10/11), level 3 (10/9), level 4 (0/0), level 1 (0/5), no reorder point (Null).
    return R"sql(
INSERT INTO V_MA_ARTICULOS (IDARTICULO, DESCRIPCION, PRECIO1, PRECIO3, PUNTOPEDIDO, Stock, SUSPENDIDO) VALUES
 ('A01', 'Tornillo 6 mm', 10, 11, 10, 10, 0),
 ('A02', 'Tuerca 8 mm', 12, 13, 10, 11, 0),
 ('A03', 'Arandela plana', 14, 15, 10, 9, 0),
 ('A04', 'Bisagra de hierro', 16, 17, 0, 0, 0),
 ('A05', 'Tarugo de nylon', 18, 19, 0, 5, 0),
 ('A06', 'Codo O''Higgins', 20, 21, NULL, NULL, 0),
 ('A07', 'Caño 3/4', 22, 23, 5, 1, 1),
 ('1', 'Uno', 1, 1, 0, 1, 0),
 ('2', 'Dos', 1, 1, 0, 1, 0),
 ('12', 'Doce', 1, 1, 0, 1, 0),
 ('1,2', 'Uno coma dos', 1, 1, 0, 1, 0);
)sql";
}

}  // namespace lookuptest
