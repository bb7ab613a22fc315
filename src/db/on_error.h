#pragma once
// The retry / skip / leave pattern of the database object's error handling: a step runs,
// and when it raises, the operator's answer decides whether it runs again, is skipped (the
// procedure goes on with the next step) or ends the procedure.
#include <string>

#include "clientlib/utility_services.h"
#include "platform/text/runtime_error.h"

namespace db::detail {

enum class OnError { Retry, Skip, Leave };

// Runs `step` until it succeeds or `decide` (called with the error) says otherwise.
// Returns false when the procedure should end now, true when it goes on.
template <class Step, class Decide>
bool RunStep(Step&& step, Decide&& decide) {
    for (;;) {
        try {
            step();
            return true;
        } catch (const text::RuntimeError& e) {
            switch (decide(e)) {
                case OnError::Retry:
                    continue;
                case OnError::Skip:
                    return true;
                case OnError::Leave:
                    return false;
            }
        }
    }
}

// The operator's answer from the utility library's error report for `procedure`:
// 4 retries the step, 5 skips it, anything else leaves.
OnError AskReportError(const clientlib::UtilityServices& utils, const text::RuntimeError& e,
                       const std::string& procedure);

// A critical Abort/Retry/Ignore box with the failure's description, titled "Aviso al
// Operador": Retry retries, Ignore skips, Abort leaves.
OnError AskAbortRetryIgnore(const text::RuntimeError& e);

// Error 5 of the platform, raised where a text operation gets a negative length.
[[noreturn]] void RaiseInvalidArgument();

}  // namespace db::detail
