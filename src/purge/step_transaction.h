#pragma once
// The transaction of one purge step on the shared connection. The constructor sends "BEGIN
// TRANSACTION"; Finish commits only when the step asks for it and the connection reported no
// error, and otherwise rolls back; a transaction that leaves scope unfinished (the operator
// ended the step, or an error unwound it) is rolled back, so no step ever leaves one open.
#include <string>

#include "db/db_dll.h"

namespace purge {

class StepTransaction {
  public:
    // How the transaction statements reach the database.
    enum class Route {
        Connection,      // straight to db.gCnn; a "BEGIN TRANSACTION" that fails raises
        DatabaseObject,  // through EjecutaConsultaSQL, which handles its own failures
    };

    StepTransaction(db::DB_Dll& db, Route route);
    ~StepTransaction();
    StepTransaction(const StepTransaction&) = delete;
    StepTransaction& operator=(const StepTransaction&) = delete;

    // "COMMIT TRANSACTION" when `succeeded`; a commit the database refuses, or a failed step,
    // ends with "ROLLBACK TRANSACTION". True when the step's work is committed.
    bool Finish(bool succeeded);

  private:
    // Sends one statement; a raised error is not passed on. True when the connection
    // reported no error for it.
    bool Send(const std::string& sql);

    db::DB_Dll& db_;
    Route route_;
    bool open_ = false;
};

// Sends one statement of a step's error-tolerant part straight to the connection: a raised
// error is neither reported nor passed on, and the connection's error collection tells
// whether it failed. Adds the rows it affected to `rows` when given.
bool SendTolerant(adodb::Connection& cnn, const std::string& sql, long* rows = nullptr);

}  // namespace purge
