// SPDX-License-Identifier: MIT
// The disk cache of thumbnails: kept between runs, bounded, locked with the catalogue's key,
// and thrown away (never trusted) when damaged, locked with another key or made for another
// catalogue file.
#include "data/thumbnail_store.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#define SQLITE_HAS_CODEC 1
#include <sqlcipher/sqlite3.h>

namespace {

using Key = data::ThumbnailStore::Key;

QByteArray Bytes(int seed, int size = 1000) {
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = char((seed * 131 + i * 7) & 0xff);
    return bytes;
}

class ThumbnailStoreTest : public ::testing::Test {
protected:
    QString Path() const { return dir.filePath("cache/one.thumbs.db"); }
    bool Open(data::ThumbnailStore& store, const QByteArray& key = "tamsin###",
              const QString& identity = "catalogue A", qint64 limit = 1 << 20) {
        return store.Open(Path(), key, identity, limit);
    }
    QTemporaryDir dir;
};

TEST_F(ThumbnailStoreTest, KeepsThumbnailsBetweenRunsBySizeAndDensity) {
    {
        data::ThumbnailStore store;
        ASSERT_TRUE(Open(store));
        store.Put({7, 128, 100}, Bytes(1));
        store.Put({7, 128, 200}, Bytes(2));
        store.Put({7, 64, 100}, Bytes(3));
        // Waiting to be written, still found.
        EXPECT_EQ(store.Get({7, 128, 200}), Bytes(2));
        store.Flush();
        EXPECT_EQ(store.Count(), 3);
    } // closing writes anything left
    data::ThumbnailStore again;
    ASSERT_TRUE(Open(again));
    EXPECT_EQ(again.Get({7, 128, 100}), Bytes(1));
    EXPECT_EQ(again.Get({7, 128, 200}), Bytes(2));
    EXPECT_EQ(again.Get({7, 64, 100}), Bytes(3));
    EXPECT_FALSE(again.Get({8, 128, 100}).has_value());
    EXPECT_EQ(again.Bytes(), 3000);
}

TEST_F(ThumbnailStoreTest, LetsTheLeastRecentlyUsedGoBeyondItsBound) {
    data::ThumbnailStore store;
    ASSERT_TRUE(Open(store, "tamsin###", "catalogue A", 10'000));
    for (int i = 0; i < 8; ++i)
        store.Put({i, 128, 100}, Bytes(i));
    store.Flush();
    // Record 0 is used again, so 1 and 2 are the oldest when more come.
    ASSERT_TRUE(store.Get({0, 128, 100}).has_value());
    store.Flush();
    for (int i = 8; i < 12; ++i)
        store.Put({i, 128, 100}, Bytes(i));
    store.Flush();
    EXPECT_LE(store.Bytes(), 10'000);
    EXPECT_TRUE(store.Get({0, 128, 100}).has_value());
    EXPECT_FALSE(store.Get({1, 128, 100}).has_value());
    EXPECT_FALSE(store.Get({2, 128, 100}).has_value());
    EXPECT_EQ(store.Get({11, 128, 100}), Bytes(11));
    // A smaller bound evicts at once; Clear empties it.
    store.SetLimit(3'000);
    EXPECT_LE(store.Bytes(), 3'000);
    EXPECT_TRUE(store.Get({11, 128, 100}).has_value());
    store.Clear();
    EXPECT_EQ(store.Count(), 0);
    EXPECT_EQ(store.Bytes(), 0);
}

TEST_F(ThumbnailStoreTest, IsThrownAwayForAnotherCatalogueAnotherKeyOrDamage) {
    auto fill = [&](const QByteArray& key, const QString& identity) {
        data::ThumbnailStore store;
        ASSERT_TRUE(Open(store, key, identity));
        store.Put({1, 128, 100}, Bytes(1));
    };
    auto holds = [&](const QByteArray& key, const QString& identity) {
        data::ThumbnailStore store;
        EXPECT_TRUE(Open(store, key, identity));
        const bool found = store.Get({1, 128, 100}).has_value();
        store.Put({2, 128, 100}, Bytes(2)); // a working store either way
        store.Flush();
        EXPECT_EQ(store.Get({2, 128, 100}), Bytes(2));
        return found;
    };
    fill("tamsin###", "catalogue A");
    EXPECT_TRUE(holds("tamsin###", "catalogue A"));
    EXPECT_FALSE(holds("tamsin###", "catalogue B")); // another catalogue: made anew
    fill("tamsin###", "catalogue A");
    EXPECT_FALSE(holds("other key", "catalogue A")); // cannot be read: made anew
    EXPECT_FALSE(holds("tamsin###", "catalogue A")); // and the old key no longer reads it

    // Damaged pages in the middle of the file, then a file of garbage.
    fill("tamsin###", "catalogue A");
    {
        QFile file(Path());
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_GT(file.size(), 4096);
        file.seek(4096 + 100);
        file.write(QByteArray(600, '\x5a'));
    }
    EXPECT_FALSE(holds("tamsin###", "catalogue A"));
    {
        QFile file(Path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(QByteArray(5000, '\x01'));
    }
    EXPECT_FALSE(holds("tamsin###", "catalogue A"));
}

TEST_F(ThumbnailStoreTest, CannotBeReadWithoutTheKey) {
    {
        data::ThumbnailStore store;
        ASSERT_TRUE(Open(store));
        store.Put({1, 128, 100}, QByteArray("a plainly readable thumbnail"));
    }
    QFile file(Path());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray raw = file.readAll();
    EXPECT_FALSE(raw.startsWith("SQLite format 3"));
    EXPECT_FALSE(raw.contains("plainly readable"));
    EXPECT_FALSE(raw.contains("catalogue A"));
    // The database engine without the key sees no database.
    sqlite3* db = nullptr;
    ASSERT_EQ(
        sqlite3_open_v2(QFile::encodeName(Path()).constData(), &db, SQLITE_OPEN_READONLY, nullptr),
        SQLITE_OK);
    EXPECT_NE(sqlite3_exec(db, "SELECT COUNT(*) FROM tiles", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
}

TEST(ThumbnailStoreFiles, OneFileACatalogueAndAnIdentityThatSeesRewrites) {
    QTemporaryDir dir;
    const QString a = dir.filePath("a/vlmor.db"), b = dir.filePath("b/vlmor.db");
    EXPECT_NE(data::ThumbnailStore::FileFor("/cache", a),
              data::ThumbnailStore::FileFor("/cache", b));
    EXPECT_EQ(data::ThumbnailStore::FileFor("/cache", a),
              data::ThumbnailStore::FileFor("/cache", a));
    EXPECT_TRUE(data::ThumbnailStore::FileFor("/cache", a).startsWith("/cache/"));
    QDir().mkpath(dir.filePath("a"));
    QFile file(a);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("one");
    file.close();
    const QString before = data::ThumbnailStore::IdentityOf(a);
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write("more");
    file.close();
    EXPECT_NE(data::ThumbnailStore::IdentityOf(a), before);
}

} // namespace
