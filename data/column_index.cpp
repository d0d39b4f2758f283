// SPDX-License-Identifier: MIT
#include "data/column_index.h"

#include "data/record_texts.h"

#include <QHash>

namespace data {

ColumnIndex::ColumnIndex(const RecordTexts& texts, int column) {
    if (column < 0 || column >= texts.Columns())
        return;
    // A value the texts hold once for many rows is looked up by its place, without a string.
    QHash<std::uint32_t, std::vector<int>*> byPlace;
    const std::size_t count = texts.Records();
    for (std::size_t row = 0; row < count; ++row) {
        const std::uint32_t place = texts.Place(row, column);
        std::vector<int>*& rows = byPlace[place];
        if (!rows)
            rows = &rows_[texts.Text(row, column)]; // a map's elements stay where they are
        rows->push_back(int(row));
    }
}

const std::vector<int>& ColumnIndex::Rows(const QString& value) const {
    static const std::vector<int> none;
    const auto it = rows_.find(value);
    return it == rows_.end() ? none : it->second;
}

} // namespace data
