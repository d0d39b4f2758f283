// SPDX-License-Identifier: MIT
#include "data/thumbnail_store.h"

#include "data/table_file.h"

#define SQLITE_HAS_CODEC 1
#include <sqlcipher/sqlite3.h>

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace data {

namespace {

// The version of what a cache file holds; a file of another is made again (2: tiles packed
// with zstd).
constexpr int kVersion = 2;

// A prepared statement that finalises itself; a failed preparation leaves it empty.
class Query {
public:
    Query(sqlite3* db, const char* sql) {
        if (sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr) != SQLITE_OK)
            stmt_ = nullptr;
    }
    ~Query() { sqlite3_finalize(stmt_); }
    Query(const Query&) = delete;
    Query& operator=(const Query&) = delete;
    explicit operator bool() const { return stmt_ != nullptr; }
    sqlite3_stmt* operator*() const { return stmt_; }
    void Bind(const ThumbnailStore::Key& key) {
        sqlite3_bind_int64(stmt_, 1, key.RowId);
        sqlite3_bind_int(stmt_, 2, key.Pixels);
        sqlite3_bind_int(stmt_, 3, key.Density);
    }
    int Step() { return sqlite3_step(stmt_); }
    void Reset() {
        sqlite3_reset(stmt_);
        sqlite3_clear_bindings(stmt_);
    }

private:
    sqlite3_stmt* stmt_ = nullptr;
};

} // namespace

ThumbnailStore::~ThumbnailStore() {
    Close();
}

QString ThumbnailStore::FileFor(const QString& cacheFolder, const QString& cataloguePath) {
    const QByteArray path = QFileInfo(cataloguePath).absoluteFilePath().toUtf8();
    const QByteArray hash = QCryptographicHash::hash(path, QCryptographicHash::Sha256).toHex();
    return QDir(cacheFolder)
        .filePath(QString::fromLatin1(hash.left(32)) + QStringLiteral(".thumbs.db"));
}

QString ThumbnailStore::IdentityOf(const QString& cataloguePath) {
    const QFileInfo info(cataloguePath);
    return QStringLiteral("%1\n%2\n%3")
        .arg(info.absoluteFilePath())
        .arg(info.size())
        .arg(info.lastModified().toMSecsSinceEpoch());
}

bool ThumbnailStore::Open(const QString& path, const QByteArray& key, const QString& identity,
                          qint64 limitBytes) {
    Close();
    path_ = path;
    key_ = key;
    identity_ = identity;
    limit_ = limitBytes;
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (OpenFile(key, identity))
        return true;
    // Not ours, not of this catalogue, or damaged: it goes, and a new one is made.
    Close();
    QFile::remove(path);
    if (OpenFile(key, identity))
        return true;
    Close();
    return false;
}

