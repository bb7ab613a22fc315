#pragma once
// ODBC handles owned by RAII, and the one helper through which every ODBC call's return
// code is checked and its diagnostics turned into errors. Internal to the ODBC provider.
#include <sql.h>
#include <sqlext.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/adodb/error.h"

namespace adodb::odbc {

// What a failure report needs besides the handle: the source name for Error::Source and
// the password in effect, which never appears in a message.
struct DiagContext {
    std::string source = "ODBC";
    std::string secret;
};

class Handle {
  public:
    // Allocates a handle of `type` under `parent` (SQL_NULL_HANDLE for an environment).
    Handle(SQLSMALLINT type, SQLHANDLE parent, const DiagContext& ctx);
    ~Handle();
    Handle(Handle&& o) noexcept : type_(o.type_), handle_(o.handle_) {
        o.handle_ = SQL_NULL_HANDLE;
    }
    Handle& operator=(Handle&&) = delete;
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;

    SQLHANDLE get() const { return handle_; }
    SQLSMALLINT type() const { return type_; }

  private:
    SQLSMALLINT type_;
    SQLHANDLE handle_ = SQL_NULL_HANDLE;
};

enum class OnNoData { Fail, Accept };

// Checks the return code of a call made on `h`. Success (with or without information)
// returns it; SQL_NO_DATA returns it when accepted; anything else raises ProviderError
// with every diagnostic record of the handle.
SQLRETURN Check(SQLRETURN rc, const Handle& h, std::string_view call, const DiagContext& ctx,
                OnNoData noData = OnNoData::Fail);
// The same for calls whose failure the caller can live without (an attribute a driver
// does not support): returns false instead of raising.
bool Succeeded(SQLRETURN rc);

// Every diagnostic record of the handle, read until SQL_NO_DATA (some drivers misbehave
// when asked past the last one).
std::vector<Error> ReadDiagnostics(const Handle& h, const DiagContext& ctx);

// Error number for an SQL state.
std::int32_t NumberForState(std::string_view state);

// `message` with the secret and any PWD=/Password= value masked.
std::string MaskSecrets(std::string message, const std::string& secret);

}  // namespace adodb::odbc
