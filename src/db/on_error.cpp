#include "db/on_error.h"

#include "platform/adodb/variant.h"
#include "platform/ui/ports.h"

namespace db::detail {

OnError AskReportError(const clientlib::UtilityServices& utils, const text::RuntimeError& e,
                       const std::string& procedure) {
    switch (utils.ReportError(e, adodb::Variant::Missing(), procedure)) {
        case 4:
            return OnError::Retry;
        case 5:
            return OnError::Skip;
        default:
            return OnError::Leave;
    }
}

OnError AskAbortRetryIgnore(const text::RuntimeError& e) {
    switch (ui::prompter().MsgBox(e.Description(), ui::Buttons::AbortRetryIgnore,
                                  ui::Icon::Critical, "Aviso al Operador")) {
        case ui::kRetry:
            return OnError::Retry;
        case ui::kIgnore:
            return OnError::Skip;
        default:
            return OnError::Leave;
    }
}

void RaiseInvalidArgument() {
    throw text::RuntimeError(text::errnum::kInvalidArgument, "Invalid procedure call or argument",
                             "DB_Dll");
}

}  // namespace db::detail
