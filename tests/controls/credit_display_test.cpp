// SPDX-License-Identifier: MIT
// Credit messages on show: where the strips start, how ticks move them, and how the credit
// box passes from line to line.
#include "controls/imageview/credit_display.h"

#include <QFontMetrics>
#include <gtest/gtest.h>

using controls::CreditDisplay;

namespace {

imaging::MessageFont Font() {
    imaging::MessageFont font;
    font.Name = QStringLiteral("DejaVu Sans");
    font.Height = -14;
    font.Colour = 0x0000FF; // red
    return font;
}

TEST(CreditDisplay, AScrollingMessageCrossesFromTheRightOnceEverySpeedPlusOneTicks) {
    CreditDisplay d;
    d.StartScrolling("Hello", Font(), 0x00FF00, 2, QSize(300, 100));
    ASSERT_EQ(d.Showing(), CreditDisplay::Kind::Scrolling);
    const QFontMetrics metrics(Font().ToQFont());
    EXPECT_EQ(d.Strip().width(), metrics.horizontalAdvance("Hello ")) << "a blank is appended";
    EXPECT_EQ(d.Strip().height(), metrics.height());
    EXPECT_EQ(d.Position(), QPoint(300, (100 - metrics.height()) / 2));
    EXPECT_EQ(d.Background(), QColor(0, 255, 0));
    EXPECT_EQ(d.Strip().pixelColor(d.Strip().width() - 1, 0), QColor(0, 255, 0));
    int ink = 0;
    for (int y = 0; y < d.Strip().height(); ++y)
        for (int x = 0; x < d.Strip().width(); ++x)
            ink +=
                d.Strip().pixelColor(x, y).red() > 200 && d.Strip().pixelColor(x, y).green() < 100;
    EXPECT_GT(ink, 20) << "the text is drawn in the font's colour";

    EXPECT_FALSE(d.Tick());
    EXPECT_FALSE(d.Tick());
    EXPECT_TRUE(d.Tick()) << "the third tick moves it";
    EXPECT_EQ(d.Position().x(), 299);
    // Once its right end has passed the left edge it starts again at the right.
    int moves = 0;
    while (d.Position().x() != 300 && moves < 100000)
        moves += d.Tick();
    EXPECT_EQ(moves, 299 + d.Strip().width() + 1);
    d.Stop();
    EXPECT_EQ(d.Showing(), CreditDisplay::Kind::None);
    EXPECT_FALSE(d.Tick());
}

TEST(CreditDisplay, ACreditBoxRollsItsLinesUpOneAfterTheOther) {
    CreditDisplay d;
    d.StartRolling({"First", "", "Third"}, Font(), 0xFFFFFF, 0, QSize(200, 60));
    ASSERT_EQ(d.Showing(), CreditDisplay::Kind::Rolling);
    const QFontMetrics metrics(Font().ToQFont());
    const int text = metrics.horizontalAdvance("  First ");
    EXPECT_EQ(d.Strip().width(), text + text / (8 - 2)) << "two blanks before, one after";
    EXPECT_EQ(d.Strip().height(), metrics.height() + 5);
    EXPECT_EQ(d.Position(), QPoint((200 - d.Strip().width()) / 2, 60));
    EXPECT_TRUE(d.Tick()) << "speed 0 moves on every tick";
    EXPECT_EQ(d.Position().y(), 59);
    auto rollOff = [&] {
        const int index = d.LineIndex();
        int ticks = 0;
        while (d.LineIndex() == index && ticks < 10000)
            ticks += d.Tick();
        return ticks;
    };
    EXPECT_EQ(rollOff(), 60 + metrics.height() + 5 + 1 - 1);
    EXPECT_EQ(d.LineIndex(), 1);
    EXPECT_EQ(d.Strip().width(), 1) << "an empty line shows nothing";
    rollOff();
    EXPECT_EQ(d.LineIndex(), 2);
    rollOff();
    EXPECT_EQ(d.LineIndex(), 0) << "after the last line the first again";
}

TEST(CreditDisplay, ShortLinesAndNoLines) {
    // A line of one blank stays one character: its strip gains the average character width
    // instead of dividing by (characters - 2).
    CreditDisplay d;
    d.StartRolling({" "}, Font(), 0, 1, QSize(100, 40));
    const QFontMetrics metrics(Font().ToQFont());
    EXPECT_EQ(d.Strip().width(), metrics.horizontalAdvance(" ") + metrics.averageCharWidth());

    CreditDisplay empty;
    empty.StartRolling({}, Font(), 0, 0, QSize(100, 40));
    for (int i = 0; i < 40 + metrics.height() + 6; ++i)
        empty.Tick();
    EXPECT_EQ(empty.Position().y(), 40) << "with no lines the strip starts again at the bottom";
}

} // namespace
