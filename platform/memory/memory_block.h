// SPDX-License-Identifier: MIT
#pragma once

// Owners for movable memory blocks in C++ code: a block that is freed when its owner goes,
// and a lock that is released when it goes, so that no path (a failure, an exception) leaves
// a block allocated or locked.

#include "platform/memory/global_memory.h"

#include <utility>

namespace platform {

/// Owns one block (or none) and frees it on destruction.
class MemoryBlock {
public:
    MemoryBlock() = default;
    /// Takes over a block allocated elsewhere (null: none).
    explicit MemoryBlock(HGLOBAL block)
        : block_(block) {}
    /// A new zero-filled block; empty when there is no memory.
    static MemoryBlock Allocate(size_t bytes) { return MemoryBlock(GlobalAlloc(GHND, bytes)); }
    ~MemoryBlock() { Reset(); }
    MemoryBlock(MemoryBlock&& other) noexcept
        : block_(other.Release()) {}
    MemoryBlock& operator=(MemoryBlock&& other) noexcept {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }
    MemoryBlock(const MemoryBlock&) = delete;
    MemoryBlock& operator=(const MemoryBlock&) = delete;

    HGLOBAL Get() const { return block_; }
    /// For calls that hand back a block through a pointer; what it held is freed first.
    HGLOBAL* Out() {
        Reset();
        return &block_;
    }
    explicit operator bool() const { return block_ != nullptr; }
    size_t Size() const { return block_ ? GlobalSize(block_) : 0; }
    /// Gives the block up: the caller owns it.
    HGLOBAL Release() { return std::exchange(block_, nullptr); }
    /// Frees the block held and holds `block` instead.
    void Reset(HGLOBAL block = nullptr) {
        if (block_ && block_ != block)
            GlobalFree(block_);
        block_ = block;
    }

private:
    HGLOBAL block_ = nullptr;
};

/// A block's memory for as long as the lock lives.
class BlockLock {
public:
    explicit BlockLock(HGLOBAL block)
        : block_(block)
        , memory_(block ? GlobalLock(block) : nullptr) {}
    ~BlockLock() {
        if (memory_)
            GlobalUnlock(block_);
    }
    BlockLock(const BlockLock&) = delete;
    BlockLock& operator=(const BlockLock&) = delete;

    /// The block's memory; null for no block or an unknown one.
    void* Memory() const { return memory_; }
    template <class T> T* As() const { return static_cast<T*>(memory_); }

private:
    HGLOBAL block_;
    void* memory_;
};

} // namespace platform
