// SPDX-License-Identifier: MIT
#include "platform/memory/global_memory.h"

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <shared_mutex>
#include <sys/mman.h>
#include <unordered_map>
#include <unordered_set>

struct GlobalMemoryBlock {
    void* data = nullptr;
    std::size_t size = 0;
    std::atomic<unsigned> locks = 0;
};

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kUseMappings = false; // the sanitizer guards heap blocks only
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kUseMappings = false;
#else
constexpr bool kUseMappings = true;
#endif
#else
constexpr bool kUseMappings = true;
#endif
constexpr std::size_t kMappedFrom = 4u << 20;

bool Mapped(std::size_t bytes) {
    return kUseMappings && bytes >= kMappedFrom;
}

// Mappings start on and span whole huge pages: the kernel backs only aligned 2 MiB runs with
// huge pages, so an unaligned start would leave up to 4 MiB at the ends in small pages, each
// its own page fault (about a thousand for one picture).
constexpr std::size_t kHugePage = 2u << 20;

std::size_t MappedSize(std::size_t bytes) {
    return (bytes + kHugePage - 1) & ~(kHugePage - 1);
}

void* MapAligned(std::size_t bytes) {
    const std::size_t size = MappedSize(bytes);
    void* p =
        mmap(nullptr, size + kHugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED)
        return nullptr;
    const auto raw = reinterpret_cast<std::uintptr_t>(p);
    const std::uintptr_t start = (raw + kHugePage - 1) & ~std::uintptr_t(kHugePage - 1);
    if (start > raw)
        munmap(p, start - raw);
    if (const std::size_t tail = kHugePage - (start - raw); tail > 0)
        munmap(reinterpret_cast<void*>(start + size), tail);
    void* memory = reinterpret_cast<void*>(start);
    madvise(memory, size, MADV_HUGEPAGE);
    return memory;
}

constexpr unsigned InvalidHandleFlag = 0x8000;

// Live handles; lookups reject stale or foreign handles instead of touching freed memory.
// Blocks are made, freed and moved under the exclusive lock; locking, unlocking and asking for a
// size share it (the lock count is atomic), so decodes on several threads do not queue there.
struct Registry {
    std::shared_mutex mutex;
    std::unordered_set<HGLOBAL> live;
    std::unordered_map<const void*, HGLOBAL> byData; // each live block by its memory
};

Registry& Blocks() {
    static Registry* registry = new Registry; // lives until exit, also for late frees
    return *registry;
}

bool Known(Registry& r, HGLOBAL block) {
    return block && r.live.count(block) != 0;
}

} // namespace

extern "C" {

void* LargeMemoryAlloc(std::size_t bytes) {
    if (bytes == 0 || bytes > SIZE_MAX - 2 * kHugePage)
        return nullptr; // a mapping's rounding would wrap; no heap has that much either
    if (!Mapped(bytes))
        return std::calloc(1, bytes);
    return MapAligned(bytes);
}

void LargeMemoryFree(void* memory, std::size_t bytes) {
    if (!memory)
        return;
    if (Mapped(bytes))
        munmap(memory, MappedSize(bytes));
    else
        std::free(memory);
}

HGLOBAL GlobalAlloc(unsigned /*flags*/, std::size_t bytes) {
    if (bytes == 0)
        return nullptr;
    void* data = LargeMemoryAlloc(bytes);
    if (!data)
        return nullptr;
    auto* block = new (std::nothrow) GlobalMemoryBlock{data, bytes, 0};
    if (!block) {
        LargeMemoryFree(data, bytes);
        return nullptr;
    }
    Registry& r = Blocks();
    std::lock_guard lock(r.mutex);
    r.live.insert(block);
    r.byData[data] = block;
    return block;
}

void* GlobalLock(HGLOBAL block) {
    Registry& r = Blocks();
    std::shared_lock lock(r.mutex);
    if (!Known(r, block))
        return nullptr;
    unsigned count = block->locks;
    while (count < 0xFF && !block->locks.compare_exchange_weak(count, count + 1)) {
    }
    return block->data;
}

int GlobalUnlock(HGLOBAL block) {
    Registry& r = Blocks();
    std::shared_lock lock(r.mutex);
    if (!Known(r, block))
        return 0;
    unsigned count = block->locks;
    do {
        if (count == 0)
            return 0;
    } while (!block->locks.compare_exchange_weak(count, count - 1));
    return count - 1 != 0;
}

std::size_t GlobalSize(HGLOBAL block) {
    Registry& r = Blocks();
    std::shared_lock lock(r.mutex);
    return Known(r, block) ? block->size : 0;
}

unsigned GlobalFlags(HGLOBAL block) {
    Registry& r = Blocks();
    std::shared_lock lock(r.mutex);
    return Known(r, block) ? block->locks.load() : InvalidHandleFlag;
}

HGLOBAL GlobalReAlloc(HGLOBAL block, std::size_t bytes, unsigned /*flags*/) {
    Registry& r = Blocks();
    std::lock_guard lock(r.mutex);
    if (!Known(r, block) || bytes == 0 || block->locks != 0)
        return nullptr;
    void* data;
    if (!Mapped(bytes) && !Mapped(block->size)) {
        data = std::realloc(block->data, bytes);
        if (!data)
            return nullptr;
        if (bytes > block->size)
            std::memset(static_cast<char*>(data) + block->size, 0, bytes - block->size);
    } else {
        data = LargeMemoryAlloc(bytes);
        if (!data)
            return nullptr;
        std::memcpy(data, block->data, bytes < block->size ? bytes : block->size);
        LargeMemoryFree(block->data, block->size);
    }
    r.byData.erase(block->data);
    r.byData[data] = block;
    block->data = data;
    block->size = bytes;
    return block;
}

HGLOBAL GlobalFree(HGLOBAL block) {
    Registry& r = Blocks();
    {
        std::lock_guard lock(r.mutex);
        if (!Known(r, block))
            return block;
        r.live.erase(block);
        r.byData.erase(block->data);
    }
    // The memory goes back outside the lock: unmapping a large block takes a while, and no
    // one else can reach the block now.
    LargeMemoryFree(block->data, block->size);
    delete block;
    return nullptr;
}

HGLOBAL GlobalHandle(const void* memory) {
    if (!memory)
        return nullptr;
    Registry& r = Blocks();
    std::shared_lock lock(r.mutex);
    const auto found = r.byData.find(memory);
    return found == r.byData.end() ? nullptr : found->second;
}

std::size_t GlobalBlockCount(void) {
    Registry& r = Blocks();
    std::shared_lock lock(r.mutex);
    return r.live.size();
}
}
