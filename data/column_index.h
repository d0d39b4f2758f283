// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include <map>
#include <vector>

namespace data {

class RecordTexts;

/// The rows of one text column of a record cache, by exact value: a filter that compares the
/// column with a literal visits only the rows that hold it.
class ColumnIndex {
public:
    /// Indexes `column` of the texts, rows in stored order.
    ColumnIndex(const RecordTexts& texts, int column);

    /// The rows holding exactly `value`, ascending; empty when none does.
    const std::vector<int>& Rows(const QString& value) const;

private:
    std::map<QString, std::vector<int>> rows_;
};

} // namespace data
