// SPDX-License-Identifier: MIT
#include "platform/global_memory.h"

#include <cstdlib>
#include <cstring>
#include <mutex>
#include <unordered_set>

struct GlobalMemoryBlock {
    void* data = nullptr;
    std::size_t size = 0;
    unsigned locks = 0;
};

namespace {

constexpr unsigned InvalidHandleFlag = 0x8000;

// Live handles; lookups reject stale or foreign handles instead of touching freed memory.
struct Registry {
    std::mutex mutex;
    std::unordered_set<HGLOBAL> live;
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

HGLOBAL GlobalAlloc(unsigned /*flags*/, std::size_t bytes) {
    if (bytes == 0)
        return nullptr;
    void* data = std::calloc(1, bytes);
    if (!data)
        return nullptr;
    auto* block = new (std::nothrow) GlobalMemoryBlock{data, bytes, 0};
    if (!block) {
        std::free(data);
        return nullptr;
    }
    Registry& r = Blocks();
    std::lock_guard lock(r.mutex);
    r.live.insert(block);
    return block;
}

void* GlobalLock(HGLOBAL block) {
    Registry& r = Blocks();
    std::lock_guard lock(r.mutex);
    if (!Known(r, block))
        return nullptr;
    if (block->locks < 0xFF)
        ++block->locks;
    return block->data;
}

int GlobalUnlock(HGLOBAL block) {
    Registry& r = Blocks();
    std::lock_guard lock(r.mutex);
    if (!Known(r, block) || block->locks == 0)
        return 0;
    --block->locks;
    return block->locks != 0;
}

std::size_t GlobalSize(HGLOBAL block) {
    Registry& r = Blocks();
    std::lock_guard lock(r.mutex);
    return Known(r, block) ? block->size : 0;
}

unsigned GlobalFlags(HGLOBAL block) {
    Registry& r = Blocks();
    std::lock_guard lock(r.mutex);
    return Known(r, block) ? block->locks : InvalidHandleFlag;
}

HGLOBAL GlobalReAlloc(HGLOBAL block, std::size_t bytes, unsigned /*flags*/) {
    Registry& r = Blocks();
    std::lock_guard lock(r.mutex);
    if (!Known(r, block) || bytes == 0 || block->locks != 0)
        return nullptr;
    void* data = std::realloc(block->data, bytes);
    if (!data)
        return nullptr;
    if (bytes > block->size)
        std::memset(static_cast<char*>(data) + block->size, 0, bytes - block->size);
    block->data = data;
    block->size = bytes;
    return block;
}

HGLOBAL GlobalFree(HGLOBAL block) {
    Registry& r = Blocks();
    std::lock_guard lock(r.mutex);
    if (!Known(r, block))
        return block;
    r.live.erase(block);
    std::free(block->data);
    delete block;
    return nullptr;
}

HGLOBAL GlobalHandle(const void* memory) {
    if (!memory)
        return nullptr;
    Registry& r = Blocks();
    std::lock_guard lock(r.mutex);
    for (HGLOBAL block : r.live) {
        if (block->data == memory)
            return block;
    }
    return nullptr;
}

std::size_t GlobalBlockCount(void) {
    Registry& r = Blocks();
    std::lock_guard lock(r.mutex);
    return r.live.size();
}
}
