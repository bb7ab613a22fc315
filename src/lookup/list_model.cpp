#include "lookup/list_model.h"

#include <QColor>
#include <QFont>

namespace lookup {

int ListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(logic_.Lista().rows.size());
}

int ListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(logic_.Lista().columns.size());
}

QVariant ListModel::data(const QModelIndex& index, int role) const {
    const ListControl& lista = logic_.Lista();
    if (!index.isValid() || index.row() >= static_cast<int>(lista.rows.size())) return {};
    const ListRow& row = lista.rows[static_cast<std::size_t>(index.row())];
    switch (role) {
        case Qt::DisplayRole:
            return QString::fromStdString(ListControl::ColumnText(row, index.column() + 1));
        case Qt::CheckStateRole:
            if (index.column() == 0 && lista.checkBoxes) {
                return row.checked ? Qt::Checked : Qt::Unchecked;
            }
            return {};
        case Qt::ForegroundRole:
            if (row.colour) {
                const std::uint32_t c = *row.colour;
                return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                              static_cast<int>((c >> 16) & 0xFF));
            }
            return {};
        case Qt::FontRole:
            if (row.colour) {
                QFont font;
                font.setBold(true);
                return font;
            }
            return {};
        default:
            return {};
    }
}

QVariant ListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    const ListControl& lista = logic_.Lista();
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= static_cast<int>(lista.columns.size())) {
        return {};
    }
    return QString::fromStdString(lista.columns[static_cast<std::size_t>(section)].title);
}

Qt::ItemFlags ListModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() == 0 && logic_.Lista().checkBoxes) f |= Qt::ItemIsUserCheckable;
    return f;
}

bool ListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::CheckStateRole || index.column() != 0) return false;
    logic_.SetChecked(index.row(), value.toInt() == Qt::Checked);
    return true;
}

void ListModel::Reset() {
    beginResetModel();
    endResetModel();
}

void ListModel::RowChanged(int row) {
    if (row < 0 || row >= rowCount()) return;
    emit dataChanged(index(row, 0), index(row, std::max(columnCount() - 1, 0)));
}

}  // namespace lookup
