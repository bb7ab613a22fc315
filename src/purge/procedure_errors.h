#pragma once
// The error handling of the window's procedures: an operation that raises is reported with
// the utility library's ReportError and the procedure's name, and the operator's answer
// decides: 4 runs it again, 5 skips it and the procedure goes on, anything else leaves the
// procedure.
#include <string>

#include "clientlib/utility_services.h"
#include "platform/text/runtime_error.h"

namespace purge {

// Returns true when the procedure goes on (the operation succeeded or was skipped), false
// when it must end now.
template <class Operation>
bool Guarded(const clientlib::UtilityServices& utils, const std::string& procedure,
             Operation&& operation) {
    for (;;) {
        try {
            operation();
            return true;
        } catch (const text::RuntimeError& e) {
            const int answer = utils.ReportError(e, adodb::Variant::Missing(), procedure);
            if (answer == 4) continue;
            return answer == 5;
        }
    }
}

}  // namespace purge
