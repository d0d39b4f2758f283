// SPDX-License-Identifier: MIT
#include "engines/dib/dib_layout.h"
#include "imaging/dib/dib.h"
#include "imaging/dib/dib_convert.h"
#include "imaging/engine/engine_calls.h"
#include "imaging/error_invalid.h"
#include "tests/support/fake_dialogs.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace imaging;

namespace {

class Conversion : public ::testing::Test {
protected:
    void SetUp() override {
        EngineBinding::Instance().Start();
        before = GlobalBlockCount();
    }
    void TearDown() override {
        EXPECT_EQ(GlobalBlockCount(), before) << "a block leaked";
        EngineBinding::Instance().End();
    }
    std::size_t before = 0;
    FakeDialogs dialogs;
};

// A DIB of a given depth whose pixels use a 16-entry table: index (x + y) % colours.
HGLOBAL IndexedDib(int bits, int width, int height) {
    auto palette = std::make_shared<TPalette>();
    for (int i = 0; i < (1 << bits); ++i)
        palette->Entries.push_back(
            {std::uint8_t(i * 15), std::uint8_t(255 - i * 15), std::uint8_t(i * 40), 0});
    ILTDib lens;
    lens.SetOwnsDib(false);
    EXPECT_TRUE(lens.CreateNew(palette, width, height, bits));
    const int stride = static_cast<int>(dib::RowStride(std::uint64_t(width), unsigned(bits)));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const unsigned v = unsigned(x + y) % (1u << bits);
            std::uint8_t* row = lens.Bits() + stride * y;
            if (bits == 8)
                row[x] = std::uint8_t(v);
            else if (bits == 4)
                row[x / 2] |= std::uint8_t((x & 1) ? v : v << 4);
            else if (v)
                row[x / 8] |= std::uint8_t(0x80 >> (x % 8));
        }
    HGLOBAL block = lens.Handle();
    lens.SetDib(nullptr);
    UnlockDib(block);
    return block;
}

QImage Shown(HGLOBAL dib) {
    TBitmap bitmap;
    EXPECT_EQ(DibHandleToBitmap(dib, bitmap), 1);
    return bitmap.Handle().convertToFormat(QImage::Format_RGB32);
}

TEST_F(Conversion, PromotionKeepsEveryColourAndRefusesWhatItCannotDo) {
    for (int from : {1, 4, 8}) {
        HGLOBAL source = IndexedDib(from, 13, 7);
        const QImage original = Shown(source);
        for (int to : {4, 8, 24}) {
            if (to <= from)
                continue;
            HGLOBAL promoted = PromoteDib(source, to);
            ASSERT_NE(promoted, nullptr) << from << " to " << to;
            EXPECT_EQ(DibBitCount(promoted), to);
            EXPECT_EQ(Shown(promoted), original) << from << " to " << to;
            FreeDib(promoted);
        }
        EXPECT_EQ(PromoteDib(source, from), nullptr);
        EXPECT_EQ(EngineBinding::Instance().ProgressText(), "Increasing colors ");
        FreeDib(source);
    }
    HGLOBAL eight = IndexedDib(8, 5, 5);
    HGLOBAL full = PromoteDib(eight, 24);
    FreeDib(eight);
    EXPECT_EQ(PromoteDib(full, 24), nullptr);
    EXPECT_EQ(PromoteDib(full, 8), nullptr);
    FreeDib(full);
}

