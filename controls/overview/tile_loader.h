// SPDX-License-Identifier: MIT
#pragma once

#include "controls/overview/tile_cache.h"
#include "imaging/decoding/decoder.h"

#include <QObject>

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace data {
class TableFile;
} // namespace data

namespace controls {

/// Brings the tiles of the overview: from the memory cache, else from the disk cache (read on
/// a thread of its own), else decoded by the decoder's workers, what is asked first first.
/// Used from the GUI thread; a tile that arrives is put into the memory cache and announced
/// with TileReady. Nothing is decoded on the GUI thread, and nothing pushed into an undo ring.
class TileLoader : public QObject {
    Q_OBJECT
public:
    /// Reads a record's picture field (on the GUI thread, which owns the record source).
    using BlobReader = std::function<QByteArray(int record)>;
    /// A tile asked for, and the stored record it shows.
    struct Wanted {
        TileKey Key;
        int Record = -1;
    };

    TileLoader(imaging::Decoder& decoder, TileCache& cache, BlobReader read,
               QObject* parent = nullptr);
    /// Cancels what runs and waits for the disk cache to write what it holds.
    ~TileLoader() override;

    /// Opens a catalogue's disk cache (a file made when there is none); an empty path closes it.
    void OpenStore(const QString& path, const QByteArray& key, const QString& identity,
                   qint64 limitBytes);
    /// Reads the pictures of tiles that are not in the disk cache from the catalogue file
    /// itself, on the disk cache's thread through a connection of its own, so the GUI thread
    /// reads no picture bytes. Without it (or when the file does not open) the blob reader
    /// given at construction reads them on the GUI thread.
    void OpenCatalogue(const QString& path, const QByteArray& key, const QString& pictureColumn);
    void SetStoreLimit(qint64 limitBytes);
    /// Empties the memory and the disk cache.
    void ClearCaches();

    /// The tiles wanted now, the most urgent first. Those not yet held are looked for or
    /// decoded; decodes of tiles no longer wanted are dropped.
    void Want(const std::vector<Wanted>& tiles);
    /// Drops everything under way (a new catalogue, or another set of records).
    void Forget();

    /// Whether tiles are still being looked for or decoded.
    bool Busy() const { return !lookups_.empty() || !decodes_.empty(); }
    /// Waits until every wanted tile has arrived (tests and benchmarks; the GUI never waits).
    void WaitIdle();
    /// Waits until the disk cache has done what it was asked (tests and benchmarks).
    void WaitStore();
    /// Takes in what the threads have finished (called by itself through the event loop).
    void Collect();

    /// How tiles were brought (for tests and benchmarks).
    struct Counts {
        int FromStore = 0;
        int Decoded = 0;
        int Cancelled = 0;
        int ReadOnGui = 0; // pictures the GUI thread read for a decode
    };
    const Counts& Tally() const { return tally_; }

    /// What a tile shows for a decode's result: the picture as rendered, the kind of a record
    /// without one, or the engine's message about a picture it refused.
    static Tile TileOf(const imaging::DecodeResult& result);

signals:
    void TileReady(const controls::TileKey& key);

private:
    struct Arrival {
        TileKey Key;
        const void* Job = nullptr; // the decode it comes from; null from the disk cache
        bool Missed = false;       // looked for in the disk cache and not found
        Tile Result;
        std::uint64_t Generation = 0; // of the wants it answers; older ones are let go
    };
    // What the threads hand over; it outlives the loader for a decode that finishes late.
    struct Inbox {
        std::mutex Lock;
        std::condition_variable Arrived;
        std::vector<Arrival> Items;
        TileLoader* Owner = nullptr; // null once the loader is going
        bool Posted = false;
        void Deliver(Arrival arrival);
    };
    void StoreWork();
    void PostStore(std::function<void(data::ThumbnailStore&)> task);
    struct Urgency {
        int Priority = 0;
        int Record = -1;
    };
    void StartDecode(const TileKey& key, const Urgency& urgency);
    /// Hands the decoded tiles not yet stored to the disk cache's thread.
    void StoreUnstored();
    /// A decode request for a tile's picture bytes.
    static imaging::DecodeRequest RequestFor(const TileKey& key, QByteArray blob);
    /// Submits a decode whose result goes to the inbox.
    std::shared_ptr<imaging::DecodeJob> Submit(const TileKey& key, QByteArray blob, int priority,
                                               std::uint64_t generation);

    imaging::Decoder& decoder_;
    TileCache& cache_;
    BlobReader read_;
    bool storeOpen_ = false;
    bool catalogueOpen_ = false; // the store's thread reads the pictures
    Counts tally_;
    std::shared_ptr<Inbox> inbox_ = std::make_shared<Inbox>();

    // GUI thread only: the wanted tiles with their urgency, and what is under way.
    std::unordered_map<TileKey, Urgency, TileKeyHash, TileKeyEqual> wanted_;
    std::unordered_set<TileKey, TileKeyHash, TileKeyEqual> lookups_;
    std::unordered_map<TileKey, std::shared_ptr<imaging::DecodeJob>, TileKeyHash, TileKeyEqual>
        decodes_;
    // Decoded tiles not yet handed to the disk cache.
    static constexpr size_t kUnstoredMost = 256;
    std::vector<std::pair<TileKey, Tile>> unstored_;

    // The disk cache's thread and its tasks, under storeLock_.
    std::mutex storeLock_;
    std::condition_variable storeWake_;
    std::deque<std::function<void(data::ThumbnailStore&)>> storeTasks_;
    std::unordered_map<TileKey, int, TileKeyHash, TileKeyEqual> storeWanted_; // with priority
    // Decodes the store's thread started for the pictures it read.
    std::unordered_map<TileKey, std::shared_ptr<imaging::DecodeJob>, TileKeyHash, TileKeyEqual>
        storeDecodes_;
    bool storeStopping_ = false;
    // Bumped by Forget: what was asked before (another catalogue, emptied caches) is dropped
    // when it comes back. The GUI's copy, and the store's thread's under storeLock_.
    std::uint64_t generation_ = 0;
    std::uint64_t storeGeneration_ = 0;
    // The store's thread's own: a connection to the catalogue and its picture column.
    std::unique_ptr<data::TableFile> storeCatalogue_;
    int storePictureColumn_ = -1;
    std::thread storeThread_;
};

} // namespace controls
