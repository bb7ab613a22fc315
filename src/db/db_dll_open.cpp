// Opening the connection: the connection string, the connection dialog, the retry loop after
// a connection error and the administrator flag.
#include <string>

#include "db/db_dll.h"
#include "db/on_error.h"
#include "platform/text/strings.h"
#include "platform/ui/ports.h"

namespace db {

namespace {

constexpr const char* kOracleProvider = "OraOLEDB.Oracle.1";

std::string ConnectionErrorMessage(const adodb::Error& e) {
    return " Estado de Sql: " + e.SQLState + "\r" + "Numero de Error: " + std::to_string(e.Number) +
           "\r" + "Descripcion: " + e.Description + "\r" +
           "Codigo Nativo: " + std::to_string(e.NativeError) + "\r" +
           " - Desea Intentarlo Nuevamente??? ";
}

}  // namespace

void DB_Dll::BuildConnString() {
    if (text::Contains(gProveedor, "ORACLE")) {
        gConnString = std::string("Provider=") + kOracleProvider + ";Data Source=" + gDbName +
                      ";User Id=" + gUsuario + ";Password=" + gUserPassWord + ";";
        return;
    }
    gConnString = "PROVIDER=" + gProveedor + ";" + "Server=" + gServidor + ";" +
                  "Database =" + gDbName + ";" + "UId=" + gUsuario + ";" + "Pwd=" + gUserPassWord +
                  ";" + gExtended;
}

// Shows a freshly loaded dialog filled with the current parameters. Accepting copies the
// boxes back (a platform after the first selects Oracle); cancelling clears gOpenFlag.
// Without a dialog to show (no factory installed) the operator cannot be asked, which counts
// as a cancellation.
void DB_Dll::RunConnectionDialog() {
    std::unique_ptr<ConnectionDialog> dialog = dialogFactory_ ? dialogFactory_() : nullptr;
    if (!dialog) {
        gOpenFlag = false;
        return;
    }
    dialog->SetBoxes(gDbName, gServidor, gUsuario, gUserPassWord);
    dialog->SelectPlatform(0);
    dialog->ShowModal();
    if (dialog->Aceptar()) {
        gOpenFlag = true;
        gDbName = dialog->DbName();
        gServidor = dialog->Server();
        gUsuario = dialog->UserId();
        gUserPassWord = dialog->Password();
        if (dialog->SelectedPlatform() > 0) gProveedor = kOracleProvider;
    } else {
        gOpenFlag = false;
    }
}

void DB_Dll::CheckAdministrator() {
    const Variant admin = DatosTabla("ta_usuarios", gUsuario, "Administrador", "nombre",
                                     Variant(std::int32_t{adodb::dtype::kBSTR}), "", true);
    gEsAdmin = text::LeadingNumber(admin.IsEmpty() ? std::string() : admin.ToString()) == 1.0;
}

void DB_Dll::OpenServerADODB(bool PideParametrosSQL, std::int32_t lCursor,
                             const std::string& ConnString, bool ValidaAdmin) {
    gOpenFlag = true;
    if (gProveedor.empty()) gProveedor = pSQLOLEDB();
    if (text::Trim(ConnString).empty()) {
        BuildConnString();
    } else {
        gConnString = ConnString;
    }

    // Connection errors ask whether to try again (through the dialog); any other failure
    // is shown and ends the operation.
    const auto onFailure = [this](const text::RuntimeError& e) {
        if (gCnn.Errors().Count() > 0) {
            const int answer = ui::prompter().MsgBox(ConnectionErrorMessage(gCnn.Errors().Item(0)),
                                                     ui::Buttons::YesNo, ui::Icon::Critical,
                                                     " Error de Conexion a Base de Datos");
            if (answer != ui::kYes) {
                gOpenFlag = false;
                return detail::OnError::Leave;
            }
            gCnn.Errors().Clear();
            RunConnectionDialog();
            if (!gOpenFlag) return detail::OnError::Leave;
            BuildConnString();
            return detail::OnError::Retry;
        }
        ui::prompter().MsgBox(e.Description());
        // Without a connection the caller must not carry on as if it had one.
        if (gCnn.State() == adodb::kStateClosed) gOpenFlag = false;
        return detail::OnError::Leave;
    };
    const auto step = [&](auto&& action) { return detail::RunStep(action, onFailure); };

    if (PideParametrosSQL) {
        if (!step([&] { RunConnectionDialog(); }) || !gOpenFlag) return;
        BuildConnString();
    }
    if (!step([&] { gCnn.SetCursorLocation(lCursor); })) return;
    if (!step([&] { gCnn.Open(gConnString, "", "", -1); })) return;
    if (!ValidaAdmin) {
        gEsAdmin = true;
        return;
    }
    step([&] { CheckAdministrator(); });
}

}  // namespace db
