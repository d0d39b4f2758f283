// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <map>
#include <optional>
#include <tuple>

struct sqlite3;
struct sqlite3_stmt;

namespace data {

/// The thumbnails of one catalogue kept between runs: an encrypted database file (locked with
/// the catalogue's own key, as the collection is), each picture stored by record, size and
/// screen density, bounded in bytes with the least recently used going first. A file that
/// does not open with the key, is damaged, or was made for another catalogue file (another
/// path, or the same path rewritten) is thrown away and made again. Used from one thread at a
/// time; what is put or touched is written at the next Flush.
class ThumbnailStore {
public:
    struct Key {
        std::int64_t RowId = 0;
        int Pixels = 0;  // the tile's side in device pixels
        int Density = 0; // the screen's device pixels per logical pixel, in hundredths
        auto Tie() const { return std::tie(RowId, Pixels, Density); }
        bool operator<(const Key& other) const { return Tie() < other.Tie(); }
    };

    ThumbnailStore() = default;
    ~ThumbnailStore();
    ThumbnailStore(const ThumbnailStore&) = delete;
    ThumbnailStore& operator=(const ThumbnailStore&) = delete;

    /// The store file of a catalogue in a cache folder: one file a catalogue path.
    static QString FileFor(const QString& cacheFolder, const QString& cataloguePath);
    /// Who a catalogue file is: its path, size and time of change. A store made for another
    /// identity is thrown away.
    static QString IdentityOf(const QString& cataloguePath);

    /// Opens (or makes) the store file; false when it cannot be made at all (the program then
    /// runs without a disk cache).
    bool Open(const QString& path, const QByteArray& key, const QString& identity,
              qint64 limitBytes);
    void Close();
    bool IsOpen() const { return db_ != nullptr; }
    const QString& Path() const { return path_; }
    const QString& Identity() const { return identity_; }
    const QByteArray& CatalogueKey() const { return key_; }

    /// The stored bytes of a thumbnail; it becomes the most recently used.
    std::optional<QByteArray> Get(const Key& key);
    void Put(const Key& key, const QByteArray& bytes);
    /// Writes what was put and touched in one transaction, then lets the least recently used
    /// go until the store is within its bound.
    void Flush();
    /// Empties the store.
    void Clear();
    void SetLimit(qint64 limitBytes);
    /// The bytes of the stored thumbnails (written and waiting).
    qint64 Bytes() const { return bytes_; }
    int Count() const;

private:
    bool OpenFile(const QByteArray& key, const QString& identity);
    /// After a failure: a damaged file goes and an empty one takes its place; any other
    /// failure (a full disk, another program holding the file) leaves the file as it is.
    void Failed(int code);
    void Rebuild();
    bool Exec(const char* sql);
    void Evict();
    void ForgetStatements();

    sqlite3* db_ = nullptr;
    sqlite3_stmt* read_ = nullptr; // a tile's bytes by key
    QString path_;
    QByteArray key_;
    QString identity_;
    qint64 limit_ = 0;
    qint64 bytes_ = 0;
    std::int64_t clock_ = 0; // the last use given out
    std::map<Key, QByteArray> pending_;
    std::map<Key, std::int64_t> touched_;
};

} // namespace data