TEST_F(Conversion, SixteenAndThirtyTwoBitBitmapsBecomeTwentyFourBitDibs) {
    for (QImage::Format format : {QImage::Format_RGB555, QImage::Format_RGB32}) {
        QImage image(9, 4, format);
        image.fill(QColor(248, 8, 128));
        TBitmap bitmap;
        bitmap.SetHandle(image);
        HGLOBAL dib = nullptr;
        BitmapToDib(&bitmap, &dib);
        ASSERT_NE(dib, nullptr);
        EXPECT_EQ(DibBitCount(dib), 24);
        EXPECT_EQ(Shown(dib).pixel(8, 3), image.convertToFormat(QImage::Format_RGB32).pixel(8, 3));
        // A 16-bit DIB asked for 16 bits comes back as 24 bits.
        FreeDib(dib);
    }
    ILTDib lens;
    lens.SetOwnsDib(false);
    ASSERT_TRUE(lens.CreateNew(nullptr, 6, 2, 16));
    HGLOBAL sixteen = lens.Handle();
    lens.SetDib(nullptr);
    UnlockDib(sixteen);
    HGLOBAL promoted = PromoteDib(sixteen, 16);
    ASSERT_NE(promoted, nullptr);
    EXPECT_EQ(DibBitCount(promoted), 24);
    FreeDib(promoted);
    FreeDib(sixteen);
}

TEST_F(Conversion, BitmapsKeepTheirPaletteDepthAndEmptyOnesAreRefused) {
    QImage indexed(10, 3, QImage::Format_Indexed8);
    indexed.setColorTable({qRgb(0, 0, 0), qRgb(255, 0, 0), qRgb(0, 255, 0)});
    indexed.fill(1);
    TBitmap bitmap;
    bitmap.SetHandle(indexed);
    HGLOBAL dib = nullptr;
    BitmapToDib(&bitmap, &dib);
    EXPECT_EQ(DibBitCount(dib), 4); // a 16-colour table is stored in 4 bits
    EXPECT_EQ(Shown(dib).pixel(9, 2), qRgb(255, 0, 0));
    FreeDib(dib);

    // With a palette given the table comes from it.
    auto palette = std::make_shared<TPalette>();
    palette->Entries = {{1, 2, 3, 0}, {10, 20, 30, 0}};
    BitmapHandleToDib(indexed, palette, &dib);
    EXPECT_EQ(Shown(dib).pixel(0, 0), qRgb(10, 20, 30));
    FreeDib(dib);

    TBitmap empty;
    EXPECT_THROW(BitmapToDib(&empty, &dib), ErrorInvalid);
    EXPECT_THROW(BitmapToDib(nullptr, &dib), ErrorInvalid);
    ILTDib object;
    EXPECT_FALSE(object.FromBitmap(empty, 8));
}

TEST_F(Conversion, FromBitmapNormalisesTheDepth) {
    QImage image(8, 8, QImage::Format_RGB32);
    for (int i = 0; i < 64; ++i)
        image.setPixel(i % 8, i / 8, qRgb(i * 4, 255 - i * 4, i % 2 * 255));
    TBitmap bitmap;
    bitmap.SetHandle(image);
    const struct {
        int asked, stored;
    } cases[] = {{16, 24}, {0, 4}, {32, 4}, {2, 1}, {8, 8}, {24, 24}};
    for (const auto& c : cases) {
        ILTDib dib;
        ASSERT_TRUE(dib.FromBitmap(bitmap, c.asked)) << c.asked;
        EXPECT_EQ(dib.BitCount(), c.stored) << c.asked;
        EXPECT_EQ(bool(dib.GetPalette()), c.stored <= 8);
    }
}

TEST_F(Conversion, DibsBecomeBitmapsAtTheAskedDepth) {
    HGLOBAL eight = IndexedDib(8, 20, 10);
    TBitmap bitmap;
    ASSERT_EQ(DibToBitmap(eight, 24, false, bitmap, nullptr, nullptr), 1);
    EXPECT_EQ(bitmap.Handle().format(), QImage::Format_BGR888);
    ASSERT_EQ(DibToBitmap(eight, 8, false, bitmap, nullptr, nullptr), 1);
    EXPECT_EQ(bitmap.Handle().format(), QImage::Format_Indexed8);
    ASSERT_TRUE(bitmap.Palette());
    EXPECT_EQ(bitmap.Palette()->Entries.size(), 256u);
    ASSERT_EQ(DibToBitmap(eight, 1, true, bitmap, nullptr, nullptr),
              1); // reduced by the effects engine
    EXPECT_EQ(bitmap.Handle().format(), QImage::Format_Mono);
    FreeDib(eight);
    EXPECT_EQ(DibToBitmap(nullptr, 8, false, bitmap, nullptr, nullptr), 0);
    HGLOBAL tiny = GlobalAlloc(GHND, 5);
    EXPECT_EQ(DibHandleToBitmap(tiny, bitmap), 0);
    FreeDib(tiny);
}

