#pragma once
// The error handling of the window's procedures: an operation that raises is reported with
// the utility library's ReportError and the procedure's name, and the operator's answer
// decides whether it runs again, is skipped or ends the procedure.
#include <string>

#include "clientlib/error_policy.h"

namespace purge {

// Returns true when the procedure goes on (the operation succeeded or was skipped), false
// when it must end now.
template <class Operation>
bool Guarded(const clientlib::UtilityServices& utils, const std::string& procedure,
             Operation&& operation) {
    return clientlib::RunStep(operation, [&](const text::RuntimeError& e) {
        return clientlib::AskReportError(utils, e, procedure);
    });
}

}  // namespace purge