bool ThumbnailStore::OpenFile(const QByteArray& key, const QString& identity) {
    const QByteArray name = QFile::encodeName(path_);
    if (sqlite3_open_v2(name.constData(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                        nullptr) != SQLITE_OK)
        return false;
    // The store's key is made from the catalogue's: a raw 256-bit key, so opening the cache
    // (once a catalogue, and again after damage) skips the slow key derivation a password
    // takes, while the file still reads only with the catalogue's key.
    const QByteArray raw =
        "x'" +
        QCryptographicHash::hash("vellamore thumbnails\n" + key, QCryptographicHash::Sha256)
            .toHex() +
        "'";
    if (KeyDatabase(db_, raw) != SQLITE_OK)
        return false;
    sqlite3_busy_timeout(db_, 2000); // another instance of the program may be writing
    // A cache: losing the last writes to a crash costs a redraw, never a wrong picture (the
    // transaction either lands whole or not at all).
    if (!Exec("PRAGMA synchronous = OFF") ||
        !Exec("CREATE TABLE IF NOT EXISTS meta (name TEXT PRIMARY KEY, value TEXT)") ||
        !Exec("CREATE TABLE IF NOT EXISTS tiles (record INTEGER, pixels INTEGER, density "
              "INTEGER, used INTEGER, bytes BLOB, PRIMARY KEY (record, pixels, density))") ||
        !Exec("CREATE INDEX IF NOT EXISTS tiles_used ON tiles (used)"))
        return false;
    const QString expected = QStringLiteral("%1\n%2").arg(kVersion).arg(identity);
    {
        Query read(db_, "SELECT value FROM meta WHERE name = 'catalogue'");
        if (!read)
            return false;
        const int code = read.Step();
        if (code == SQLITE_ROW) {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(*read, 0));
            const QString stored = QString::fromUtf8(text, sqlite3_column_bytes(*read, 0));
            if (stored != expected)
                return false;
        } else if (code == SQLITE_DONE) {
            Query write(db_, "INSERT INTO meta (name, value) VALUES ('catalogue', ?)");
            const QByteArray value = expected.toUtf8();
            if (!write)
                return false;
            sqlite3_bind_text(*write, 1, value.constData(), int(value.size()), SQLITE_TRANSIENT);
            if (write.Step() != SQLITE_DONE)
                return false;
        } else {
            return false;
        }
    }
    Query totals(db_, "SELECT COALESCE(SUM(LENGTH(bytes)), 0), COALESCE(MAX(used), 0) FROM tiles");
    if (!totals || totals.Step() != SQLITE_ROW)
        return false;
    bytes_ = sqlite3_column_int64(*totals, 0);
    clock_ = sqlite3_column_int64(*totals, 1);
    return true;
}

void ThumbnailStore::Close() {
    if (db_) {
        Flush();
        ForgetStatements();
        sqlite3_close_v2(db_);
    }
    db_ = nullptr;
    pending_.clear();
    touched_.clear();
    bytes_ = 0;
    clock_ = 0;
}

void ThumbnailStore::ForgetStatements() {
    sqlite3_finalize(read_);
    read_ = nullptr;
}

