// SPDX-License-Identifier: MIT
#pragma once

#include <QAbstractListModel>
#include <QStringList>

/// The text rows of a list box, held as one string list so a whole fill is one model reset.
class TListRows : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    int Count() const { return static_cast<int>(rows_.size()); }
    const QString& Text(int row) const { return rows_[row]; }
    void SetText(int row, const QString& text);
    /// Replaces every row at once.
    void SetRows(QStringList rows);
    void Clear() { SetRows({}); }
    /// Moves one row to another index; the rows between shift by one.
    void Move(int from, int to);

private:
    QStringList rows_;
};
