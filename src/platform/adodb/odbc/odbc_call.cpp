#include "platform/adodb/odbc/odbc_call.h"

#include "platform/adodb/provider_error.h"
#include "platform/text/strings.h"

namespace adodb::odbc {
namespace {

[[noreturn]] void RaiseWithoutDiagnostics(std::string_view call, SQLRETURN rc,
                                          const DiagContext& ctx) {
    Error e;
    e.Number = code::kFail;
    e.SQLState = "HY000";
    e.Description = std::string(call) + " falló (código " + std::to_string(rc) + ").";
    e.Source = ctx.source;
    throw ProviderError({e});
}

void MaskKeyValues(std::string& message, std::string_view key) {
    int pos = 1;
    while ((pos = text::InStr(message, key, pos)) > 0) {
        const auto start = static_cast<std::size_t>(pos - 1) + key.size();
        auto end = message.find(';', start);
        if (end == std::string::npos) end = message.size();
        message.replace(start, end - start, "****");
        pos = static_cast<int>(start) + 4 + 1;
    }
}

}  // namespace

Handle::Handle(SQLSMALLINT type, SQLHANDLE parent, const DiagContext& ctx) : type_(type) {
    const SQLRETURN rc = SQLAllocHandle(type, parent, &handle_);
    if (!Succeeded(rc)) {
        handle_ = SQL_NULL_HANDLE;
        RaiseWithoutDiagnostics("SQLAllocHandle", rc, ctx);
    }
}

Handle::~Handle() {
    if (handle_ != SQL_NULL_HANDLE) SQLFreeHandle(type_, handle_);
}

bool Succeeded(SQLRETURN rc) {
    return rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO;
}

SQLRETURN Check(SQLRETURN rc, const Handle& h, std::string_view call, const DiagContext& ctx,
                OnNoData noData) {
    if (Succeeded(rc)) return rc;
    if (rc == SQL_NO_DATA && noData == OnNoData::Accept) return rc;
    auto records = ReadDiagnostics(h, ctx);
    if (records.empty()) RaiseWithoutDiagnostics(call, rc, ctx);
    throw ProviderError(std::move(records));
}

std::vector<Error> ReadDiagnostics(const Handle& h, const DiagContext& ctx) {
    std::vector<Error> out;
    for (SQLSMALLINT i = 1;; ++i) {
        SQLCHAR state[6] = {};
        SQLINTEGER native = 0;
        std::vector<SQLCHAR> message(1024);
        SQLSMALLINT length = 0;
        SQLRETURN rc = SQLGetDiagRec(h.type(), h.get(), i, state, &native, message.data(),
                                     static_cast<SQLSMALLINT>(message.size()), &length);
        if (Succeeded(rc) && length >= static_cast<SQLSMALLINT>(message.size())) {
            message.resize(static_cast<std::size_t>(length) + 1);
            rc = SQLGetDiagRec(h.type(), h.get(), i, state, &native, message.data(),
                               static_cast<SQLSMALLINT>(message.size()), &length);
        }
        if (!Succeeded(rc)) break;
        Error e;
        e.SQLState = reinterpret_cast<const char*>(state);
        e.NativeError = native;
        e.Number = NumberForState(e.SQLState);
        const auto n = std::min(static_cast<std::size_t>(std::max<SQLSMALLINT>(length, 0)),
                                message.size() - 1);
        e.Description =
            MaskSecrets(std::string(reinterpret_cast<const char*>(message.data()), n), ctx.secret);
        e.Source = ctx.source;
        out.push_back(std::move(e));
    }
    return out;
}

std::int32_t NumberForState(std::string_view state) {
    if (state.substr(0, 2) == "23") return code::kIntegrity;
    if (state == "42S02") return code::kNoTable;
    if (state.substr(0, 2) == "42" || state == "37000") return code::kErrorsInCommand;
    if (state == "22007" || state == "22008" || state == "22018") return code::kCantConvert;
    if (state == "HYT00" || state == "HYT01") return code::kTimeout;
    return code::kFail;
}

std::string MaskSecrets(std::string message, const std::string& secret) {
    // Very short passwords would mask ordinary letters; the key=value masking below
    // still catches them where a driver repeats the connection string.
    if (secret.size() >= 3) message = text::ReplaceAllExact(message, secret, "****");
    MaskKeyValues(message, "PWD=");
    MaskKeyValues(message, "Password=");
    return message;
}

}  // namespace adodb::odbc
