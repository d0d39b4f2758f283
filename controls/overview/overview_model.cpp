// SPDX-License-Identifier: MIT
#include "controls/overview/overview_model.h"

#include "data/data_set.h"
#include "data/field.h"

#include <algorithm>

namespace controls {

OverviewModel::OverviewModel(QObject* parent)
    : QAbstractListModel(parent) {}

void OverviewModel::SetSource(const data::TDataSet* records, const data::TField* fileName,
                              const data::TField* description) {
    if (records == source_ && fileName == fileName_ && description == description_)
        return;
    beginResetModel();
    source_ = records;
    fileName_ = fileName;
    description_ = description;
    records_.clear();
    endResetModel();
}

void OverviewModel::SetRecords(std::vector<int> records) {
    if (records == records_)
        return;
    beginResetModel();
    records_ = std::move(records);
    endResetModel();
}

int OverviewModel::RowOf(int record) const {
    const auto it = std::find(records_.begin(), records_.end(), record);
    return it == records_.end() ? -1 : int(it - records_.begin());
}

qint64 OverviewModel::RowIdAt(int row) const {
    const int record = RecordAt(row);
    return source_ && record < source_->RecordCount() ? source_->RecordRowId(record) : -1;
}

QString OverviewModel::FileNameAt(int row) const {
    return source_ && fileName_ ? source_->RecordText(RecordAt(row), *fileName_) : QString();
}

QString OverviewModel::DescriptionAt(int row) const {
    return source_ && description_ ? source_->RecordText(RecordAt(row), *description_) : QString();
}

int OverviewModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(records_.size());
}

QVariant OverviewModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() < 0 || index.row() >= rowCount() || !source_)
        return {};
    const int row = index.row();
    switch (role) {
    case Qt::DisplayRole:
        return FileNameAt(row);
    case Qt::ToolTipRole:
    case DescriptionRole:
    case Qt::AccessibleDescriptionRole:
        return DescriptionAt(row);
    case Qt::AccessibleTextRole: {
        const QString description = DescriptionAt(row);
        return description.isEmpty() ? FileNameAt(row)
                                     : FileNameAt(row) + QStringLiteral(", ") + description;
    }
    case RecordRole:
        return RecordAt(row);
    case RowIdRole:
        return RowIdAt(row);
    default:
        return {};
    }
}

} // namespace controls
