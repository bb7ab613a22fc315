#include "platform/adodb/connection.h"

#include "platform/adodb/connection_impl.h"
#include "platform/adodb/layer_errors.h"
#include "platform/adodb/provider_error.h"
#include "platform/text/runtime_error.h"

namespace adodb {
namespace {

// Seconds a login may take before an unreachable server counts as a failure.
constexpr int kLoginTimeoutSeconds = 15;

}  // namespace

Provider& ConnectionImpl::OpenProvider(const char* source) {
    if (!provider) {
        throw ComError(MakeError(code::kConnectionNotUsable,
                                 "La conexión no se puede usar para realizar esta operación: "
                                 "está cerrada o no es válida en este contexto.",
                                 source));
    }
    return *provider;
}

void ConnectionImpl::RecordAndRethrow(std::exception_ptr failure) {
    const std::string source = provider ? provider->Name() : std::string(kConnectionSource);
    try {
        std::rethrow_exception(failure);
    } catch (const ProviderError& e) {
        for (const auto& r : e.Records()) errors.Add(r);
        throw;
    } catch (const ComError& e) {
        errors.Add(e.Detail());
        throw;
    } catch (const text::RuntimeError& e) {
        Error err =
            MakeError(e.Number(), e.Description(), e.Source().empty() ? source : e.Source());
        errors.Add(err);
        throw ComError(std::move(err));
    } catch (const std::exception& e) {
        Error err = MakeError(code::kFail, e.what(), source);
        errors.Add(err);
        throw ComError(std::move(err));
    }
}

Connection::Connection() : impl_(std::make_shared<ConnectionImpl>()) {}

std::string Connection::ConnectionString() const {
    return impl_->connectionString;
}
void Connection::SetConnectionString(const std::string& cs) {
    if (impl_->IsOpen()) {
        impl_->Run([] { RaiseAlreadyOpen(kConnectionSource); });
    }
    impl_->connectionString = cs;
}

int Connection::CursorLocation() const {
    return impl_->cursorLocation;
}
void Connection::SetCursorLocation(int v) {
    impl_->cursorLocation = v;
}
int Connection::CommandTimeout() const {
    return impl_->commandTimeout;
}
void Connection::SetCommandTimeout(int seconds) {
    impl_->commandTimeout = seconds;
}
std::string Connection::DefaultDatabase() const {
    return impl_->defaultDatabase;
}

void Connection::SetDefaultDatabase(const std::string& db) {
    impl_->defaultDatabase = db;
    if (!impl_->IsOpen()) return;
    // Switching the session's database is a convenience: a refusal is left in the error
    // collection for whoever reads it, and the connection goes on as it was.
    try {
        impl_->Run([&] { impl_->provider->SetDefaultDatabase(db); });
    } catch (const ComError&) {
    }
}

int Connection::State() const {
    return impl_->IsOpen() ? kStateOpen : kStateClosed;
}

void Connection::Open(const std::string& cs, const std::string& user, const std::string& password,
                      int /*options*/) {
    impl_->Run([&] {
        if (impl_->IsOpen()) RaiseAlreadyOpen(kConnectionSource);
        if (!cs.empty()) impl_->connectionString = cs;
        auto provider = CreateProvider(impl_->connectionString);
        provider->SetLockWaitObserver(impl_->lockWaitObserver);
        provider->Open(impl_->connectionString, user, password, kLoginTimeoutSeconds);
        impl_->provider = std::move(provider);
    });
}

Recordset Connection::Execute(const std::string& text, long* recordsAffected, int /*options*/) {
    return impl_->Run([&] {
        Provider& p = impl_->OpenProvider(kConnectionSource);
        impl_->Trace(text);
        ExecuteResult r = p.Execute(text, impl_->commandTimeout);
        if (recordsAffected != nullptr) *recordsAffected = r.recordsAffected;
        Recordset rs;
        if (r.result) rs.Attach(*this, std::move(*r.result), 0, kLockReadOnly);
        return rs;
    });
}

void Connection::BeginTrans() {
    impl_->Run([&] {
        Provider& p = impl_->OpenProvider(kConnectionSource);
        impl_->Trace("BeginTrans");
        p.BeginTrans();
    });
}

void Connection::CommitTrans() {
    impl_->Run([&] {
        Provider& p = impl_->OpenProvider(kConnectionSource);
        impl_->Trace("CommitTrans");
        p.CommitTrans();
    });
}

void Connection::RollbackTrans() {
    impl_->Run([&] {
        Provider& p = impl_->OpenProvider(kConnectionSource);
        impl_->Trace("RollbackTrans");
        p.RollbackTrans();
    });
}

Recordset Connection::OpenSchema(int schema, const std::vector<Variant>& restrictions) {
    return impl_->Run([&] {
        Provider& p = impl_->OpenProvider(kConnectionSource);
        if (schema != kSchemaTables && schema != kSchemaColumns) {
            RaiseNotUpdatable("esquema " + std::to_string(schema));
        }
        Recordset rs;
        rs.Attach(*this, p.OpenSchema(schema, restrictions), 3, kLockReadOnly);
        return rs;
    });
}

ErrorCollection& Connection::Errors() {
    return impl_->errors;
}
const ErrorCollection& Connection::Errors() const {
    return impl_->errors;
}

void Connection::Close() {
    impl_->Run([&] {
        if (!impl_->IsOpen()) RaiseClosed(kConnectionSource);
        // The provider is released even when closing reports a failure.
        auto provider = std::move(impl_->provider);
        provider->Close();
    });
}

void Connection::SetStatementTrace(std::function<void(const std::string&)> trace) {
    impl_->trace = std::move(trace);
}

void Connection::SetLockWaitObserver(std::function<void(bool waiting)> observer) {
    impl_->lockWaitObserver = std::move(observer);
    if (impl_->provider) impl_->provider->SetLockWaitObserver(impl_->lockWaitObserver);
}

}  // namespace adodb
