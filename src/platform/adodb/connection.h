#pragma once
// Connection and Recordset: the program's data-access objects. Both are handles (copies refer
// to the same object), as the program passes them around and keeps them in globals.
//
// Failure model: every failing operation fills the connection's Errors() (cleared at the
// start of every operation on that connection) and raises ComError. Operations on the
// connection are those that reach the provider: Open, Execute, the transaction calls,
// OpenSchema, Close, Recordset::Open and the writes of Update (also when a move or AddNew
// writes a pending change). Reading a recordset already fetched (moves, BOF/EOF, Fields,
// Value) raises ComError on failure (3021, 3265, 3704, 3251) but leaves Errors() as it was,
// so that an error the program is about to inspect is not wiped by a field lookup.
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/adodb/error.h"
#include "platform/adodb/provider.h"
#include "platform/adodb/variant.h"

// <cstdio> (included by <string> as well) defines EOF as a macro, which would replace
// Recordset::EOF. It is included above and the macro dropped here, so that a later include
// cannot bring it back; code that needs end-of-file writes std::char_traits<char>::eof().
#undef EOF

namespace adodb {

inline constexpr int kStateClosed = 0;
inline constexpr int kStateOpen = 1;
inline constexpr int kUseServer = 2;
inline constexpr int kUseClient = 3;
inline constexpr int kSchemaColumns = 4;
inline constexpr int kSchemaTables = 20;
inline constexpr int kLockReadOnly = 1;

class Recordset;
struct ConnectionImpl;
struct RecordsetImpl;

class Connection {
  public:
    Connection();  // a new, closed connection

    // Properties.
    std::string ConnectionString() const;
    void SetConnectionString(const std::string& cs);
    int CursorLocation() const;
    void SetCursorLocation(int v);
    int CommandTimeout() const;  // seconds; default 30
    void SetCommandTimeout(int seconds);
    std::string DefaultDatabase() const;
    void SetDefaultDatabase(const std::string& db);
    int State() const;  // kStateClosed or kStateOpen

    // Opens with `cs` (or the ConnectionString property when `cs` is empty).
    void Open(const std::string& cs = {}, const std::string& user = {},
              const std::string& password = {}, int options = -1);
    // Runs any statement. Queries give an open recordset; other statements a closed one,
    // and their row count in *recordsAffected when given.
    Recordset Execute(const std::string& text, long* recordsAffected = nullptr, int options = -1);
    void BeginTrans();
    void CommitTrans();
    void RollbackTrans();
    Recordset OpenSchema(int schema, const std::vector<Variant>& restrictions = {});
    ErrorCollection& Errors();
    const ErrorCollection& Errors() const;
    void Close();

    // Optional trace: called with every statement text sent to the database, in order,
    // exactly as the program wrote it (transaction calls are traced as "BeginTrans",
    // "CommitTrans", "RollbackTrans").
    void SetStatementTrace(std::function<void(const std::string&)> trace);

    // Optional: called with true once a statement has waited about 200 ms for a lock held by
    // another connection, and with false when the wait ends (the statement goes on, or fails
    // when the command timeout has passed, as without an observer). It runs on the thread
    // that runs the statement, inside the call; it must not use this connection, and what
    // it throws is ignored. Kept across Close and Open. The embedded engine calls it; the
    // ODBC provider does not, as its drivers do not say that they wait.
    void SetLockWaitObserver(std::function<void(bool waiting)> observer);

    bool SameAs(const Connection& o) const { return impl_ == o.impl_; }

    // For Recordset and tests.
    const std::shared_ptr<ConnectionImpl>& Impl() const { return impl_; }

  private:
    std::shared_ptr<ConnectionImpl> impl_;
};

class Field {
  public:
    std::string Name() const;
    Variant Value() const;            // no current record raises ComError 3021
    void SetValue(const Variant& v);  // read-only recordset raises ComError 3251
    long DefinedSize() const;
    int Type() const;

  private:
    friend class Recordset;
    Field(std::shared_ptr<RecordsetImpl> rs, int index) : rs_(std::move(rs)), index_(index) {}
    std::shared_ptr<RecordsetImpl> rs_;
    int index_;
};

class Recordset {
  public:
    Recordset();  // a new, closed recordset

    void Open(const std::string& source, Connection& connection, int cursorType = 0,
              int lockType = kLockReadOnly, int options = -1);
    void Close();
    int State() const;
    bool BOF() const;
    bool EOF() const;
    void MoveFirst();
    void MoveLast();
    void MoveNext();
    void MovePrevious();
    void AddNew();
    // Writes the current row's changes (or the new row) to the table, keyed by the primary
    // key (all original values when there is none). The key need not be among the fields:
    // where the provider can, an updatable open reads it along as hidden columns (the row id
    // for a table without a primary key). A row that is no longer there is an error, never a
    // silent no-op; so is a change that reached several rows (the embedded engine undoes it).
    void Update();
    long RecordCount() const;  // -1 when closed
    // GetRows()[field][row], from the current row to the end; moves to EOF.
    std::vector<std::vector<Variant>> GetRows();
    int FieldCount() const;
    Field Fields(int index) const;                // out of range: ComError 3265
    Field Fields(const std::string& name) const;  // letter case ignored; unknown: ComError 3265
    int CursorType() const;
    int LockType() const;

    bool SameAs(const Recordset& o) const { return impl_ == o.impl_; }

    // Used by Connection::Execute / OpenSchema to hand over an already read result.
    void Attach(Connection& connection, ResultSet result, int cursorType, int lockType);

  private:
    std::shared_ptr<RecordsetImpl> impl_;
};

}  // namespace adodb
