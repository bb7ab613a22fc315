#include <algorithm>
#include <utility>

#include "platform/adodb/connection.h"
#include "platform/adodb/connection_impl.h"
#include "platform/adodb/layer_errors.h"
#include "platform/adodb/read_only_guard.h"
#include "platform/text/strings.h"

namespace adodb {

// A recordset holds its whole result (client cursor). The position runs from -1 (BOF) to
// the row count (EOF); an empty result is at BOF and EOF at once.
struct RecordsetImpl {
    enum class Edit { None, Changed, Adding };

    bool open = false;
    std::shared_ptr<ConnectionImpl> connection;
    ResultSet data;
    long position = 0;
    int cursorType = 0;
    int lockType = kLockReadOnly;
    long loadedRows = 0;  // rows as read; those after them were added here

    // Changes to the current row not yet written.
    Edit edit = Edit::None;
    std::vector<Variant> original;  // the row as read, while Changed
    std::vector<bool> assigned;     // fields given a value since the change began

    long RowCount() const { return static_cast<long>(data.rows.size()); }
    // The columns shown as fields: all but the trailing hidden key columns.
    std::size_t FieldCount() const {
        const std::size_t hidden = static_cast<std::size_t>(std::max(data.hiddenColumns, 0));
        return data.columns.size() - std::min(hidden, data.columns.size());
    }
    bool HasCurrent() const { return position >= 0 && position < RowCount(); }
    std::vector<Variant>& CurrentRow() { return data.rows[static_cast<std::size_t>(position)]; }

    void RequireOpen(const char* source) const {
        if (!open) RaiseClosed(source);
    }
    void RequireCurrent(const char* source) const {
        if (!HasCurrent()) RaiseNoCurrentRecord(source);
    }
    void RequireUpdatable() const {
        if (lockType == kLockReadOnly)
            RaiseNotUpdatable("el conjunto de registros es de solo lectura.");
        if (data.baseTable.empty()) {
            RaiseNotUpdatable("el conjunto de registros no proviene de una sola tabla.");
        }
    }

    void Reset() {
        open = false;
        connection.reset();
        data = ResultSet{};
        position = 0;
        loadedRows = 0;
        DiscardEdit();
    }

    void DiscardEdit() {
        if (edit == Edit::Adding && !data.rows.empty()) {
            data.rows.pop_back();
            position = RowCount();
        } else if (edit == Edit::Changed && HasCurrent()) {
            CurrentRow() = original;
        }
        edit = Edit::None;
        original.clear();
        assigned.clear();
    }

    // The field called `name` (letter case ignored); -1 when there is none.
    int ColumnIndex(const std::string& name) const {
        for (std::size_t i = 0; i < FieldCount(); ++i) {
            if (text::EqualsNoCase(data.columns[i].name, name)) return static_cast<int>(i);
        }
        return -1;
    }

    // The column holding key column `name`: a hidden one first, as a hidden key column is
    // there because no field holds that column under its own name; -1 when there is none.
    int KeyIndex(const std::string& name) const {
        for (std::size_t i = FieldCount(); i < data.columns.size(); ++i) {
            if (text::EqualsNoCase(data.columns[i].name, name)) return static_cast<int>(i);
        }
        return ColumnIndex(name);
    }

    RowChange BuildChange() {
        RowChange change;
        change.table = data.baseTable;
        const auto& row = CurrentRow();
        for (std::size_t i = 0; i < FieldCount(); ++i) {
            const bool changed = assigned[i] && (edit == Edit::Adding || !(row[i] == original[i]));
            if (changed) {
                change.setColumns.push_back(data.columns[i].name);
                change.setValues.push_back(row[i]);
            }
        }
        if (edit == Edit::Adding) {
            change.kind = RowChange::Kind::Insert;
            return change;
        }
        change.kind = RowChange::Kind::Update;
        // A row added here has no hidden key values (only what was written is known): it can
        // be found by a key only when the fields hold the whole key.
        const bool added = position >= loadedRows;
        std::vector<int> keys;
        for (const auto& key : data.keyColumns) {
            const int index = added ? ColumnIndex(key) : KeyIndex(key);
            if (index < 0) {
                keys.clear();
                break;
            }
            keys.push_back(index);
        }
        if (!keys.empty()) {
            for (std::size_t k = 0; k < keys.size(); ++k) {
                change.whereColumns.push_back(data.keyColumns[k]);
                change.whereValues.push_back(original[static_cast<std::size_t>(keys[k])]);
            }
        } else {
            // No usable key: the row is the one that still holds every value as read (the
            // provider refuses a change that would reach more than one row).
            for (std::size_t i = 0; i < FieldCount(); ++i) {
                change.whereColumns.push_back(data.columns[i].name);
                change.whereValues.push_back(original[i]);
            }
        }
        return change;
    }

