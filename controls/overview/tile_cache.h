// SPDX-License-Identifier: MIT
#pragma once

#include "data/thumbnail_store.h"

#include <QByteArray>
#include <QImage>
#include <QString>

#include <cstdint>
#include <list>
#include <optional>
#include <unordered_map>

namespace controls {

/// Which tile: the record, the tile's side in logical pixels and the screen density.
using TileKey = data::ThumbnailStore::Key;

struct TileKeyHash {
    std::size_t operator()(const TileKey& key) const noexcept {
        return std::hash<std::int64_t>()(key.RowId * 1'000'003 + key.Pixels * 1009 + key.Density);
    }
};
struct TileKeyEqual {
    bool operator()(const TileKey& a, const TileKey& b) const noexcept {
        return a.Tie() == b.Tie();
    }
};

/// What one tile shows.
struct Tile {
    enum class Kind : std::uint8_t {
        Picture, // Image: the picture fitted into the tile's square, in device pixels
        Label,   // Text: the kind of a record that has no picture to show
        Broken,  // Text: the engine's message about a picture it refused
    };
    Kind What = Kind::Picture;
    QImage Image;
    QString Text;

    qint64 Bytes() const;
    /// The bytes a disk cache keeps (a picture compressed); a broken tile keeps nothing, as the
    /// fault may be passing (an engine that could not be loaded).
    QByteArray Stored() const;
    /// A tile from a disk cache's bytes; nothing for bytes that do not hold one.
    static std::optional<Tile> FromStored(const QByteArray& bytes);
};

/// The tiles in memory: the most recently used kept within a bound in bytes.
class TileCache {
public:
    explicit TileCache(qint64 limitBytes)
        : limit_(limitBytes) {}

    /// The tile, which becomes the most recently used; null when it is not held.
    const Tile* Find(const TileKey& key);
    bool Contains(const TileKey& key) const { return where_.count(key) != 0; }
    void Insert(const TileKey& key, Tile tile);
    void Clear();
    void SetLimit(qint64 limitBytes);
    qint64 Limit() const { return limit_; }
    qint64 Bytes() const { return bytes_; }
    int Count() const { return int(where_.size()); }

private:
    void Trim();

    using Entry = std::pair<TileKey, Tile>;
    qint64 limit_;
    qint64 bytes_ = 0;
    std::list<Entry> order_; // most recently used first
    std::unordered_map<TileKey, std::list<Entry>::iterator, TileKeyHash, TileKeyEqual> where_;
};

} // namespace controls
