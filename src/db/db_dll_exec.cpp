// Running action statements and opening and closing recordsets on the shared connection.
#include <string>

#include "db/db_dll.h"
#include "db/on_error.h"
#include "platform/adodb/error.h"
#include "platform/text/strings.h"
#include "platform/ui/ports.h"

namespace db {

namespace {

// Failures that EjecutaConsultaSQL swallows without telling anyone: anything else, errors in
// the command, a missing table, a broken constraint.
bool IsSilentFailure(std::int32_t number) {
    return number == adodb::code::kFail || number == adodb::code::kErrorsInCommand ||
           number == adodb::code::kNoTable || number == adodb::code::kIntegrity;
}

}  // namespace

void DB_Dll::EjecutaConsultaSQL(std::string& SentenciaSQL, long& RecordsAffected) {
    try {
        // Statements that delete or carry the marker never get synonyms.
        if (!text::Contains(SentenciaSQL, "DELETE")) {
            if (text::Contains(SentenciaSQL, "@ADMIN_")) {
                SentenciaSQL = text::ReplaceAll(SentenciaSQL, "@Admin_", "");
            } else {
                SentenciaSQL = SS_TSinonimos(SentenciaSQL);
            }
        } else if (text::Contains(SentenciaSQL, "@ADMIN_")) {
            SentenciaSQL = text::ReplaceAll(SentenciaSQL, "@Admin_", "");
        }
        if (text::Contains(gCnn.ConnectionString(), "ORACLE")) {
            EjecutaScriptOracle(SentenciaSQL, RecordsAffected);
        } else {
            gCnn.Execute(SentenciaSQL, &RecordsAffected, -1);
        }
    } catch (const text::RuntimeError& e) {
        if (!IsSilentFailure(e.Number())) {
            ui::prompter().MsgBox(e.Description(), ui::Buttons::OK, ui::Icon::Critical,
                                  "Aviso al operador!!!");
        }
    }
}

void DB_Dll::EjecutaConsultaSQL(std::string& SentenciaSQL) {
    long records = 0;
    EjecutaConsultaSQL(SentenciaSQL, records);
}

void DB_Dll::EjecutaConsultaSQL(const std::string& SentenciaSQL) {
    std::string statement = SentenciaSQL;
    EjecutaConsultaSQL(statement);
}

void DB_Dll::AbrirRecordset(std::string& SentenciaSQL, adodb::Recordset& Lrcs,
                            adodb::Connection* ConexionActiva, std::int32_t CursorType,
                            std::int32_t LockType, std::int32_t Options, bool ConvOracle) {
    const auto ask = [this](const text::RuntimeError& e) {
        return detail::AskReportError(Utils(), e, "AbrirRecordset");
    };
    CierraRecordset(Lrcs);
    if (!detail::RunStep([&] { SentenciaSQL = SS_TSinonimos(SentenciaSQL); }, ask)) return;
    // The translation and the open are one step: a query whose translation failed is not
    // sent at all, so ignoring that failure leaves Lrcs closed.
    detail::RunStep(
        [&] {
            const bool oracle = text::InStr(gCnn.ConnectionString(), "ORACLE", 2) > 0;
            const std::string source =
                oracle && ConvOracle ? ORACLE_Dicc(SentenciaSQL) : SentenciaSQL;
            Lrcs.Open(source, ConexionActiva != nullptr ? *ConexionActiva : gCnn, CursorType,
                      LockType, Options);
        },
        ask);
}

void DB_Dll::AbrirRecordset(const std::string& SentenciaSQL, adodb::Recordset& Lrcs,
                            adodb::Connection* ConexionActiva, std::int32_t CursorType,
                            std::int32_t LockType, std::int32_t Options, bool ConvOracle) {
    std::string statement = SentenciaSQL;
    AbrirRecordset(statement, Lrcs, ConexionActiva, CursorType, LockType, Options, ConvOracle);
}

void DB_Dll::CierraRecordset(adodb::Recordset& LrcsTemp) {
    detail::RunStep(
        [&] {
            if (LrcsTemp.State() != adodb::kStateClosed) LrcsTemp.Close();
        },
        [this](const text::RuntimeError& e) {
            return detail::AskReportError(Utils(), e, "CierraRecordset");
        });
}

}  // namespace db
