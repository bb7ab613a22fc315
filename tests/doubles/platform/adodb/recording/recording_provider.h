#pragma once
// A provider for tests of paths that need a server we do not have: it records every call
// in order and answers statements from a script.
//
//   auto rec = std::make_shared<adodb::Recorder>();
//   adodb::ScopedRecording scope("ora", rec);       // "Provider=Recording;Name=ora"
//   rec->When("FROM MV_EJERCICIOS", adodb::ScriptedReply::Rows(
//       adodb::MakeResult({"PERIODO", "DESCRIPCION"}, {{2004, "Ejercicio 2004"}})));
//   conn.Open("Provider=Recording;Name=ora;Data Source=ORACLE1;User Id=u;Password=p;");
//   ... rec->Calls() == {"Open", "Execute: SELECT ...", "BeginTrans", ...}
//
// Any other keys in the connection string are kept as given, so a string can contain
// ORACLE for code that looks for it.
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/adodb/provider.h"

namespace adodb {

// The answer to one statement.
struct ScriptedReply {
    std::optional<ResultSet> result;  // rows, for a query
    long recordsAffected = 0;         // for any other statement
    std::vector<Error> errors;        // when not empty, the statement fails with these

    static ScriptedReply Rows(ResultSet rs);
    static ScriptedReply Affected(long n);
    static ScriptedReply Fail(Error e);
    // Fails with the given number and description (SQL state HY000, source "Recording").
    static ScriptedReply Fail(std::int32_t number, std::string description);
};

// A result with the given column names and rows; each column's type is taken from its
// first value that is not Null (text when all are Null).
ResultSet MakeResult(std::vector<std::string> columns, std::vector<std::vector<Variant>> rows);

// Shared between a test and every provider created for it. All members are thread-safe.
class Recorder {
  public:
    // Every call in order: "Open", "Execute: <text exactly as sent>", "BeginTrans",
    // "CommitTrans", "RollbackTrans", "OpenSchema: <n>", "Update: <table>",
    // "Insert: <table>", "SetDefaultDatabase: <db>", "Close".
    std::vector<std::string> Calls() const;
    // The texts of the Execute calls only.
    std::vector<std::string> Statements() const;
    void ClearCalls();
    // The connection string (and user) of the last Open.
    std::string LastConnectionString() const;
    std::string LastUser() const;
    // The changes written through updatable recordsets.
    std::vector<RowChange> Changes() const;

    // The next statements answer with these, in order, before any pattern.
    void Enqueue(ScriptedReply reply);
    // A statement containing `fragment` (letter case ignored) answers with `reply`, every
    // time; patterns are tried in the order they were given.
    void When(std::string fragment, ScriptedReply reply);
    // The answer when nothing else applies. Without one: a statement beginning with
    // SELECT gives an empty result with no columns, any other 0 rows affected.
    void SetDefault(ScriptedReply reply);
    // The call named ("Open", "BeginTrans", "CommitTrans", "RollbackTrans", "Close",
    // "OpenSchema") fails with `e` until ClearFailure.
    void FailCall(const std::string& call, Error e);
    void ClearFailure(const std::string& call);
    // OpenSchema answers.
    void SetSchema(int schema, ResultSet rs);
    // Rows that ApplyChange reports (default 1).
    void SetApplyChangeResult(long rows);

    // Used by RecordingProvider.
    void Record(std::string call);
    ScriptedReply Answer(const std::string& sql);
    std::optional<Error> FailureFor(const std::string& call) const;
    ResultSet Schema(int schema) const;
    long ApplyChangeResult() const;
    void SetLastOpen(std::string cs, std::string user);
    void AddChange(RowChange change);

  private:
    mutable std::mutex mutex_;
    std::vector<std::string> calls_;
    std::vector<std::string> statements_;
    std::vector<RowChange> changes_;
    std::string lastConnectionString_;
    std::string lastUser_;
    std::vector<ScriptedReply> queue_;
    std::vector<std::pair<std::string, ScriptedReply>> patterns_;
    std::optional<ScriptedReply> default_;
    std::map<std::string, Error> failures_;
    std::map<int, ResultSet> schemas_;
    long applyChangeResult_ = 1;
};

class RecordingProvider : public Provider {
  public:
    explicit RecordingProvider(std::shared_ptr<Recorder> recorder);

    void Open(const std::string& connectionString, const std::string& user,
              const std::string& password, int timeoutSeconds) override;
    void Close() override;
    ExecuteResult Execute(const std::string& sql, int timeoutSeconds) override;
    void BeginTrans() override;
    void CommitTrans() override;
    void RollbackTrans() override;
    ResultSet OpenSchema(int schema, const std::vector<Variant>& restrictions) override;
    long ApplyChange(const RowChange& change) override;
    std::string Name() const override { return "Recording"; }
    void SetDefaultDatabase(const std::string& db) override;

  private:
    void Call(const std::string& call);
    std::shared_ptr<Recorder> recorder_;
};

// Makers of "Provider=Recording;Name=<name>" connection strings, by name.
using ProviderFactory = std::function<std::unique_ptr<Provider>()>;
void RegisterRecordingFactory(const std::string& name, ProviderFactory factory);
void UnregisterRecordingFactory(const std::string& name);

// Registers "Provider=Recording;Name=<name>" for `recorder` while in scope.
class ScopedRecording {
  public:
    ScopedRecording(std::string name, std::shared_ptr<Recorder> recorder);
    ~ScopedRecording();
    ScopedRecording(const ScopedRecording&) = delete;
    ScopedRecording& operator=(const ScopedRecording&) = delete;
    // "Provider=Recording;Name=<name>;"
    std::string ConnectionString() const;

  private:
    std::string name_;
};

}  // namespace adodb
