// SPDX-License-Identifier: MIT
// The effects window's operations through the binding, on real pixels of the real engine.
#include "imaging/dib/dib.h"
#include "imaging/dib/dib_convert.h"
#include "imaging/engine/effects_binding.h"
#include "platform/memory/global_memory.h"
#include "tests/support/fake_dialogs.h"

#include <gtest/gtest.h>

using namespace imaging;

namespace {

HGLOBAL DibOf(const QImage& image) {
    TBitmap bitmap;
    bitmap.SetHandle(image);
    HGLOBAL dib = nullptr;
    BitmapToDib(&bitmap, &dib);
    return dib;
}

QImage ImageOf(HGLOBAL dib) {
    TBitmap bitmap;
    EXPECT_EQ(DibHandleToBitmap(dib, bitmap), 1);
    return bitmap.Handle().convertToFormat(QImage::Format_RGB32);
}

QImage Filled(int w, int h, QRgb colour) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// Applies the effect to a DIB of the image and gives the result back as an image.
struct Applied {
    QImage image;
    int bits = 0;
    int sourceBits = 0;
};
Applied Apply(const QImage& source, Effect effect, double value = 0, int second = 0) {
    HGLOBAL dib = DibOf(source);
    const int sourceBits = DibBitCount(dib);
    HGLOBAL out = ApplyEffect(effect, dib, value, second);
    FreeDib(dib);
    EXPECT_NE(out, nullptr);
    if (!out)
        return {};
    Applied result{ImageOf(out), DibBitCount(out), sourceBits};
    FreeDib(out);
    return result;
}

class Filters : public ::testing::Test {
protected:
    void SetUp() override { EngineBinding::Instance().Start(); }
    void TearDown() override { EngineBinding::Instance().End(); }
    FakeDialogs dialogs;
};

TEST_F(Filters, ToneCurvesMoveEveryChannelByTheirRule) {
    const QImage grey = Filled(3, 2, qRgb(100, 60, 200));
    EXPECT_EQ(Apply(grey, Effect::Brightness, 50, 0).image.pixel(2, 1), qRgb(150, 110, 250));
    EXPECT_EQ(Apply(grey, Effect::Brightness, 100, 0).image.pixel(0, 0), qRgb(200, 160, 255));
    EXPECT_EQ(Apply(grey, Effect::Brightness, -80, 0).image.pixel(0, 0), qRgb(20, 0, 120));
    // Contrast 100 doubles the distance from the middle grey; -100 flattens to it.
    EXPECT_EQ(Apply(grey, Effect::Brightness, 0, 100).image.pixel(1, 1), qRgb(73, 0, 255));
    EXPECT_EQ(Apply(grey, Effect::Brightness, 0, -100).image.pixel(1, 1), qRgb(128, 128, 128));
    // Gamma 2 is a square root of the tone, 1 leaves it; black and white stay.
    const QImage tones = Filled(2, 2, qRgb(64, 0, 255));
    EXPECT_EQ(Apply(tones, Effect::Gamma, 2.0).image.pixel(0, 0), qRgb(128, 0, 255));
    EXPECT_EQ(Apply(tones, Effect::Gamma, 1.0).image.pixel(0, 0), qRgb(64, 0, 255));
    HGLOBAL dib = DibOf(tones);
    EXPECT_EQ(ApplyEffect(Effect::Gamma, dib, 0.0), nullptr) << "gamma must be above 0";
    FreeDib(dib);
}

TEST_F(Filters, GreyscaleUsesLuminanceAndKeepsAPalettePicturesDepth) {
    QImage colours(4, 1, QImage::Format_RGB32);
    colours.setPixel(0, 0, qRgb(255, 0, 0));
    colours.setPixel(1, 0, qRgb(0, 255, 0));
    colours.setPixel(2, 0, qRgb(0, 0, 255));
    colours.setPixel(3, 0, qRgb(255, 255, 255));
    const Applied grey = Apply(colours, Effect::Greyscale);
    EXPECT_EQ(grey.bits, 24);
    EXPECT_EQ(grey.image.pixel(0, 0), qRgb(76, 76, 76));
    EXPECT_EQ(grey.image.pixel(1, 0), qRgb(150, 150, 150));
    EXPECT_EQ(grey.image.pixel(2, 0), qRgb(29, 29, 29));
    EXPECT_EQ(grey.image.pixel(3, 0), qRgb(255, 255, 255));

    QImage indexed(5, 3, QImage::Format_Indexed8);
    indexed.setColorTable({qRgb(255, 0, 0), qRgb(10, 20, 30)});
    indexed.fill(0);
    indexed.setPixel(4, 2, 1);
    const Applied palette = Apply(indexed, Effect::Brightness, 20, 0);
    EXPECT_LE(palette.sourceBits, 8);
    EXPECT_EQ(palette.bits, palette.sourceBits);
    EXPECT_EQ(palette.image.pixel(0, 0), qRgb(255, 20, 20));
    EXPECT_EQ(palette.image.pixel(4, 2), qRgb(30, 40, 50));
}

TEST_F(Filters, MirrorAndFlipMovePixelsAtEveryDepth) {
    // Nine pixels a row: the one-bit rows cross a byte, the odd width has a middle pixel.
    QImage source(9, 3, QImage::Format_RGB32);
    source.fill(Qt::white);
    source.setPixel(0, 0, qRgb(0, 0, 0));
    source.setPixel(2, 1, qRgb(0, 0, 0));
    source.setPixel(4, 2, qRgb(0, 0, 0));
    for (QImage::Format format :
         {QImage::Format_RGB32, QImage::Format_Mono, QImage::Format_Indexed8}) {
        SCOPED_TRACE(format);
        const QImage image = source.convertToFormat(format);
        const Applied mirrored = Apply(image, Effect::MirrorLeftRight);
        EXPECT_EQ(mirrored.bits, format == QImage::Format_RGB32 ? 24 : mirrored.sourceBits);
        EXPECT_EQ(mirrored.sourceBits == 1, format == QImage::Format_Mono);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 9; ++x)
                ASSERT_EQ(mirrored.image.pixel(x, y), source.pixel(8 - x, y)) << x << "," << y;
        const Applied flipped = Apply(image, Effect::FlipTopBottom);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 9; ++x)
                ASSERT_EQ(flipped.image.pixel(x, y), source.pixel(x, 2 - y)) << x << "," << y;
    }
}

