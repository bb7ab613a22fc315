#include "startup/startup_state.h"

#include "clientlib/settings.h"
#include "db/db_dll.h"
#include "lookup/lib_clscons3.h"
#include "startup/connection_dialog_setup.h"
#include "startup/globals.h"
#include "startup/mod_global.h"
#include "startup/program_folder.h"

namespace startup {

void ResetForTests() {
    ResetGlobals();
    ResetProgramEnded();
    SetExitHandler({});
    SetCommandLine(0, nullptr);
    SetProgramFolder({});
    SetConnectionDialogFactory({});
    lookup::ResetClsCons3();
    lookup::SetConfigReader({});
    clientlib::ApplicationContext().SetApplicationFolder({});
    db::Db() = db::DB_Dll();
}

}  // namespace startup
