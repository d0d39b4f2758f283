// SPDX-License-Identifier: MIT
#include "data/row_ids.h"

#include <algorithm>

namespace data {

void RowIds::Add(std::int64_t id) {
    if (count_ == 0)
        first_ = id;
    if (ids_.empty() && id != first_ + std::int64_t(count_)) {
        // The first id out of step: the ids so far are held after all.
        ids_.reserve(count_ * 2 + 16);
        for (std::size_t i = 0; i < count_; ++i)
            ids_.push_back(first_ + std::int64_t(i));
    }
    if (!ids_.empty() || id != first_ + std::int64_t(count_))
        ids_.push_back(id);
    ++count_;
}

// Row ids are nearly always dense, so each record is placed by its id; a sort serves the rest.
std::vector<std::size_t> RowIds::Sort() {
    if (ids_.empty() || std::is_sorted(ids_.begin(), ids_.end())) {
        return {};
    }
    const auto [low, high] = std::minmax_element(ids_.begin(), ids_.end());
    std::vector<std::size_t> order;
    const std::uint64_t span = static_cast<std::uint64_t>(*high) - static_cast<std::uint64_t>(*low);
    if (span < 4 * static_cast<std::uint64_t>(count_)) {
        constexpr std::size_t kNone = ~std::size_t(0);
        std::vector<std::size_t> slot(static_cast<std::size_t>(span) + 1, kNone);
        for (std::size_t i = 0; i < count_; ++i)
            slot[static_cast<std::size_t>(ids_[i] - *low)] = i;
        order.reserve(count_);
        for (std::size_t i : slot) {
            if (i != kNone)
                order.push_back(i);
        }
    } else {
        order.resize(count_);
        for (std::size_t i = 0; i < count_; ++i)
            order[i] = i;
        std::sort(order.begin(), order.end(),
                  [this](std::size_t a, std::size_t b) { return ids_[a] < ids_[b]; });
    }
    std::vector<std::int64_t> sorted(count_);
    for (std::size_t i = 0; i < count_; ++i)
        sorted[i] = ids_[order[i]];
    // In order now, and dense as most are: only counted from here on.
    if (sorted.back() - sorted.front() == std::int64_t(count_) - 1) {
        first_ = sorted.front();
        ids_ = {};
    } else {
        ids_.swap(sorted);
    }
    return order;
}

} // namespace data
