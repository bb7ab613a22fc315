#pragma once
// The Qt item model over the list lookup window's rows: one column per field, the row text
// in column 0 with its tick, texts drawn in the row's colour and bold when it has one.
#include <QAbstractTableModel>

#include "lookup/list_lookup.h"

namespace lookup {

class ListModel : public QAbstractTableModel {
  public:
    explicit ListModel(ListLookup& logic) : logic_(logic) {}

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    void Reset();
    void RowChanged(int row);

  private:
    ListLookup& logic_;
};

}  // namespace lookup
