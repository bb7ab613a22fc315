#include "purge/step_transaction.h"

#include "platform/text/runtime_error.h"

namespace purge {

bool SendTolerant(adodb::Connection& cnn, const std::string& sql, long* rows) {
    long affected = 0;
    try {
        cnn.Execute(sql, &affected, -1);
    } catch (const text::RuntimeError&) {
    }
    if (cnn.Errors().Count() > 0) return false;
    if (rows != nullptr && affected > 0) *rows += affected;
    return true;
}

StepTransaction::StepTransaction(db::DB_Dll& db, Route route) : db_(db), route_(route) {
    if (route_ == Route::Connection) {
        db_.gCnn.Execute("BEGIN TRANSACTION", nullptr, -1);
    } else {
        db_.EjecutaConsultaSQL("BEGIN TRANSACTION");
    }
    open_ = true;
}

StepTransaction::~StepTransaction() {
    if (open_) Send("ROLLBACK TRANSACTION");
}

bool StepTransaction::Finish(bool succeeded) {
    if (!open_) return false;
    open_ = false;
    if (succeeded && Send("COMMIT TRANSACTION")) return true;
    Send("ROLLBACK TRANSACTION");
    return false;
}

bool StepTransaction::Send(const std::string& sql) {
    if (route_ == Route::Connection) return SendTolerant(db_.gCnn, sql);
    try {
        db_.EjecutaConsultaSQL(sql);
    } catch (const text::RuntimeError&) {
    }
    return db_.gCnn.Errors().Count() == 0;
}

}  // namespace purge
