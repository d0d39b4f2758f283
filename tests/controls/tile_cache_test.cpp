// SPDX-License-Identifier: MIT
// The tiles in memory (bounded, least recently used out) and their bytes on disk (read back
// exactly; anything else refused).
#include "controls/overview/tile_cache.h"

#include <QDataStream>
#include <QIODevice>
#include <gtest/gtest.h>
#include <zstd.h>

namespace {

controls::Tile Picture(int side, QRgb colour, qreal ratio = 1) {
    controls::Tile tile;
    tile.Image = QImage(side, side, QImage::Format_ARGB32_Premultiplied);
    tile.Image.fill(colour);
    tile.Image.setDevicePixelRatio(ratio);
    return tile;
}

TEST(TileCache, KeepsTheMostRecentlyUsedWithinItsBound) {
    const qint64 one = Picture(64, 0).Bytes();
    controls::TileCache cache(one * 3);
    for (int i = 0; i < 3; ++i)
        cache.Insert({i, 64, 100}, Picture(64, qRgb(i, 0, 0)));
    ASSERT_NE(cache.Find({0, 64, 100}), nullptr); // 0 used again: 1 is now the oldest
    cache.Insert({3, 64, 100}, Picture(64, 0));
    EXPECT_EQ(cache.Count(), 3);
    EXPECT_EQ(cache.Find({1, 64, 100}), nullptr);
    EXPECT_NE(cache.Find({0, 64, 100}), nullptr);
    EXPECT_LE(cache.Bytes(), cache.Limit());
    // The same key again replaces, another size or density is another tile.
    cache.Insert({3, 64, 100}, Picture(64, qRgb(9, 9, 9)));
    EXPECT_EQ(cache.Count(), 3);
    EXPECT_EQ(cache.Find({3, 64, 100})->Image.pixel(0, 0), qRgb(9, 9, 9));
    EXPECT_FALSE(cache.Contains({3, 64, 200}));
    // A tile larger than the whole bound stays alone: it is about to be painted.
    cache.Insert({4, 256, 100}, Picture(256, 0));
    EXPECT_EQ(cache.Count(), 1);
    cache.SetLimit(0);
    EXPECT_EQ(cache.Count(), 1);
    cache.Clear();
    EXPECT_EQ(cache.Count(), 0);
    EXPECT_EQ(cache.Bytes(), 0);
}

TEST(TileBytes, PicturesAndLabelsComeBackExactlyBrokenTilesAreNotKept) {
    controls::Tile picture = Picture(48, qRgba(10, 20, 30, 255), 2);
    picture.Image.setPixel(5, 7, qRgba(0, 0, 0, 0));
    const auto back = controls::Tile::FromStored(picture.Stored());
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->What, controls::Tile::Kind::Picture);
    EXPECT_EQ(back->Image, picture.Image);
    EXPECT_EQ(back->Image.devicePixelRatio(), 2);

    controls::Tile label;
    label.What = controls::Tile::Kind::Label;
    label.Text = "Credit message";
    const auto labelBack = controls::Tile::FromStored(label.Stored());
    ASSERT_TRUE(labelBack.has_value());
    EXPECT_EQ(labelBack->What, controls::Tile::Kind::Label);
    EXPECT_EQ(labelBack->Text, "Credit message");

    controls::Tile broken;
    broken.What = controls::Tile::Kind::Broken;
    broken.Text = "Engine not loaded";
    EXPECT_TRUE(broken.Stored().isEmpty());
}

// Bytes packed as a stored tile packs its pixels, with or without the size they unpack to.
QByteArray Packed(const QByteArray& bytes, bool withSize = true) {
    ZSTD_CCtx* context = ZSTD_createCCtx();
    ZSTD_CCtx_setParameter(context, ZSTD_c_contentSizeFlag, withSize ? 1 : 0);
    ZSTD_CCtx_setParameter(context, ZSTD_c_checksumFlag, 1);
    QByteArray out(qsizetype(ZSTD_compressBound(size_t(bytes.size()))), '\0');
    const size_t size = ZSTD_compress2(context, out.data(), size_t(out.size()), bytes.constData(),
                                       size_t(bytes.size()));
    ZSTD_freeCCtx(context);
    out.truncate(qsizetype(size));
    return out;
}

TEST(TileBytes, BytesThatDoNotHoldATileAreRefused) {
    const QByteArray good = Picture(16, qRgb(1, 2, 3)).Stored();
    EXPECT_FALSE(controls::Tile::FromStored({}).has_value());
    for (qsizetype cut : {qsizetype(3), qsizetype(10), good.size() / 2, good.size() - 1})
        EXPECT_FALSE(controls::Tile::FromStored(good.left(cut)).has_value()) << cut;
    QByteArray magic = good;
    magic[0] = 'X';
    EXPECT_FALSE(controls::Tile::FromStored(magic).has_value());
    // Sizes that do not match the pixels, or that no tile has.
    auto forged = [](qint32 width, qint32 height, double ratio, const QByteArray& packed) {
        QByteArray out;
        QDataStream stream(&out, QIODevice::WriteOnly);
        stream << quint32(0x564c5432) << quint8(0) << QString() << width << height << ratio
               << packed;
        return out;
    };
    const QByteArray pixels(16 * 16 * 4, '\x7f');
    EXPECT_TRUE(controls::Tile::FromStored(forged(16, 16, 1, Packed(pixels))).has_value());
    EXPECT_FALSE(controls::Tile::FromStored(forged(16, 17, 1, Packed(pixels))).has_value());
    EXPECT_FALSE(controls::Tile::FromStored(forged(-16, -16, 1, Packed(pixels))).has_value());
    EXPECT_FALSE(controls::Tile::FromStored(forged(65536, 65536, 1, Packed(pixels))).has_value());
    EXPECT_FALSE(controls::Tile::FromStored(forged(16, 16, 0, Packed(pixels))).has_value());
    EXPECT_FALSE(
        controls::Tile::FromStored(forged(16, 16, 1, Packed("too few pixels"))).has_value());
    // A block that does not say what it unpacks to, or says more than the picture holds, is
    // refused before unpacking; one that lies about its contents is refused by the unpacking.
    EXPECT_FALSE(controls::Tile::FromStored(forged(16, 16, 1, Packed(pixels, false))).has_value());
    EXPECT_FALSE(
        controls::Tile::FromStored(forged(16, 16, 1, Packed(QByteArray(1 << 20, 0)))).has_value());
    QByteArray damaged = Packed(pixels);
    damaged[damaged.size() - 2] = char(damaged[damaged.size() - 2] ^ 0x5a);
    damaged[damaged.size() / 2] = char(damaged[damaged.size() / 2] ^ 0x5a);
    EXPECT_FALSE(controls::Tile::FromStored(forged(16, 16, 1, damaged)).has_value());
}

} // namespace