TEST_F(Conversion, RunLengthDibsAreDrawnThroughTheEngine) {
    // A 4 x 2 RLE8 DIB: bottom row 4 × colour 1, top row 2 × colour 2 then 2 × colour 3.
    const std::uint8_t rle[] = {4, 1, 0, 0, 2, 2, 2, 3, 0, 1};
    HGLOBAL dib = GlobalAlloc(GHND, 40 + 256 * 4 + sizeof rle);
    auto* p = static_cast<std::uint8_t*>(GlobalLock(dib));
    p[0] = 40;
    p[4] = 4;
    p[8] = 2;
    p[12] = 1;
    p[14] = 8;
    p[16] = 1;
    p[40 + 4 * 1 + 2] = 255; // colour 1 red
    p[40 + 4 * 2 + 1] = 255; // colour 2 green
    p[40 + 4 * 3 + 0] = 255; // colour 3 blue
    std::memcpy(p + 40 + 1024, rle, sizeof rle);
    GlobalUnlock(dib);
    const QImage image = Shown(dib);
    EXPECT_EQ(image.pixel(0, 1), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(1, 0), qRgb(0, 255, 0));
    EXPECT_EQ(image.pixel(3, 0), qRgb(0, 0, 255));
    FreeDib(dib);
}

} // namespace

TEST_F(Conversion, AnAdoptedDibIsWrittenFromItselfAndTheSamePixelsMakeTheSameFile) {
    QImage picture(37, 21, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, qRgb(x * 7, y * 11, (x + y) * 3));
    TBitmap plain;
    plain.SetHandle(picture);
    // The same pixels as a top-down 24-bit DIB the bitmap adopts.
    HGLOBAL dib = nullptr;
    BitmapToTopDownDib(&plain, &dib);
    ASSERT_NE(dib, nullptr);
    TBitmap adopted;
    ASSERT_EQ(AdoptDibAsBitmap(dib, 24, false, adopted, nullptr, nullptr), 1);
    EXPECT_EQ(AdoptedDibOf(adopted), dib);
    EXPECT_EQ(AdoptedDibOf(plain), nullptr);
    EXPECT_EQ(adopted.Handle().convertToFormat(QImage::Format_RGB32), picture);
    const TBitmap shared = adopted; // a copy shows the same rows
    EXPECT_EQ(AdoptedDibOf(shared), dib);

    QTemporaryDir dir;
    WriteOptions options;
    for (EngineFormat format : {EngineFormat::Bmp, EngineFormat::Jpeg, EngineFormat::Png}) {
        const QString a = dir.filePath(QStringLiteral("adopted")),
                      b = dir.filePath(QStringLiteral("plain"));
        ASSERT_TRUE(WriteBitmapFile(format, a, options, adopted, nullptr, nullptr));
        ASSERT_TRUE(WriteBitmapFile(format, b, options, plain, nullptr, nullptr));
        QFile fa(a), fb(b);
        ASSERT_TRUE(fa.open(QIODevice::ReadOnly) && fb.open(QIODevice::ReadOnly));
        EXPECT_EQ(fa.readAll(), fb.readAll()) << int(format);
    }
    EXPECT_EQ(adopted.Handle().convertToFormat(QImage::Format_RGB32), picture)
        << "writing leaves the picture as it was";

    // A changed copy is new memory: no longer the DIB's rows.
    TBitmap changed;
    QImage detached = adopted.Handle();
    detached.setPixel(0, 0, qRgb(1, 2, 3));
    changed.SetHandle(detached);
    EXPECT_EQ(AdoptedDibOf(changed), nullptr);
}