bool ThumbnailStore::Exec(const char* sql) {
    return db_ && sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

void ThumbnailStore::Failed(int code) {
    code &= 0xff;
    if (code == SQLITE_CORRUPT || code == SQLITE_NOTADB || code == SQLITE_FORMAT)
        Rebuild();
}

void ThumbnailStore::Rebuild() {
    const QString path = path_;
    const QByteArray key = key_;
    const QString identity = identity_;
    const qint64 limit = limit_;
    pending_.clear();
    touched_.clear();
    ForgetStatements();
    if (db_)
        sqlite3_close_v2(db_);
    db_ = nullptr;
    QFile::remove(path);
    Open(path, key, identity, limit);
}

std::optional<QByteArray> ThumbnailStore::Get(const Key& key) {
    if (!db_)
        return std::nullopt;
    if (auto waiting = pending_.find(key); waiting != pending_.end()) {
        touched_[key] = ++clock_;
        return waiting->second;
    }
    // Read once for every tile of a screen: prepared once while the file is open.
    if (!read_ && sqlite3_prepare_v2(db_,
                                     "SELECT bytes FROM tiles WHERE record = ? AND pixels = ? AND "
                                     "density = ?",
                                     -1, &read_, nullptr) != SQLITE_OK) {
        read_ = nullptr;
        Failed(sqlite3_errcode(db_));
        return std::nullopt;
    }
    sqlite3_bind_int64(read_, 1, key.RowId);
    sqlite3_bind_int(read_, 2, key.Pixels);
    sqlite3_bind_int(read_, 3, key.Density);
    const int code = sqlite3_step(read_);
    std::optional<QByteArray> bytes;
    if (code == SQLITE_ROW) {
        bytes.emplace(static_cast<const char*>(sqlite3_column_blob(read_, 0)),
                      sqlite3_column_bytes(read_, 0));
        touched_[key] = ++clock_;
    }
    sqlite3_reset(read_);
    if (code != SQLITE_ROW && code != SQLITE_DONE)
        Failed(code);
    return bytes;
}

void ThumbnailStore::Put(const Key& key, const QByteArray& bytes) {
    if (!db_)
        return;
    pending_[key] = bytes;
    touched_.erase(key);
    bytes_ += bytes.size();
}

void ThumbnailStore::Flush() {
    if (!db_ || (pending_.empty() && touched_.empty()))
        return;
    bool ok = Exec("BEGIN");
    {
        Query put(db_, "INSERT OR REPLACE INTO tiles (record, pixels, density, used, bytes) "
                       "VALUES (?, ?, ?, ?, ?)");
        Query touch(db_, "UPDATE tiles SET used = ? WHERE record = ? AND pixels = ? AND "
                         "density = ?");
        ok = ok && put && touch;
        for (auto it = pending_.begin(); ok && it != pending_.end(); ++it) {
            put.Bind(it->first);
            sqlite3_bind_int64(*put, 4, ++clock_);
            sqlite3_bind_blob(*put, 5, it->second.constData(), int(it->second.size()),
                              SQLITE_STATIC);
            ok = put.Step() == SQLITE_DONE;
            put.Reset();
        }
        for (auto it = touched_.begin(); ok && it != touched_.end(); ++it) {
            sqlite3_bind_int64(*touch, 1, it->second);
            sqlite3_bind_int64(*touch, 2, it->first.RowId);
            sqlite3_bind_int(*touch, 3, it->first.Pixels);
            sqlite3_bind_int(*touch, 4, it->first.Density);
            ok = touch.Step() == SQLITE_DONE;
            touch.Reset();
        }
    }
    pending_.clear();
    touched_.clear();
    if (!ok || !Exec("COMMIT")) {
        const int code = sqlite3_errcode(db_);
        Exec("ROLLBACK");
        Failed(code);
        return;
    }
    if (bytes_ > limit_)
        Evict();
}

void ThumbnailStore::Evict() {
    Query total(db_, "SELECT COALESCE(SUM(LENGTH(bytes)), 0) FROM tiles");
    if (!total || total.Step() != SQLITE_ROW)
        return Failed(sqlite3_errcode(db_));
    bytes_ = sqlite3_column_int64(*total, 0);
    if (bytes_ <= limit_)
        return;
    // Down to nine tenths of the bound, so the next few puts do not evict again at once.
    const qint64 target = limit_ - limit_ / 10;
    Query oldest(db_, "SELECT record, pixels, density, LENGTH(bytes) FROM tiles ORDER BY used");
    Query drop(db_, "DELETE FROM tiles WHERE record = ? AND pixels = ? AND density = ?");
    if (!oldest || !drop)
        return Failed(sqlite3_errcode(db_));
    std::vector<Key> gone;
    qint64 left = bytes_;
    while (left > target && oldest.Step() == SQLITE_ROW) {
        gone.push_back({sqlite3_column_int64(*oldest, 0), sqlite3_column_int(*oldest, 1),
                        sqlite3_column_int(*oldest, 2)});
        left -= sqlite3_column_int64(*oldest, 3);
    }
    bool ok = Exec("BEGIN");
    for (size_t i = 0; ok && i < gone.size(); ++i) {
        drop.Bind(gone[i]);
        ok = drop.Step() == SQLITE_DONE;
        drop.Reset();
    }
    if (!ok || !Exec("COMMIT")) {
        const int code = sqlite3_errcode(db_);
        Exec("ROLLBACK");
        return Failed(code);
    }
    bytes_ = left;
}

void ThumbnailStore::Clear() {
    pending_.clear();
    touched_.clear();
    if (!Exec("DELETE FROM tiles"))
        return Failed(sqlite3_errcode(db_));
    Exec("VACUUM");
    bytes_ = 0;
}

void ThumbnailStore::SetLimit(qint64 limitBytes) {
    limit_ = limitBytes;
    if (db_)
        Evict();
}

int ThumbnailStore::Count() const {
    if (!db_)
        return 0;
    Query count(db_, "SELECT COUNT(*) FROM tiles");
    return count && count.Step() == SQLITE_ROW ? sqlite3_column_int(*count, 0) : 0;
}

} // namespace data
