#pragma once
// The error policy of the suite's procedures. An operation that raises is retried, skipped
// (the procedure goes on with the operation after it) or ends the procedure, as the operator's
// answer or a fixed rule decides. The variants below are named for what they do.
#include <string>

#include "clientlib/utility_services.h"
#include "platform/text/runtime_error.h"

namespace clientlib {

enum class OnError { Retry, Skip, Leave };

// The meaning of the operator's answer to ReportError or to an Abort/Retry/Ignore box:
// 4 retries the operation, 5 skips it, any other answer leaves the procedure.
OnError FromAnswer(int answer);

// Runs `operation` until it succeeds or `decide` (called with the error) says otherwise.
// Returns false when the procedure should end now, true when it goes on.
template <class Operation, class Decide>
bool RunStep(Operation&& operation, Decide&& decide) {
    for (;;) {
        try {
            operation();
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

// Thrown by RunStepOrLeave when the procedure must end; the procedure catches it at its top.
struct ProcedureLeft {};

// As RunStep, but leaving throws ProcedureLeft. True when the operation succeeded, false when
// it raised and was skipped.
template <class Operation, class Decide>
bool RunStepOrLeave(Operation&& operation, Decide&& decide) {
    bool succeeded = false;
    const bool goesOn = RunStep(
        [&] {
            operation();
            succeeded = true;
        },
        decide);
    if (!goesOn) throw ProcedureLeft{};
    return succeeded;
}

// Runs `operation` and lets a failure pass unreported: the procedure goes on either way. True
// when it succeeded.
template <class Operation>
bool IgnoringFailure(Operation&& operation) {
    try {
        operation();
        return true;
    } catch (const text::RuntimeError&) {
        return false;
    }
}

// The operator's answer from the utility library's error report for `procedure`.
OnError AskReportError(const UtilityServices& utils, const text::RuntimeError& e,
                       const std::string& procedure = {});

// A critical Abort/Retry/Ignore box showing `prompt`: Retry retries, Ignore skips, Abort (or
// closing the box) leaves.
OnError AskAbortRetryIgnore(const std::string& prompt, const std::string& title);

}  // namespace clientlib
