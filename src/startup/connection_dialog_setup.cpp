#include "startup/connection_dialog_setup.h"

#include <memory>

#include "startup/frm_acceso.h"

namespace startup {
namespace {

db::ConnectionDialogFactory& Chosen() {
    static db::ConnectionDialogFactory factory;
    return factory;
}

std::unique_ptr<db::ConnectionDialog> NewFrmAcceso() {
    return std::make_unique<frmAcceso>();
}

}  // namespace

void UseQtConnectionDialog(db::DB_Dll& database) {
    database.SetDialogFactory(&NewFrmAcceso);
}

void SetConnectionDialogFactory(db::ConnectionDialogFactory factory) {
    Chosen() = std::move(factory);
}

void InstallConnectionDialog(db::DB_Dll& database) {
    if (Chosen()) {
        database.SetDialogFactory(Chosen());
    } else {
        UseQtConnectionDialog(database);
    }
}

}  // namespace startup
