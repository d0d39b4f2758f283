// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <vector>

namespace data {

/// The row ids of a store's records in stored order. Ids that go up one by one from the first
/// (as nearly every table has them) are only counted, not held.
class RowIds {
public:
    void Add(std::int64_t id);
    std::size_t Count() const { return count_; }
    std::int64_t At(std::size_t index) const {
        return ids_.empty() ? first_ + std::int64_t(index) : ids_[index];
    }
    /// Puts the ids in ascending order; returns the order taken (position i holds what was at
    /// order[i]), empty when they were in order already.
    std::vector<std::size_t> Sort();

private:
    std::int64_t first_ = 0;
    std::size_t count_ = 0;
    std::vector<std::int64_t> ids_; // empty while the ids are counted
};

} // namespace data