    // Writes pending changes of the current row, if any. On failure they stay pending, so
    // a repeated Update tries again rather than succeeding without writing.
    void Flush() {
        if (edit == Edit::None) return;
        RowChange change = BuildChange();
        if (change.kind == RowChange::Kind::Update && change.setColumns.empty()) {
            DiscardEdit();
            return;
        }
        if (!connection) RaiseClosed(kRecordsetSource);
        connection->Run([&] {
            Provider& p = connection->OpenProvider(kRecordsetSource);
            const long affected = connection->Traced(
                TraceEvent::Kind::Change,
                (change.kind == RowChange::Kind::Insert ? "Insert " : "Update ") + change.table,
                [&] {
                    if (connection->readOnly) {
                        RaiseReadOnlyConnection("escribir en " + change.table, kRecordsetSource);
                    }
                    return p.ApplyChange(change);
                });
            if (change.kind == RowChange::Kind::Update && affected == 0) {
                throw ComError(MakeError(code::kRowVanished,
                                         "No se encuentra la fila para actualizar en " +
                                             change.table +
                                             ": se eliminó o sus valores cambiaron desde "
                                             "que se leyó.",
                                         p.Name()));
            }
            if (change.kind == RowChange::Kind::Update && affected > 1) {
                throw ComError(
                    MakeError(code::kFail,
                              "La información de clave de " + change.table +
                                  " no basta para identificar la fila: se actualizaron " +
                                  std::to_string(affected) + " filas.",
                              p.Name()));
            }
        });
        edit = Edit::None;
        original.clear();
        assigned.clear();
    }
};

// ---- Field ----

std::string Field::Name() const {
    rs_->RequireOpen(kFieldSource);
    return rs_->data.columns[static_cast<std::size_t>(index_)].name;
}

Variant Field::Value() const {
    rs_->RequireOpen(kFieldSource);
    rs_->RequireCurrent(kFieldSource);
    return rs_->CurrentRow()[static_cast<std::size_t>(index_)];
}

void Field::SetValue(const Variant& v) {
    rs_->RequireOpen(kFieldSource);
    rs_->RequireUpdatable();
    rs_->RequireCurrent(kFieldSource);
    auto& row = rs_->CurrentRow();
    if (rs_->edit == RecordsetImpl::Edit::None) {
        rs_->edit = RecordsetImpl::Edit::Changed;
        rs_->original = row;
        rs_->assigned.assign(row.size(), false);
    }
    row[static_cast<std::size_t>(index_)] = v;
    rs_->assigned[static_cast<std::size_t>(index_)] = true;
}

long Field::DefinedSize() const {
    rs_->RequireOpen(kFieldSource);
    return rs_->data.columns[static_cast<std::size_t>(index_)].definedSize;
}

int Field::Type() const {
    rs_->RequireOpen(kFieldSource);
    return rs_->data.columns[static_cast<std::size_t>(index_)].type;
}

// ---- Recordset ----

Recordset::Recordset() : impl_(std::make_shared<RecordsetImpl>()) {}

void Recordset::Open(const std::string& source, Connection& connection, int cursorType,
                     int lockType, int /*options*/) {
    const auto& conn = connection.Impl();
    conn->Run([&] {
        if (impl_->open) RaiseAlreadyOpen(kRecordsetSource);
        Provider& p = conn->OpenProvider(kRecordsetSource);
        conn->Trace(source);
        ExecuteResult r = conn->Traced(TraceEvent::Kind::Statement, source, [&] {
            if (conn->readOnly) RequireReadOnlyStatement(source, kRecordsetSource);
            return lockType == kLockReadOnly ? p.Execute(source, conn->commandTimeout)
                                             : p.ExecuteForUpdate(source, conn->commandTimeout);
        });
        // A statement that returns no rows leaves the recordset closed, as it has nothing
        // to show.
        if (!r.result) return;
        if (lockType != kLockReadOnly && !r.result->baseTable.empty() &&
            r.result->keyColumns.empty()) {
            p.ResolveKeys(*r.result);
        }
        Attach(connection, std::move(*r.result), cursorType, lockType);
    });
}

void Recordset::Attach(Connection& connection, ResultSet result, int cursorType, int lockType) {
    impl_->Reset();
    impl_->connection = connection.Impl();
    impl_->data = std::move(result);
    impl_->cursorType = cursorType;
    impl_->lockType = lockType;
    impl_->position = 0;
    impl_->loadedRows = impl_->RowCount();
    impl_->open = true;
}

void Recordset::Close() {
    impl_->RequireOpen(kRecordsetSource);
    impl_->Reset();
}

int Recordset::State() const {
    return impl_->open ? kStateOpen : kStateClosed;
}

bool Recordset::BOF() const {
    impl_->RequireOpen(kRecordsetSource);
    return impl_->position < 0 || impl_->RowCount() == 0;
}

bool Recordset::EOF() const {
    impl_->RequireOpen(kRecordsetSource);
    return impl_->position >= impl_->RowCount();
}

void Recordset::MoveFirst() {
    impl_->RequireOpen(kRecordsetSource);
    impl_->Flush();
    if (impl_->RowCount() == 0) RaiseNoCurrentRecord(kRecordsetSource);
    impl_->position = 0;
}

void Recordset::MoveLast() {
    impl_->RequireOpen(kRecordsetSource);
    impl_->Flush();
    if (impl_->RowCount() == 0) RaiseNoCurrentRecord(kRecordsetSource);
    impl_->position = impl_->RowCount() - 1;
}

void Recordset::MoveNext() {
    impl_->RequireOpen(kRecordsetSource);
    impl_->Flush();
    if (impl_->position >= impl_->RowCount()) RaiseNoCurrentRecord(kRecordsetSource);
    ++impl_->position;
}

void Recordset::MovePrevious() {
    impl_->RequireOpen(kRecordsetSource);
    impl_->Flush();
    if (impl_->position < 0 || impl_->RowCount() == 0) RaiseNoCurrentRecord(kRecordsetSource);
    --impl_->position;
}

void Recordset::AddNew() {
    impl_->RequireOpen(kRecordsetSource);
    impl_->RequireUpdatable();
    impl_->Flush();
    impl_->data.rows.emplace_back(impl_->data.columns.size(), Variant::Null());
    impl_->position = impl_->RowCount() - 1;
    impl_->edit = RecordsetImpl::Edit::Adding;
    impl_->original.clear();
    impl_->assigned.assign(impl_->data.columns.size(), false);
}

void Recordset::Update() {
    impl_->RequireOpen(kRecordsetSource);
    if (impl_->edit == RecordsetImpl::Edit::None) return;
    impl_->RequireUpdatable();
    impl_->Flush();
}

long Recordset::RecordCount() const {
    return impl_->open ? impl_->RowCount() : -1;
}

std::vector<std::vector<Variant>> Recordset::GetRows() {
    impl_->RequireOpen(kRecordsetSource);
    impl_->Flush();
    impl_->RequireCurrent(kRecordsetSource);
    std::vector<std::vector<Variant>> out(impl_->FieldCount());
    for (long r = impl_->position; r < impl_->RowCount(); ++r) {
        const auto& row = impl_->data.rows[static_cast<std::size_t>(r)];
        for (std::size_t f = 0; f < out.size(); ++f) out[f].push_back(row[f]);
    }
    impl_->position = impl_->RowCount();
    return out;
}

int Recordset::FieldCount() const {
    return impl_->open ? static_cast<int>(impl_->FieldCount()) : 0;
}

Field Recordset::Fields(int index) const {
    if (index < 0 || index >= FieldCount()) {
        RaiseItemNotFound("de índice " + std::to_string(index));
    }
    return Field(impl_, index);
}

Field Recordset::Fields(const std::string& name) const {
    const int index = impl_->open ? impl_->ColumnIndex(name) : -1;
    if (index < 0) RaiseItemNotFound("'" + name + "'");
    return Field(impl_, index);
}

int Recordset::CursorType() const {
    return impl_->cursorType;
}
int Recordset::LockType() const {
    return impl_->lockType;
}

}  // namespace adodb
