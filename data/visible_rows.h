// SPDX-License-Identifier: MIT
#pragma once

#include <stdexcept>
#include <utility>
#include <vector>

namespace data {

/// The cache rows that pass a record source's filters, in stored order. When every row
/// passes (as when nothing filters) they are only counted, not held: a million records are
/// shown without four megabytes written first.
class VisibleRows {
public:
    VisibleRows() = default;
    static VisibleRows All(int count) {
        VisibleRows rows;
        rows.all_ = count;
        return rows;
    }
    explicit VisibleRows(std::vector<int> rows)
        : rows_(std::move(rows)) {}

    int Size() const { return all_ >= 0 ? all_ : static_cast<int>(rows_.size()); }
    bool Empty() const { return Size() == 0; }
    int operator[](int position) const {
        return all_ >= 0 ? position : rows_[static_cast<size_t>(position)];
    }
    /// Like operator[]; a position outside raises std::out_of_range.
    int At(int position) const {
        if (position < 0 || position >= Size())
            throw std::out_of_range("visible row");
        return (*this)[position];
    }
    /// The first position whose row is not before the key, by `before(row)` (rows before the
    /// key come first, as in stored order); Size() when there is none.
    template <class Before> int FirstNotBefore(Before before) const {
        int low = 0, high = Size();
        while (low < high) {
            const int middle = low + (high - low) / 2;
            if (before((*this)[middle]))
                low = middle + 1;
            else
                high = middle;
        }
        return low;
    }
    /// The position of the cache row, or -1.
    int PositionOf(int row) const {
        const int at = FirstNotBefore([row](int r) { return r < row; });
        return at < Size() && (*this)[at] == row ? at : -1;
    }

private:
    int all_ = -1; // the count of rows when all pass; -1 while they are held
    std::vector<int> rows_;
};

} // namespace data
