#include "platform/adodb/recording/recording_provider.h"

#include <utility>

#include "platform/adodb/connection_string.h"
#include "platform/adodb/layer_errors.h"
#include "platform/adodb/provider_error.h"
#include "platform/text/strings.h"

namespace adodb {
namespace {

int TypeOf(const Variant& v) {
    switch (v.Type()) {
        case VarType::Boolean:
            return dtype::kBoolean;
        case VarType::Integer:
            return dtype::kSmallInt;
        case VarType::Long:
            return dtype::kInteger;
        case VarType::Double:
            return dtype::kDouble;
        case VarType::Currency:
            return dtype::kCurrency;
        case VarType::Date:
            return dtype::kDBTimeStamp;
        default:
            return dtype::kVarChar;
    }
}

}  // namespace

ScriptedReply ScriptedReply::Rows(ResultSet rs) {
    ScriptedReply r;
    r.result = std::move(rs);
    r.recordsAffected = -1;
    return r;
}

ScriptedReply ScriptedReply::Affected(long n) {
    ScriptedReply r;
    r.recordsAffected = n;
    return r;
}

ScriptedReply ScriptedReply::Fail(Error e) {
    ScriptedReply r;
    r.errors.push_back(std::move(e));
    return r;
}

ScriptedReply ScriptedReply::Fail(std::int32_t number, std::string description) {
    Error e;
    e.Number = number;
    e.Description = std::move(description);
    e.SQLState = "HY000";
    e.Source = "Recording";
    return Fail(std::move(e));
}

ResultSet MakeResult(std::vector<std::string> columns, std::vector<std::vector<Variant>> rows) {
    ResultSet rs;
    for (std::size_t c = 0; c < columns.size(); ++c) {
        ColumnInfo info;
        info.name = std::move(columns[c]);
        for (const auto& row : rows) {
            if (c < row.size() && !row[c].IsNull() && !row[c].IsEmpty()) {
                info.type = TypeOf(row[c]);
                break;
            }
        }
        long size = 0;
        for (const auto& row : rows) {
            if (c < row.size() && row[c].Type() == VarType::String) {
                size = std::max(size, static_cast<long>(row[c].RawString().size()));
            }
        }
        info.definedSize = info.type == dtype::kVarChar ? std::max(size, 1L) : 8;
        rs.columns.push_back(std::move(info));
    }
    for (auto& row : rows) row.resize(rs.columns.size(), Variant::Null());
    rs.rows = std::move(rows);
    return rs;
}

// ---- Recorder ----

std::vector<std::string> Recorder::Calls() const {
    std::lock_guard lock(mutex_);
    return calls_;
}

std::vector<std::string> Recorder::Statements() const {
    std::lock_guard lock(mutex_);
    return statements_;
}

void Recorder::ClearCalls() {
    std::lock_guard lock(mutex_);
    calls_.clear();
    statements_.clear();
    changes_.clear();
}

std::string Recorder::LastConnectionString() const {
    std::lock_guard lock(mutex_);
    return lastConnectionString_;
}

std::string Recorder::LastUser() const {
    std::lock_guard lock(mutex_);
    return lastUser_;
}

std::vector<RowChange> Recorder::Changes() const {
    std::lock_guard lock(mutex_);
    return changes_;
}

void Recorder::Enqueue(ScriptedReply reply) {
    std::lock_guard lock(mutex_);
    queue_.push_back(std::move(reply));
}

void Recorder::When(std::string fragment, ScriptedReply reply) {
    std::lock_guard lock(mutex_);
    patterns_.emplace_back(std::move(fragment), std::move(reply));
}

void Recorder::SetDefault(ScriptedReply reply) {
    std::lock_guard lock(mutex_);
    default_ = std::move(reply);
}

void Recorder::FailCall(const std::string& call, Error e) {
    std::lock_guard lock(mutex_);
    failures_[call] = std::move(e);
}

void Recorder::ClearFailure(const std::string& call) {
    std::lock_guard lock(mutex_);
    failures_.erase(call);
}

void Recorder::SetSchema(int schema, ResultSet rs) {
    std::lock_guard lock(mutex_);
    schemas_[schema] = std::move(rs);
}

void Recorder::SetApplyChangeResult(long rows) {
    std::lock_guard lock(mutex_);
    applyChangeResult_ = rows;
}

void Recorder::Record(std::string call) {
    std::lock_guard lock(mutex_);
    calls_.push_back(std::move(call));
}

ScriptedReply Recorder::Answer(const std::string& sql) {
    std::lock_guard lock(mutex_);
    calls_.push_back("Execute: " + sql);
    statements_.push_back(sql);
    if (!queue_.empty()) {
        ScriptedReply r = std::move(queue_.front());
        queue_.erase(queue_.begin());
        return r;
    }
    for (const auto& [fragment, reply] : patterns_) {
        if (text::Contains(sql, fragment)) return reply;
    }
    if (default_) return *default_;
    if (text::StartsWith(text::LTrim(sql), "SELECT")) return ScriptedReply::Rows(ResultSet{});
    return ScriptedReply::Affected(0);
}

std::optional<Error> Recorder::FailureFor(const std::string& call) const {
    std::lock_guard lock(mutex_);
    auto it = failures_.find(call);
    if (it == failures_.end()) return std::nullopt;
    return it->second;
}

ResultSet Recorder::Schema(int schema) const {
    std::lock_guard lock(mutex_);
    auto it = schemas_.find(schema);
    return it == schemas_.end() ? ResultSet{} : it->second;
}

long Recorder::ApplyChangeResult() const {
    std::lock_guard lock(mutex_);
    return applyChangeResult_;
}

void Recorder::SetLastOpen(std::string cs, std::string user) {
    std::lock_guard lock(mutex_);
    lastConnectionString_ = std::move(cs);
    lastUser_ = std::move(user);
}

void Recorder::AddChange(RowChange change) {
    std::lock_guard lock(mutex_);
    changes_.push_back(std::move(change));
}

// ---- RecordingProvider ----

RecordingProvider::RecordingProvider(std::shared_ptr<Recorder> recorder)
    : recorder_(std::move(recorder)) {}

void RecordingProvider::Call(const std::string& call) {
    recorder_->Record(call);
    if (auto e = recorder_->FailureFor(call)) throw ComError(*e);
}

void RecordingProvider::Open(const std::string& connectionString, const std::string& user,
                             const std::string& /*password*/, int /*timeoutSeconds*/) {
    recorder_->SetLastOpen(connectionString, user);
    Call("Open");
}

void RecordingProvider::Close() {
    Call("Close");
}

ExecuteResult RecordingProvider::Execute(const std::string& sql, int /*timeoutSeconds*/) {
    ScriptedReply reply = recorder_->Answer(sql);
    if (!reply.errors.empty()) throw ProviderError(std::move(reply.errors));
    ExecuteResult r;
    if (reply.result) {
        r.result = std::move(reply.result);
        r.recordsAffected = -1;
    } else {
        r.recordsAffected = reply.recordsAffected;
    }
    return r;
}

void RecordingProvider::BeginTrans() {
    Call("BeginTrans");
}
void RecordingProvider::CommitTrans() {
    Call("CommitTrans");
}
void RecordingProvider::RollbackTrans() {
    Call("RollbackTrans");
}

ResultSet RecordingProvider::OpenSchema(int schema, const std::vector<Variant>& /*restrictions*/) {
    Call("OpenSchema: " + std::to_string(schema));
    return recorder_->Schema(schema);
}

long RecordingProvider::ApplyChange(const RowChange& change) {
    const bool insert = change.kind == RowChange::Kind::Insert;
    recorder_->Record((insert ? "Insert: " : "Update: ") + change.table);
    recorder_->AddChange(change);
    return recorder_->ApplyChangeResult();
}

void RecordingProvider::SetDefaultDatabase(const std::string& db) {
    Call("SetDefaultDatabase: " + db);
}

// ---- registry ----

namespace {

struct RecordingRegistry {
    std::mutex mutex;
    std::map<std::string, ProviderFactory> factories;  // by lower-case name
};

RecordingRegistry& Registry() {
    static RecordingRegistry registry;
    return registry;
}

std::unique_ptr<Provider> CreateRecording(const std::string& connectionString) {
    const std::string name = ConnectionString::Parse(connectionString).Get({"Name"}).value_or("");
    ProviderFactory factory;
    {
        auto& reg = Registry();
        std::lock_guard lock(reg.mutex);
        auto it = reg.factories.find(text::ToLower(name));
        if (it != reg.factories.end()) factory = it->second;
    }
    if (!factory) {
        throw ComError(MakeError(
            code::kFail,
            "No hay ningún proveedor de grabación registrado con el nombre '" + name + "'.",
            kConnectionSource, "08001"));
    }
    return factory();
}

}  // namespace

void RegisterRecordingFactory(const std::string& name, ProviderFactory factory) {
    auto& reg = Registry();
    std::lock_guard lock(reg.mutex);
    if (reg.factories.empty()) RegisterProvider("Recording", CreateRecording);
    reg.factories[text::ToLower(name)] = std::move(factory);
}

void UnregisterRecordingFactory(const std::string& name) {
    auto& reg = Registry();
    std::lock_guard lock(reg.mutex);
    reg.factories.erase(text::ToLower(name));
}

// ---- ScopedRecording ----

ScopedRecording::ScopedRecording(std::string name, std::shared_ptr<Recorder> recorder)
    : name_(std::move(name)) {
    RegisterRecordingFactory(name_, [recorder = std::move(recorder)] {
        return std::make_unique<RecordingProvider>(recorder);
    });
}

ScopedRecording::~ScopedRecording() {
    UnregisterRecordingFactory(name_);
}

std::string ScopedRecording::ConnectionString() const {
    return "Provider=Recording;Name=" + name_ + ";";
}

}  // namespace adodb
