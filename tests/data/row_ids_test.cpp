// SPDX-License-Identifier: MIT
#include "data/row_ids.h"

#include <gtest/gtest.h>

namespace {

using data::RowIds;

TEST(RowIdsTest, IdsInStepAreCountedAndAnIdOutOfStepKeepsEveryOne) {
    RowIds ids;
    for (std::int64_t id = 5; id < 9; ++id)
        ids.Add(id);
    EXPECT_EQ(ids.Count(), 4u);
    EXPECT_EQ(ids.At(3), 8);
    EXPECT_TRUE(ids.Sort().empty()) << "in order already";
    // A gap (a record deleted once) from here on.
    ids.Add(12);
    ids.Add(13);
    ASSERT_EQ(ids.Count(), 6u);
    const std::int64_t expected[] = {5, 6, 7, 8, 12, 13};
    for (std::size_t i = 0; i < 6; ++i)
        EXPECT_EQ(ids.At(i), expected[i]) << i;
    EXPECT_TRUE(ids.Sort().empty());
}

TEST(RowIdsTest, SortingGivesTheOrderTakenForSparseAndDenseIds) {
    // As an index over the file names gives them: not in id order.
    RowIds dense;
    for (std::int64_t id : {3, 1, 2, 4})
        dense.Add(id);
    EXPECT_EQ(dense.Sort(), (std::vector<std::size_t>{1, 2, 0, 3}));
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_EQ(dense.At(i), std::int64_t(i) + 1);

    RowIds sparse;
    for (std::int64_t id : {900000000, 7, -3})
        sparse.Add(id);
    EXPECT_EQ(sparse.Sort(), (std::vector<std::size_t>{2, 1, 0}));
    EXPECT_EQ(sparse.At(0), -3);
    EXPECT_EQ(sparse.At(1), 7);
    EXPECT_EQ(sparse.At(2), 900000000);
}

} // namespace
