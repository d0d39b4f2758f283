// SPDX-License-Identifier: MIT
#include "controls/datalist/list_rows.h"

int TListRows::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : Count();
}

QVariant TListRows::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= Count())
        return {};
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole)
        return rows_[index.row()];
    return {};
}

void TListRows::SetText(int row, const QString& text) {
    if (row < 0 || row >= Count())
        return;
    rows_[row] = text;
    emit dataChanged(index(row), index(row));
}

void TListRows::SetRows(QStringList rows) {
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

void TListRows::Move(int from, int to) {
    if (from == to || from < 0 || to < 0 || from >= Count() || to >= Count())
        return;
    // Qt's destination is the row before which the moved row lands.
    beginMoveRows({}, from, from, {}, to > from ? to + 1 : to);
    rows_.move(from, to);
    endMoveRows();
}