TEST_F(Filters, BlurSpreadsAPointAndSharpenSteepensAnEdge) {
    QImage point = Filled(21, 21, qRgb(0, 0, 0));
    point.setPixel(10, 10, qRgb(255, 255, 255));
    const QImage blurred = Apply(point, Effect::Blur, 2).image;
    EXPECT_LT(qRed(blurred.pixel(10, 10)), 255);
    EXPECT_GT(qRed(blurred.pixel(10, 10)), qRed(blurred.pixel(12, 10)));
    EXPECT_GT(qRed(blurred.pixel(12, 12)), 0);
    EXPECT_EQ(blurred.pixel(0, 0), qRgb(0, 0, 0));
    // Symmetric about the point.
    EXPECT_EQ(blurred.pixel(8, 10), blurred.pixel(12, 10));
    EXPECT_EQ(blurred.pixel(10, 7), blurred.pixel(10, 13));
    // A flat picture stays flat through both, edges included.
    const QImage flat = Filled(7, 5, qRgb(90, 140, 30));
    EXPECT_EQ(Apply(flat, Effect::Blur, 3).image, flat);
    EXPECT_EQ(Apply(flat, Effect::Sharpen, 200).image, flat);

    QImage edge = Filled(8, 4, qRgb(100, 100, 100));
    for (int y = 0; y < 4; ++y)
        for (int x = 4; x < 8; ++x)
            edge.setPixel(x, y, qRgb(200, 200, 200));
    const QImage sharp = Apply(edge, Effect::Sharpen, 100).image;
    EXPECT_LT(qRed(sharp.pixel(3, 1)), 100); // the dark side darker at the edge
    EXPECT_GT(qRed(sharp.pixel(4, 1)), 200); // the light side lighter
    EXPECT_EQ(qRed(sharp.pixel(0, 1)), 100); // away from it unchanged
    EXPECT_EQ(qRed(sharp.pixel(7, 1)), 200);
}

TEST_F(Filters, BlocksThatAreNoPictureAndOutOfRangeValuesGiveNothing) {
    HGLOBAL junk = GlobalAlloc(GMEM_MOVEABLE, 64);
    std::memset(GlobalLock(junk), 0x7F, 64);
    GlobalUnlock(junk);
    for (Effect effect :
         {Effect::Brightness, Effect::Gamma, Effect::Greyscale, Effect::MirrorLeftRight,
          Effect::FlipTopBottom, Effect::Blur, Effect::Sharpen})
        EXPECT_EQ(ApplyEffect(effect, junk, 1), nullptr);
    GlobalFree(junk);
    HGLOBAL dib = DibOf(Filled(2, 2, qRgb(1, 2, 3)));
    EXPECT_EQ(ApplyEffect(Effect::Blur, dib, 0), nullptr);
    EXPECT_EQ(ApplyEffect(Effect::Blur, dib, 33), nullptr);
    EXPECT_EQ(ApplyEffect(Effect::Sharpen, dib, 501), nullptr);
    FreeDib(dib);
}

} // namespace

TEST(EffectRows, EveryRowNamesAnExportOfTheEffectsEngineAndEveryEffectHasItsRow) {
    for (const EffectRow& row : EffectRows()) {
        SCOPED_TRACE(row.Name);
        EXPECT_NE(EffectsBinding::Instance().Function(row.Export), nullptr);
        EXPECT_LE(row.Low, row.Initial);
        EXPECT_LE(row.Initial, std::max(row.High, row.Low));
    }
    for (Effect effect :
         {Effect::Brightness, Effect::Gamma, Effect::Greyscale, Effect::MirrorLeftRight,
          Effect::FlipTopBottom, Effect::Blur, Effect::Sharpen}) {
        const EffectRow& row = RowOf(effect);
        EXPECT_EQ(row.Id, effect) << row.Name;
    }
}
