#include "run_support.h"

#include <sqlite3.h>

#include <atomic>
#include <stdexcept>

#include "demo/generator.h"
#include "demo/schema.h"
#include "demo/sqlite_handle.h"
#include "platform/adodb/provider.h"
#include "platform/adodb/recording/recording_provider.h"
#include "platform/text/strings.h"

namespace runtest {

std::string ConnectionStringFor(const std::string& dbPath) {
    return "PROVIDER=SQLOLEDB;Server=x;Database =" + dbPath + ";UId=u;Pwd=;";
}

std::string ParameterStringFor(const std::string& dbPath) {
    return "@Server=local;@DbName=" + dbPath + ";@Usuario=admin;@Password=;";
}

DemoDatabase::DemoDatabase(double scale) : path_(dir_.File("empresa.db")) {
    demo::GeneratorOptions options;
    options.scale = scale;
    demo::GenerateDemoDatabase(path_, options);
}

EmptyDatabase::EmptyDatabase() : path_(dir_.File("vacia.db")) {
    auto db = demo::detail::OpenDatabase(path_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    demo::CreateSchema(db.get());
}

namespace {

demo::detail::DatabaseHandle Open(const std::string& dbPath) {
    return demo::detail::OpenDatabase(dbPath, SQLITE_OPEN_READWRITE);
}

}  // namespace

void Exec(const std::string& dbPath, const std::string& sql) {
    demo::detail::Exec(Open(dbPath).get(), sql);
}

long long QueryInt(const std::string& dbPath, const std::string& sql) {
    return demo::detail::QueryInt(Open(dbPath).get(), sql);
}

std::vector<long long> QueryIds(const std::string& dbPath, const std::string& sql) {
    auto db = Open(dbPath);
    auto stmt = demo::detail::Prepare(db.get(), sql);
    std::vector<long long> ids;
    while (sqlite3_step(stmt.get()) == SQLITE_ROW)
        ids.push_back(sqlite3_column_int64(stmt.get(), 0));
    return ids;
}

void ResetDb(db::DB_Dll& db) {
    if (db.gCnn.State() != adodb::kStateClosed) db.gCnn.Close();
    db = db::DB_Dll();
}

OpenDb::OpenDb(const std::string& connectionString) {
    db_.gCnn.Open(connectionString);
    db_.gOpenFlag = true;
}

OpenDb::~OpenDb() {
    ResetDb(db_);
}

ScopedRegional::ScopedRegional(const std::string& spec)
    : previous_(text::RegionalSettings::Current()) {
    text::RegionalSettings::SetCurrent(*text::RegionalSettings::Parse(spec));
}

ScopedRegional::~ScopedRegional() {
    text::RegionalSettings::SetCurrent(previous_);
}

std::vector<double> BatchedStepProgress(int bandBase) {
    std::vector<double> values;
    for (int i = 0; i < 20; ++i) values.push_back(bandBase + 5.0 * i);
    values.push_back(bandBase + 100.0);
    return values;
}

namespace {

// Passes everything to the embedded engine, except the chosen statement, which fails with
// the error the engine gives for a value it cannot convert.
class FaultyProvider : public adodb::Provider {
  public:
    FaultyProvider(std::string dbPath, std::string prefix, int occurrence)
        : inner_(adodb::CreateProvider(ConnectionStringFor(dbPath))),
          dbPath_(std::move(dbPath)),
          prefix_(std::move(prefix)),
          occurrence_(occurrence) {}

    void Open(const std::string&, const std::string& user, const std::string& password,
              int timeoutSeconds) override {
        inner_->Open(ConnectionStringFor(dbPath_), user, password, timeoutSeconds);
    }
    void Close() override { inner_->Close(); }
    adodb::ExecuteResult Execute(const std::string& sql, int timeoutSeconds) override {
        if (sql.rfind(prefix_, 0) == 0 && ++seen_ == occurrence_) {
            adodb::Error e;
            e.Number = adodb::code::kCantConvert;
            e.Description = "Fallo provocado por la prueba";
            e.SQLState = "22007";
            e.Source = "Prueba";
            throw adodb::ComError(e);
        }
        return inner_->Execute(sql, timeoutSeconds);
    }
    adodb::ExecuteResult ExecuteForUpdate(const std::string& sql, int timeoutSeconds) override {
        return inner_->ExecuteForUpdate(sql, timeoutSeconds);
    }
    void BeginTrans() override { inner_->BeginTrans(); }
    void CommitTrans() override { inner_->CommitTrans(); }
    void RollbackTrans() override { inner_->RollbackTrans(); }
    adodb::ResultSet OpenSchema(int schema, const std::vector<adodb::Variant>& r) override {
        return inner_->OpenSchema(schema, r);
    }
    long ApplyChange(const adodb::RowChange& change) override {
        return inner_->ApplyChange(change);
    }
    std::string Name() const override { return inner_->Name(); }

  private:
    std::unique_ptr<adodb::Provider> inner_;
    std::string dbPath_;
    std::string prefix_;
    int occurrence_;
    int seen_ = 0;
};

}  // namespace

FaultyDatabase::FaultyDatabase(const std::string& dbPath, std::string prefix, int occurrence) {
    static std::atomic<int> counter{0};
    name_ = "faulty" + std::to_string(++counter);
    adodb::RegisterRecordingFactory(name_, [dbPath, prefix, occurrence] {
        return std::make_unique<FaultyProvider>(dbPath, prefix, occurrence);
    });
}

FaultyDatabase::~FaultyDatabase() {
    adodb::UnregisterRecordingFactory(name_);
}

std::string FaultyDatabase::ConnectionString() const {
    return "Provider=Recording;Name=" + name_ + ";";
}

}  // namespace runtest
