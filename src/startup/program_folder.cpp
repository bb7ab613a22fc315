#include "startup/program_folder.h"

#include "clientlib/settings.h"
#include "clientlib/utility_services.h"

namespace startup {
namespace {

std::string& Override() {
    static std::string folder;
    return folder;
}

}  // namespace

std::string ProgramFolder() {
    if (Override().empty()) return clientlib::ProgramFolder();
    return clientlib::UtilityServices().WithTrailingSeparator(Override());
}

void SetProgramFolder(std::string folder) {
    Override() = std::move(folder);
}

}  // namespace startup
