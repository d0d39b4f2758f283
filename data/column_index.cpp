// SPDX-License-Identifier: MIT
#include "data/column_index.h"

namespace data {

ColumnIndex::ColumnIndex(const std::vector<QString>& cells, int columns, int column) {
    if (columns <= 0 || column < 0 || column >= columns)
        return;
    const std::size_t rows = cells.size() / std::size_t(columns);
    for (std::size_t row = 0; row < rows; ++row)
        rows_[cells[row * std::size_t(columns) + std::size_t(column)]].push_back(int(row));
}

const std::vector<int>& ColumnIndex::Rows(const QString& value) const {
    static const std::vector<int> none;
    const auto it = rows_.constFind(value);
    return it == rows_.cend() ? none : *it;
}

} // namespace data
