// SPDX-License-Identifier: MIT
// The view's stretched copies: which source pixel each target pixel takes, and how the
// combining modes keep thin lines of one-bit pictures.
#include "imaging/dib/stretch_blit.h"

#include <gtest/gtest.h>

using imaging::StretchBlit;
using imaging::StretchMode;

namespace {

// White, with a one-pixel black line across every tenth row from row 5.
QImage Lines(QImage::Format format, bool black) {
    QImage image(100, 100, QImage::Format_RGB32);
    image.fill(black ? Qt::white : Qt::black);
    for (int y = 5; y < 100; y += 10)
        for (int x = 0; x < 100; ++x)
            image.setPixel(x, y, black ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
    return image.convertToFormat(format, Qt::ThresholdDither);
}

int Count(const QImage& image, QRgb colour) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += (image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF);
    return n;
}

TEST(StretchBlit, ShrinkingDropsLinesUnlessTheModeCombinesThem) {
    for (QImage::Format format : {QImage::Format_Mono, QImage::Format_RGB32}) {
        SCOPED_TRACE(int(format));
        const QImage black = Lines(format, true);
        EXPECT_EQ(Count(StretchBlit(black, black.rect(), {10, 10}, StretchMode::ColourOnColour),
                        qRgb(0, 0, 0)),
                  0)
            << "rows 0, 10, 20 ... are sampled: the lines between are dropped";
        const QImage kept = StretchBlit(black, black.rect(), {10, 10}, StretchMode::BlackOnWhite);
        EXPECT_EQ(Count(kept, qRgb(0, 0, 0)), 100) << "each target row covers one black line";

        const QImage white = Lines(format, false);
        EXPECT_EQ(Count(StretchBlit(white, white.rect(), {10, 10}, StretchMode::WhiteOnBlack),
                        qRgb(255, 255, 255)),
                  100);
        EXPECT_EQ(Count(StretchBlit(white, white.rect(), {10, 10}, StretchMode::BlackOnWhite),
                        qRgb(255, 255, 255)),
                  0);
    }
}

TEST(StretchBlit, EnlargingAPartRepeatsItsPixelsAndReadsNothingElse) {
    QImage picture(40, 30, QImage::Format_BGR888);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x)
            picture.setPixel(x, y, qRgb(x * 6, y * 8, 77));
    const QImage zoomed =
        StretchBlit(picture, QRect(10, 5, 4, 3), {16, 12}, StretchMode::BlackOnWhite);
    ASSERT_EQ(zoomed.size(), QSize(16, 12));
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 16; ++x)
            ASSERT_EQ(zoomed.pixel(x, y) & 0xFFFFFF,
                      picture.pixel(10 + x / 4, 5 + y / 4) & 0xFFFFFF)
                << x << "," << y;
    // Indexed pictures through their colour table; a rectangle past the picture is cut.
    QImage indexed(4, 4, QImage::Format_Indexed8);
    indexed.setColorTable({qRgb(255, 0, 0), qRgb(0, 0, 255)});
    indexed.fill(1);
    const QImage cut =
        StretchBlit(indexed, QRect(2, 2, 10, 10), {2, 2}, StretchMode::ColourOnColour);
    EXPECT_EQ(cut.pixel(1, 1) & 0xFFFFFF, 0x0000FFu);
    EXPECT_TRUE(
        StretchBlit(indexed, QRect(10, 10, 2, 2), {4, 4}, StretchMode::ColourOnColour).isNull());
}

} // namespace

TEST(StretchBlit, TwentyFourBitRowsGiveTheSamePixelsAsTheirThirtyTwoBitCopyAtEveryWidth) {
    // Widths whose rows end with and without padding, shrunk, kept and enlarged, from the
    // whole picture and from its right-hand part (the last pixels of each row are read too).
    for (int w = 1; w <= 9; ++w) {
        QImage picture(w, 3, QImage::Format_BGR888);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < w; ++x)
                picture.setPixel(x, y, qRgb(10 + x, 100 + y, 200 - x * y));
        const QImage copy = picture.convertToFormat(QImage::Format_RGB32);
        for (int to : {1, w, 2 * w + 1})
            for (QRect from : {picture.rect(), QRect(w / 2, 1, w - w / 2, 2)}) {
                const QImage a = StretchBlit(picture, from, {to, 2}, StretchMode::ColourOnColour);
                const QImage b = StretchBlit(copy, from, {to, 2}, StretchMode::ColourOnColour);
                EXPECT_EQ(a, b) << "width " << w << " to " << to << " from x " << from.x();
            }
    }
}
