// SPDX-License-Identifier: MIT
#pragma once

#include <QHash>
#include <QString>

#include <vector>

namespace data {

/// The rows of one text column of a record cache, by exact value: a filter that compares the
/// column with a literal visits only the rows that hold it.
class ColumnIndex {
public:
    /// Indexes `column` of the cells, `columns` texts a row, rows in stored order.
    ColumnIndex(const std::vector<QString>& cells, int columns, int column);

    /// The rows holding exactly `value`, ascending; empty when none does.
    const std::vector<int>& Rows(const QString& value) const;

private:
    QHash<QString, std::vector<int>> rows_;
};

} // namespace data
