#include "asientos_stock_fixture.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "demo/generator.h"

namespace purgetest {

PurgeDatabase::PurgeDatabase(double scale, bool openingBalance)
    : prompter(std::make_shared<ui::ScriptedPrompter>()),
      display(std::make_shared<clientlib::RecordingProgressDisplay>()),
      previousRegional_(text::RegionalSettings::Current()),
      path_(dir_.File("purga.db")) {
    text::RegionalSettings::SetCurrent(text::RegionalSettings{});
    demo::GeneratorOptions options;
    options.scale = scale;
    options.opening_balance = openingBalance;
    demo::GenerateDemoDatabase(path_, options);
    raw_ = demo::detail::OpenDatabase(path_, SQLITE_OPEN_READWRITE);

    previousPrompter_ = ui::SetPrompter(prompter);
    previousDisplay_ = clientlib::SetProgressDisplay(display);

    db::DB_Dll& db = Db();
    db.gCnn = adodb::Connection();
    db.gCnn.Open("PROVIDER=SQLOLEDB;Server=x;Database =" + path_ + ";UId=u;Pwd=;");
    db.gEsAdmin = true;
    db.gCnn.SetStatementTrace([this](const std::string& s) { statements.push_back(s); });
}

PurgeDatabase::~PurgeDatabase() {
    db::DB_Dll& db = Db();
    db.gCnn.SetStatementTrace({});
    if (db.gCnn.State() != adodb::kStateClosed) db.gCnn.Close();
    db.gCnn = adodb::Connection();
    clientlib::SetProgressDisplay(previousDisplay_);
    ui::SetPrompter(previousPrompter_);
    text::RegionalSettings::SetCurrent(previousRegional_);
}

db::DB_Dll& PurgeDatabase::Db() const {
    return db_;
}

void PurgeDatabase::Exec(const std::string& sql) const {
    demo::detail::Exec(raw_.get(), sql);
}

std::vector<Row> PurgeDatabase::Query(const std::string& sql) const {
    auto stmt = demo::detail::Prepare(raw_.get(), sql);
    std::vector<Row> rows;
    const int columns = sqlite3_column_count(stmt.get());
    int rc;
    while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW) {
        Row row;
        for (int c = 0; c < columns; ++c) {
            if (sqlite3_column_type(stmt.get(), c) == SQLITE_NULL) {
                row.emplace_back(std::nullopt);
            } else {
                row.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(stmt.get(), c)));
            }
        }
        rows.push_back(std::move(row));
    }
    if (rc != SQLITE_DONE) demo::detail::ThrowEngineError(raw_.get(), sql);
    return rows;
}

long long PurgeDatabase::Count(const std::string& sql) const {
    return demo::detail::QueryInt(raw_.get(), sql);
}

std::vector<std::string> DisplayCalls(const clientlib::RecordingProgressDisplay& display) {
    using Kind = clientlib::RecordingProgressDisplay::Call::Kind;
    std::vector<std::string> out;
    for (const auto& call : display.Calls()) {
        switch (call.kind) {
            case Kind::Show:
                out.push_back("Show|" + call.title_or_line1);
                break;
            case Kind::Update:
                out.push_back("Update|" + call.title_or_line1 + "|" + call.line2.value_or("-") +
                              "|" + call.counter.value_or("-"));
                break;
            case Kind::Close:
                out.push_back("Close");
                break;
        }
    }
    return out;
}

bool FileIsFree(const std::string& path) {
    auto other = demo::detail::OpenDatabase(path, SQLITE_OPEN_READWRITE);
    sqlite3_busy_timeout(other.get(), 0);
    return sqlite3_exec(other.get(), "BEGIN IMMEDIATE; ROLLBACK;", nullptr, nullptr, nullptr) ==
           SQLITE_OK;
}

}  // namespace purgetest
