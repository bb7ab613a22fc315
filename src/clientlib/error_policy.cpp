#include "clientlib/error_policy.h"

#include "platform/adodb/variant.h"
#include "platform/ui/ports.h"

namespace clientlib {

OnError FromAnswer(int answer) {
    switch (answer) {
        case ui::kRetry:
            return OnError::Retry;
        case ui::kIgnore:
            return OnError::Skip;
        default:
            return OnError::Leave;
    }
}

OnError AskReportError(const UtilityServices& utils, const text::RuntimeError& e,
                       const std::string& procedure) {
    return FromAnswer(utils.ReportError(e, adodb::Variant::Missing(), procedure));
}

OnError AskAbortRetryIgnore(const std::string& prompt, const std::string& title) {
    return FromAnswer(
        ui::prompter().MsgBox(prompt, ui::Buttons::AbortRetryIgnore, ui::Icon::Critical, title));
}

}  // namespace clientlib
