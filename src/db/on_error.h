#pragma once
// The database object's error handling: the suite's error policy, with the two ways the
// object asks the operator.
#include <string>

#include "clientlib/error_policy.h"

namespace db::detail {

using clientlib::OnError;
using clientlib::RunStep;

// The utility library's error report for `procedure`: 4 retries, 5 skips, anything else leaves.
inline OnError AskReportError(const clientlib::UtilityServices& utils, const text::RuntimeError& e,
                              const std::string& procedure) {
    return clientlib::AskReportError(utils, e, procedure);
}

// A critical Abort/Retry/Ignore box with the failure's description, titled "Aviso al
// Operador".
inline OnError AskAbortRetryIgnore(const text::RuntimeError& e) {
    return clientlib::AskAbortRetryIgnore(e.Description(), "Aviso al Operador");
}

// Error 5 of the platform, raised where a text operation gets a negative length.
[[noreturn]] void RaiseInvalidArgument();

}  // namespace db::detail
