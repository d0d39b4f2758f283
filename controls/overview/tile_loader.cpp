// SPDX-License-Identifier: MIT
#include "controls/overview/tile_loader.h"

#include "data/table_file.h"

#include <QCoreApplication>

#include <chrono>

#include <pthread.h>

namespace controls {

void TileLoader::Inbox::Deliver(Arrival arrival) {
    std::lock_guard hold(Lock);
    Items.push_back(std::move(arrival));
    Arrived.notify_all();
    // One wake-up for however many arrive before the GUI thread looks.
    if (Owner && !Posted) {
        Posted = true;
        QMetaObject::invokeMethod(Owner, &TileLoader::Collect, Qt::QueuedConnection);
    }
}

TileLoader::TileLoader(imaging::Decoder& decoder, TileCache& cache, BlobReader read,
                       QObject* parent)
    : QObject(parent)
    , decoder_(decoder)
    , cache_(cache)
    , read_(std::move(read)) {
    inbox_->Owner = this;
    storeThread_ = std::thread([this] { StoreWork(); });
}

TileLoader::~TileLoader() {
    StoreUnstored();
    {
        std::lock_guard hold(inbox_->Lock);
        inbox_->Owner = nullptr;
    }
    for (auto& [key, job] : decodes_)
        job->Cancel();
    {
        // Lookups still queued find themselves out of date and read nothing more.
        std::lock_guard hold(storeLock_);
        storeStopping_ = true;
        ++storeGeneration_;
        storeWanted_.clear();
        for (auto& [key, job] : storeDecodes_)
            job->Cancel();
    }
    storeWake_.notify_all();
    storeThread_.join();
}

// ---- The disk cache's thread -------------------------------------------------------------

void TileLoader::StoreWork() {
    pthread_setname_np(pthread_self(), "tile store"); // named for debuggers and profilers
    data::ThumbnailStore store;
    storeCatalogue_ = std::make_unique<data::TableFile>();
    for (;;) {
        std::function<void(data::ThumbnailStore&)> task;
        {
            std::unique_lock hold(storeLock_);
            if (storeTasks_.empty()) {
                // Idle: what was put and touched is written in one go.
                hold.unlock();
                store.Flush();
                hold.lock();
            }
            storeWake_.wait(hold, [this] { return storeStopping_ || !storeTasks_.empty(); });
            if (storeTasks_.empty())
                break;
            task = std::move(storeTasks_.front());
            storeTasks_.pop_front();
        }
        task(store);
    }
    store.Close();
    storeCatalogue_.reset();
}

void TileLoader::PostStore(std::function<void(data::ThumbnailStore&)> task) {
    {
        std::lock_guard hold(storeLock_);
        storeTasks_.push_back(std::move(task));
    }
    storeWake_.notify_one();
}

void TileLoader::OpenStore(const QString& path, const QByteArray& key, const QString& identity,
                           qint64 limitBytes) {
    Forget();
    storeOpen_ = !path.isEmpty();
    PostStore([=](data::ThumbnailStore& store) {
        if (path.isEmpty())
            store.Close();
        else if (store.Path() != path || !store.IsOpen() || store.Identity() != identity ||
                 store.CatalogueKey() != key)
            store.Open(path, key, identity, limitBytes);
        else
            store.SetLimit(limitBytes);
    });
}

void TileLoader::OpenCatalogue(const QString& path, const QByteArray& key,
                               const QString& pictureColumn) {
    Forget();
    catalogueOpen_ = !path.isEmpty();
    PostStore([this, path, key, pictureColumn](data::ThumbnailStore&) {
        storeCatalogue_->Close();
        storePictureColumn_ = -1;
        if (path.isEmpty() || storeCatalogue_->Open(path, {key}) != data::TableFile::OpenResult::Ok)
            return;
        const auto& columns = storeCatalogue_->Columns();
        for (size_t c = 0; c < columns.size(); ++c)
            if (columns[c].Name.compare(pictureColumn, Qt::CaseInsensitive) == 0)
                storePictureColumn_ = int(c);
    });
}

void TileLoader::SetStoreLimit(qint64 limitBytes) {
    PostStore([=](data::ThumbnailStore& store) { store.SetLimit(limitBytes); });
}

void TileLoader::ClearCaches() {
    Forget();
    cache_.Clear();
    PostStore([](data::ThumbnailStore& store) { store.Clear(); });
}

// ---- Wanting tiles -----------------------------------------------------------------------

void TileLoader::Want(const std::vector<Wanted>& tiles) {
    wanted_.clear();
    for (size_t i = 0; i < tiles.size(); ++i)
        wanted_.emplace(tiles[i].Key, Urgency{int(tiles.size() - i), tiles[i].Record});
    // Decodes of tiles scrolled away are dropped (a running one stops at its next report); a
    // cancelled decode tells no one, so it is no longer looked for either.
    auto drop = [this](auto& jobs) {
        for (auto it = jobs.begin(); it != jobs.end();) {
            if (wanted_.count(it->first)) {
                ++it;
                continue;
            }
            it->second->Cancel();
            ++tally_.Cancelled;
            lookups_.erase(it->first);
            it = jobs.erase(it);
        }
    };
    drop(decodes_);
    {
        std::lock_guard hold(storeLock_);
        storeWanted_.clear();
        for (const auto& [key, urgency] : wanted_)
            storeWanted_.emplace(key, urgency.Priority);
        drop(storeDecodes_);
    }
    std::vector<TileKey> lookFor;
    for (const Wanted& tile : tiles) {
        const TileKey& key = tile.Key;
        if (cache_.Contains(key) || lookups_.count(key) || decodes_.count(key))
            continue;
        if (storeOpen_ || catalogueOpen_) {
            lookups_.insert(key);
            lookFor.push_back(key);
        } else {
            StartDecode(key, wanted_[key]);
        }
    }
    if (lookFor.empty()) {
        if (!Busy())
            StoreUnstored(); // what was dropped may have been all that was under way
        return;
    }
    std::weak_ptr<Inbox> inbox = inbox_;
    const std::uint64_t generation = generation_;
    PostStore([this, lookFor, inbox, generation](data::ThumbnailStore& store) {
        for (const TileKey& key : lookFor) {
            Arrival arrival;
            arrival.Key = key;
            arrival.Generation = generation;
            int priority = -1;
            {
                std::lock_guard hold(storeLock_);
                if (generation != storeGeneration_)
                    return; // forgotten since: nothing of it is read or told
                if (const auto wanted = storeWanted_.find(key); wanted != storeWanted_.end())
                    priority = wanted->second;
            }
            std::optional<Tile> tile;
            if (priority >= 0) {
                if (const std::optional<QByteArray> bytes = store.Get(key))
                    tile = Tile::FromStored(*bytes);
                // A stored picture larger than its tile is not this tile's.
                const QSize side = RequestFor(key, {}).RenderSize;
                if (tile &&
                    (tile->Image.width() > side.width() || tile->Image.height() > side.height()))
                    tile.reset();
            }
            if (!tile && priority >= 0 && storePictureColumn_ >= 0) {
                // Not on disk: its picture is read here and decoded on the workers.
                QByteArray blob;
                bool damaged = false;
                try {
                    blob = storeCatalogue_->ReadBlob(key.RowId, storePictureColumn_);
                } catch (const data::TableFile::DamagedError&) {
                    damaged = true;
                }
                if (damaged) {
                    tile = Tile{Tile::Kind::Broken,
                                {},
                                QCoreApplication::translate(
                                    "Overview", "The picture cannot be read from the catalogue")};
                } else {
                    std::lock_guard hold(storeLock_);
                    if (storeWanted_.count(key) && generation == storeGeneration_)
                        storeDecodes_[key] = Submit(key, std::move(blob), priority, generation);
                    else
                        priority = -1; // scrolled away meanwhile: only told, as missed
                    if (priority >= 0)
                        continue;
                }
            }
            arrival.Missed = !tile;
            if (tile)
                arrival.Result = std::move(*tile);
            if (const auto target = inbox.lock())
                target->Deliver(std::move(arrival));
        }
    });
}

void TileLoader::Forget() {
    StoreUnstored(); // into the disk cache they were made for, before it changes
    for (auto& [key, job] : decodes_)
        job->Cancel();
    decodes_.clear();
    wanted_.clear();
    lookups_.clear(); // what comes back of them is out of date
    ++generation_;
    std::lock_guard hold(storeLock_);
    storeGeneration_ = generation_;
    storeWanted_.clear();
    for (auto& [key, job] : storeDecodes_)
        job->Cancel();
    storeDecodes_.clear();
}

imaging::DecodeRequest TileLoader::RequestFor(const TileKey& key, QByteArray blob) {
    imaging::DecodeRequest request;
    request.Blob = std::move(blob);
    const double ratio = key.Density / 100.0;
    const int side = std::max(1, int(key.Pixels * ratio + 0.5));
    request.RenderSize = QSize(side, side);
    // A tile is a glance: its picture is read as a 24-bit colour picture at the screen's
    // resolution, the record's first page.
    request.PixelsPerInch = int(96 * ratio + 0.5);
    return request;
}

std::shared_ptr<imaging::DecodeJob> TileLoader::Submit(const TileKey& key, QByteArray blob,
                                                       int priority, std::uint64_t generation) {
    std::weak_ptr<Inbox> inbox = inbox_;
    const double ratio = key.Density / 100.0;
    return decoder_.Submit(RequestFor(key, std::move(blob)), priority,
                           [key, inbox, ratio, generation](const imaging::DecodeJob& job) {
                               Arrival arrival;
                               arrival.Key = key;
                               arrival.Job = &job;
                               arrival.Generation = generation;
                               arrival.Result = TileOf(job.Wait());
                               arrival.Result.Image.setDevicePixelRatio(ratio);
                               if (const auto target = inbox.lock())
                                   target->Deliver(std::move(arrival));
                           });
}

void TileLoader::StartDecode(const TileKey& key, const Urgency& urgency) {
    ++tally_.ReadOnGui;
    decodes_[key] = Submit(key, read_(urgency.Record), urgency.Priority, generation_);
}

Tile TileLoader::TileOf(const imaging::DecodeResult& result) {
    using Kind = imaging::DecodeResult::Kind;
    Tile tile;
    switch (result.What) {
    case Kind::Picture:
    case Kind::Drawing:
        tile.Image = result.Rendered;
        break;
    case Kind::Message:
        tile.What = Tile::Kind::Label;
        tile.Text = result.LoadName == QLatin1String("RTF")
                        ? QCoreApplication::translate("Overview", "Rich text")
                        : QCoreApplication::translate("Overview", "Credit message");
        break;
    case Kind::Nothing:
        tile.What = Tile::Kind::Label;
        tile.Text = QCoreApplication::translate("Overview", "No picture");
        break;
    case Kind::Failed:
    case Kind::Skipped:
    case Kind::Cancelled:
        tile.What = Tile::Kind::Broken;
        tile.Text = result.Error.Text.isEmpty()
                        ? QCoreApplication::translate("Overview", "The picture cannot be read")
                        : result.Error.Text;
        break;
    }
    return tile;
}

// ---- Arrivals ----------------------------------------------------------------------------

void TileLoader::Collect() {
    std::vector<Arrival> arrived;
    {
        std::lock_guard hold(inbox_->Lock);
        arrived.swap(inbox_->Items);
        inbox_->Posted = false;
    }
    for (Arrival& arrival : arrived) {
        const TileKey key = arrival.Key;
        if (arrival.Generation != generation_)
            continue; // asked for before the caches were emptied or replaced
        if (!arrival.Job) {
            lookups_.erase(key);
            if (arrival.Missed) {
                const auto wanted = wanted_.find(key);
                if (wanted != wanted_.end() && !cache_.Contains(key) && !decodes_.count(key))
                    StartDecode(key, wanted->second);
                continue;
            }
            ++tally_.FromStore;
        } else {
            const auto running = decodes_.find(key);
            if (running != decodes_.end() && running->second.get() == arrival.Job)
                decodes_.erase(running);
            {
                // One the store's thread started: it was looked for, and is done.
                std::lock_guard hold(storeLock_);
                const auto fromStore = storeDecodes_.find(key);
                if (fromStore != storeDecodes_.end() && fromStore->second.get() == arrival.Job) {
                    storeDecodes_.erase(fromStore);
                    lookups_.erase(key);
                }
            }
            ++tally_.Decoded;
            if (storeOpen_ && arrival.Result.What != Tile::Kind::Broken)
                unstored_.emplace_back(key, arrival.Result);
        }
        cache_.Insert(key, std::move(arrival.Result));
        emit TileReady(key);
    }
    // New tiles are packed and written once the screen is brought, so the packing takes no
    // time from the decodes the screen waits for (or after many, while scrolling on).
    if (!Busy() || unstored_.size() >= kUnstoredMost)
        StoreUnstored();
}

void TileLoader::StoreUnstored() {
    if (unstored_.empty())
        return;
    PostStore([tiles = std::move(unstored_)](data::ThumbnailStore& store) {
        for (const auto& [key, tile] : tiles)
            if (const QByteArray bytes = tile.Stored(); !bytes.isEmpty())
                store.Put(key, bytes);
    });
    unstored_.clear();
}

void TileLoader::WaitStore() {
    std::mutex done;
    std::condition_variable told;
    bool finished = false;
    PostStore([&](data::ThumbnailStore& store) {
        store.Flush();
        std::lock_guard hold(done);
        finished = true;
        told.notify_all();
    });
    std::unique_lock hold(done);
    told.wait(hold, [&] { return finished; });
}

void TileLoader::WaitIdle() {
    while (Busy()) {
        {
            std::unique_lock hold(inbox_->Lock);
            inbox_->Arrived.wait_for(hold, std::chrono::milliseconds(50),
                                     [this] { return !inbox_->Items.empty(); });
        }
        Collect();
    }
}

} // namespace controls
