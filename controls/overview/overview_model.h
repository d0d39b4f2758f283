// SPDX-License-Identifier: MIT
#pragma once

#include <QAbstractListModel>

#include <vector>

namespace data {
class TDataSet;
class TField;
} // namespace data

namespace controls {

/// The records the overview shows, one row each, in the order given (record order, or the
/// find's best first). It holds only the record numbers; texts are read from the record
/// source when asked for.
class OverviewModel : public QAbstractListModel {
    Q_OBJECT
public:
    enum Role {
        RecordRole = Qt::UserRole + 1, // the stored record (int)
        RowIdRole,                     // its row id (qint64)
        DescriptionRole,
    };

    explicit OverviewModel(QObject* parent = nullptr);

    void SetSource(const data::TDataSet* records, const data::TField* fileName,
                   const data::TField* description);
    /// Shows these records, in this order.
    void SetRecords(std::vector<int> records);
    const std::vector<int>& Records() const { return records_; }
    /// The row of a record; -1 when it is not shown.
    int RowOf(int record) const;
    int RecordAt(int row) const { return records_.at(size_t(row)); }
    qint64 RowIdAt(int row) const;
    QString FileNameAt(int row) const;
    QString DescriptionAt(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    const data::TDataSet* source_ = nullptr;
    const data::TField* fileName_ = nullptr;
    const data::TField* description_ = nullptr;
    std::vector<int> records_;
};

} // namespace controls
