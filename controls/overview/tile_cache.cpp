// SPDX-License-Identifier: MIT
#include "controls/overview/tile_cache.h"

#include <QDataStream>
#include <QIODevice>

#include <zstd.h>

#include <memory>

namespace controls {

namespace {
constexpr quint32 kMagic = 0x564c5432; // "VLT2"
constexpr qint64 kEntryBytes = 96;     // the bookkeeping of one cached tile
} // namespace

qint64 Tile::Bytes() const {
    return kEntryBytes + Image.sizeInBytes() + Text.size() * 2;
}

QByteArray Tile::Stored() const {
    if (What == Kind::Broken)
        return {};
    QByteArray out;
    QDataStream stream(&out, QIODevice::WriteOnly);
    stream << kMagic << quint8(What) << Text;
    if (What == Kind::Picture) {
        const QImage image = Image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
        stream << qint32(image.width()) << qint32(image.height())
               << double(image.devicePixelRatio());
        // Tiles are small and read far more often than written: a fast compression of the
        // raw pixels unpacks straight into the picture, quicker than any picture format.
        QByteArray packed(qsizetype(ZSTD_compressBound(size_t(image.sizeInBytes()))),
                          Qt::Uninitialized);
        const size_t size = ZSTD_compress(packed.data(), size_t(packed.size()), image.constBits(),
                                          size_t(image.sizeInBytes()), 1);
        if (ZSTD_isError(size))
            return {};
        packed.truncate(qsizetype(size));
        stream << packed;
    }
    return out;
}

std::optional<Tile> Tile::FromStored(const QByteArray& bytes) {
    QDataStream stream(bytes);
    quint32 magic = 0;
    quint8 kind = 0;
    Tile tile;
    stream >> magic >> kind >> tile.Text;
    if (stream.status() != QDataStream::Ok || magic != kMagic || kind > quint8(Kind::Label))
        return std::nullopt;
    tile.What = Kind(kind);
    if (tile.What == Kind::Label)
        return tile;
    qint32 width = 0, height = 0;
    double ratio = 1;
    QByteArray packed;
    stream >> width >> height >> ratio >> packed;
    // No tile is larger than the largest tile (256) at the densest screen (8 device pixels a
    // logical one).
    if (stream.status() != QDataStream::Ok || width <= 0 || height <= 0 || width > 2048 ||
        height > 2048 || !(ratio >= 0.25 && ratio <= 16))
        return std::nullopt;
    // The compressed block names the size it unpacks to: it must be the picture's, and it
    // unpacks into the picture's own pixels, never past them.
    const qsizetype expected = qsizetype(width) * height * 4;
    if (ZSTD_getFrameContentSize(packed.constData(), size_t(packed.size())) !=
        static_cast<unsigned long long>(expected))
        return std::nullopt;
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull() || image.sizeInBytes() != expected)
        return std::nullopt;
    // One unpacking context a thread, made once (each call would make and free its own).
    thread_local const std::unique_ptr<ZSTD_DCtx, size_t (*)(ZSTD_DCtx*)> context(ZSTD_createDCtx(),
                                                                                  ZSTD_freeDCtx);
    if (!context)
        return std::nullopt;
    const size_t unpacked = ZSTD_decompressDCtx(context.get(), image.bits(), size_t(expected),
                                                packed.constData(), size_t(packed.size()));
    if (ZSTD_isError(unpacked) || unpacked != size_t(expected))
        return std::nullopt;
    image.setDevicePixelRatio(ratio);
    tile.Image = std::move(image);
    return tile;
}

const Tile* TileCache::Find(const TileKey& key) {
    const auto it = where_.find(key);
    if (it == where_.end())
        return nullptr;
    order_.splice(order_.begin(), order_, it->second);
    return &it->second->second;
}

void TileCache::Insert(const TileKey& key, Tile tile) {
    if (const auto it = where_.find(key); it != where_.end()) {
        bytes_ -= it->second->second.Bytes();
        order_.erase(it->second);
        where_.erase(it);
    }
    bytes_ += tile.Bytes();
    order_.emplace_front(key, std::move(tile));
    where_[key] = order_.begin();
    Trim();
}

void TileCache::Trim() {
    // The tile just put in stays, even alone over the bound: it is about to be painted.
    while (bytes_ > limit_ && order_.size() > 1) {
        bytes_ -= order_.back().second.Bytes();
        where_.erase(order_.back().first);
        order_.pop_back();
    }
}

void TileCache::Clear() {
    order_.clear();
    where_.clear();
    bytes_ = 0;
}

void TileCache::SetLimit(qint64 limitBytes) {
    limit_ = limitBytes;
    Trim();
}

} // namespace controls
