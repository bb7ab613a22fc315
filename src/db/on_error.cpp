#include "db/on_error.h"

namespace db::detail {

void RaiseInvalidArgument() {
    throw text::RuntimeError(text::errnum::kInvalidArgument, "Invalid procedure call or argument",
                             "DB_Dll");
}

}  // namespace db::detail
