// SPDX-License-Identifier: MIT
#include "data/filter_expression.h"
#include "platform/core/errors.h"

#include <gtest/gtest.h>

using data::FilterExpression;
using data::TFilterOptions;

namespace {

QString ErrorOf(const QString& text) {
    try {
        FilterExpression::Parse(text);
    } catch (const platform::Exception& e) {
        return e.Message();
    }
    return {};
}

} // namespace

TEST(FilterExpression, ParsesFieldEqualsLiteral) {
    const auto e = FilterExpression::Parse("Category = 'border'");
    EXPECT_EQ(e.FieldName(), "Category");
    EXPECT_EQ(e.Literal(), "border");
    EXPECT_TRUE(FilterExpression::Parse("  ").IsEmpty());
    EXPECT_TRUE(FilterExpression::Parse("").Matches("anything", {}));
    EXPECT_EQ(FilterExpression::Parse("[Category Name]='All'").FieldName(), "Category Name");
    EXPECT_EQ(FilterExpression::Parse("Description = 'Tamsin''s star'").Literal(), "Tamsin's star");
    EXPECT_EQ(FilterExpression::Parse("Category = ''").Literal(), "");
}

TEST(FilterExpression, ComparesWholeValuesCaseSensitivelyUnlessAsked) {
    const auto e = FilterExpression::Parse("Category = 'border'");
    EXPECT_TRUE(e.Matches("border", {}));
    EXPECT_FALSE(e.Matches("Border", {}));
    EXPECT_FALSE(e.Matches("borders", {}));
    EXPECT_FALSE(e.Matches("borde", {}));
    TFilterOptions insensitive;
    insensitive.CaseInsensitive = true;
    EXPECT_TRUE(e.Matches("BORDER", insensitive));
}

TEST(FilterExpression, TrailingStarIsAPrefixOfTwoOrMoreCharacters) {
    const auto prefix = FilterExpression::Parse("FileName = 'BO*'");
    EXPECT_TRUE(prefix.Matches("BORD01.BMP", {}));
    EXPECT_TRUE(prefix.Matches("BO", {}));
    EXPECT_FALSE(prefix.Matches("B", {}));
    EXPECT_FALSE(prefix.Matches("bord01.bmp", {}));
    TFilterOptions literalStar;
    literalStar.NoPartialCompare = true;
    EXPECT_FALSE(prefix.Matches("BORD01.BMP", literalStar));
    EXPECT_TRUE(prefix.Matches("BO*", literalStar));
    // A lone "*" is one character and so compares whole.
    const auto star = FilterExpression::Parse("FileName = '*'");
    EXPECT_TRUE(star.Matches("*", {}));
    EXPECT_FALSE(star.Matches("X", {}));
}

TEST(FilterExpression, BadTextIsRefusedWithTheLayersMessages) {
    EXPECT_EQ(ErrorOf("Category = 'border"), "Filter expression incorrectly terminated");
    // A tab caption holding a quote, inserted without doubling it.
    EXPECT_EQ(ErrorOf("Category = 'o'neil'"), "Filter expression incorrectly terminated");
    EXPECT_EQ(ErrorOf("[Category Name = 'x'"), "Filter expression incorrectly terminated");
    EXPECT_EQ(ErrorOf("Category # 'x'"), "Invalid filter expression character: '#'");
    EXPECT_EQ(ErrorOf("Category = 'x' ;"), "Invalid filter expression character: ';'");
    EXPECT_EQ(ErrorOf("Category 'x'"), "Incorrectly formed filter expression");
    EXPECT_EQ(ErrorOf("Category ="), "Incorrectly formed filter expression");
    EXPECT_EQ(ErrorOf("'x' = Category"), "Incorrectly formed filter expression");
    EXPECT_EQ(ErrorOf("Category = 'x' = 'y'"), "Incorrectly formed filter expression");
    EXPECT_EQ(ErrorOf("[ ] = 'x'"), "Incorrectly formed filter expression");
    EXPECT_EQ(ErrorOf("Category = 'x'"), "");
}
