// SPDX-License-Identifier: MIT
#include "data/visible_rows.h"

#include <gtest/gtest.h>

#include <numeric>

using data::VisibleRows;

// Rows that are all counted answer every question as the same rows held would.
TEST(VisibleRowsTest, AllRowsCountedAnswerAsTheSameRowsHeld) {
    std::vector<int> each(7);
    std::iota(each.begin(), each.end(), 0);
    const VisibleRows counted = VisibleRows::All(7), held(each);
    for (const VisibleRows* rows : {&counted, &held}) {
        EXPECT_EQ(rows->Size(), 7);
        EXPECT_FALSE(rows->Empty());
        for (int i = 0; i < 7; ++i) {
            EXPECT_EQ((*rows)[i], i);
            EXPECT_EQ(rows->At(i), i);
            EXPECT_EQ(rows->PositionOf(i), i);
        }
        EXPECT_EQ(rows->PositionOf(7), -1);
        EXPECT_EQ(rows->PositionOf(-1), -1);
        EXPECT_THROW(rows->At(7), std::out_of_range);
        EXPECT_THROW(rows->At(-1), std::out_of_range);
        EXPECT_EQ(rows->FirstNotBefore([](int row) { return row < 4; }), 4);
        EXPECT_EQ(rows->FirstNotBefore([](int) { return true; }), 7);
    }
    EXPECT_TRUE(VisibleRows::All(0).Empty());
    EXPECT_TRUE(VisibleRows().Empty());
}

TEST(VisibleRowsTest, HeldRowsAreFoundByHalving) {
    const VisibleRows rows(std::vector<int>{2, 5, 9, 14});
    EXPECT_EQ(rows.PositionOf(9), 2);
    EXPECT_EQ(rows.PositionOf(14), 3);
    EXPECT_EQ(rows.PositionOf(6), -1) << "between two held rows";
    EXPECT_EQ(rows.PositionOf(0), -1);
    EXPECT_EQ(rows.FirstNotBefore([](int row) { return row < 6; }), 2);
    EXPECT_EQ(rows.FirstNotBefore([](int row) { return row < 20; }), 4);
    EXPECT_EQ(rows.At(1), 5);
    EXPECT_THROW(rows.At(4), std::out_of_range);
}
