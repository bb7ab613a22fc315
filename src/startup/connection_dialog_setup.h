#pragma once
// Which connection dialog the start-up gives the database object.
#include "db/connection_dialog.h"
#include "db/db_dll.h"

namespace startup {

// Gives the database object the Qt window frmAcceso as its connection dialog.
void UseQtConnectionDialog(db::DB_Dll& database);

// The dialog IniciarSistema installs on the database object: frmAcceso unless the program
// chose another one here (batch mode, which has no window to show, answers it as Cancel).
// An empty factory restores frmAcceso.
void SetConnectionDialogFactory(db::ConnectionDialogFactory factory);
void InstallConnectionDialog(db::DB_Dll& database);

}  // namespace startup
