#pragma once
// Shared pieces of the purge run tests: databases in temporary folders, direct SQL on them,
// a purge port that records what the run and the steps did, and a provider that makes one
// chosen statement fail.
#include <memory>
#include <string>
#include <vector>

#include "db/db_dll.h"
#include "platform/text/regional.h"
#include "purge/purge_port.h"
#include "support/temp_dir.h"

namespace runtest {

// The connection string the start-up builds for the embedded engine, and the parameter
// string that leads to it.
std::string ConnectionStringFor(const std::string& dbPath);
std::string ParameterStringFor(const std::string& dbPath);

// A demo database generated into a temporary folder of its own.
class DemoDatabase {
  public:
    explicit DemoDatabase(double scale = 0.05);
    const std::string& Path() const { return path_; }

  private:
    testsupport::TempDir dir_;
    std::string path_;
};

// An empty database with the suite's schema.
class EmptyDatabase {
  public:
    EmptyDatabase();
    const std::string& Path() const { return path_; }

  private:
    testsupport::TempDir dir_;
    std::string path_;
};

// Direct access to a database file, bypassing the program's layers.
void Exec(const std::string& dbPath, const std::string& sql);
long long QueryInt(const std::string& dbPath, const std::string& sql);
std::vector<long long> QueryIds(const std::string& dbPath, const std::string& sql);

// Closes `db` and puts a fresh, closed object in its place.
void ResetDb(db::DB_Dll& db);

// A database object of the test's own, opened on `connectionString`.
class OpenDb {
  public:
    explicit OpenDb(const std::string& connectionString);
    ~OpenDb();
    OpenDb(const OpenDb&) = delete;
    OpenDb& operator=(const OpenDb&) = delete;
    db::DB_Dll& Get() { return db_; }

  private:
    db::DB_Dll db_;
};

// Day/month/year regional settings for the duration of a test.
class ScopedRegional {
  public:
    explicit ScopedRegional(const std::string& spec = "DMY,/,.,,");
    ~ScopedRegional();

  private:
    text::RegionalSettings previous_;
};

class RecordingPort : public purge::PurgePort {
  public:
    void SetProgress(double value) override {
        progress.push_back(value);
        value_ = value;
    }
    double Progress() const override { return value_; }
    void SetProgressRange(int min, int max) override { range = {min, max}; }
    void ProcessEvents() override { ++pumps; }
    void SetTrashVisible(bool visible) override { trashVisible = visible; }
    bool ByFiscalYear() const override { return byFiscalYear; }
    std::string FiscalYearText() const override { return fiscalYear; }
    std::string DateText() const override { return date; }
    void FocusInput() override { ++focusMoves; }
    void ShowWaiting(bool waiting) override { waits.push_back(waiting); }

    bool byFiscalYear = true;
    std::string fiscalYear;
    std::string date;
    std::vector<double> progress;
    std::pair<int, int> range{0, 100};
    int pumps = 0;
    int focusMoves = 0;
    std::vector<bool> waits;
    bool trashVisible = true;

  private:
    double value_ = 0;
};

// The progress positions of one batched step: band base, +5, ... +95 from its twenty
// batches, then the band's end.
std::vector<double> BatchedStepProgress(int bandBase);

// A connection string ("Provider=Recording;Name=...") on the database at `dbPath` whose
// statement number `occurrence` (1-based) among those starting with `prefix` fails, as the
// database would report it. Registered while the object lives.
class FaultyDatabase {
  public:
    FaultyDatabase(const std::string& dbPath, std::string prefix, int occurrence);
    ~FaultyDatabase();
    FaultyDatabase(const FaultyDatabase&) = delete;
    FaultyDatabase& operator=(const FaultyDatabase&) = delete;
    std::string ConnectionString() const;

  private:
    std::string name_;
};

}  // namespace runtest
