#include "purge/trace_option.h"

#include <memory>
#include <ostream>

#include "platform/adodb/trace_log.h"
#include "platform/text/runtime_error.h"

namespace purge {

bool AttachTrace(const std::optional<std::string>& file, db::DB_Dll& db, std::ostream& err) {
    if (!file) return true;
    try {
        db.gCnn.SetTrace(std::make_shared<adodb::FileTraceSink>(*file));
    } catch (const text::RuntimeError& e) {
        err << e.Description() << " No se depuró nada.\n";
        return false;
    }
    return true;
}

}  // namespace purge
