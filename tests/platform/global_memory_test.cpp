// SPDX-License-Identifier: MIT
#include "platform/memory/global_memory.h"
#include "platform/memory/memory_block.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <vector>

TEST(GlobalMemory, BlocksAreZeroedAndCountLocks) {
    HGLOBAL block = GlobalAlloc(GHND, 64);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(GlobalSize(block), 64u);
    EXPECT_EQ(GlobalFlags(block), 0u);
    auto* bytes = static_cast<unsigned char*>(GlobalLock(block));
    ASSERT_NE(bytes, nullptr);
    for (int i = 0; i < 64; ++i)
        ASSERT_EQ(bytes[i], 0) << i;
    EXPECT_EQ(GlobalLock(block), bytes);
    EXPECT_EQ(GlobalFlags(block), 2u);
    EXPECT_NE(GlobalUnlock(block), 0); // still locked once
    EXPECT_EQ(GlobalUnlock(block), 0);
    EXPECT_EQ(GlobalUnlock(block), 0); // unlocking an unlocked block stays at zero
    EXPECT_EQ(GlobalFlags(block), 0u);
    EXPECT_EQ(GlobalFree(block), nullptr);
}

TEST(GlobalMemory, ReAllocKeepsContentZeroesGrowthAndRefusesLockedBlocks) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 4);
    auto* bytes = static_cast<unsigned char*>(GlobalLock(block));
    bytes[0] = 1;
    bytes[3] = 4;
    EXPECT_EQ(GlobalReAlloc(block, 16, GMEM_MOVEABLE), nullptr); // locked
    GlobalUnlock(block);
    ASSERT_EQ(GlobalReAlloc(block, 1 << 16, GMEM_MOVEABLE), block);
    bytes = static_cast<unsigned char*>(GlobalLock(block));
    EXPECT_EQ(bytes[0], 1);
    EXPECT_EQ(bytes[3], 4);
    for (int i = 4; i < (1 << 16); ++i)
        ASSERT_EQ(bytes[i], 0) << i;
    GlobalUnlock(block);
    EXPECT_EQ(GlobalSize(block), static_cast<std::size_t>(1 << 16));
    EXPECT_EQ(GlobalFree(block), nullptr);
}

TEST(GlobalMemory, UnknownAndStaleHandlesAreRefusedSafely) {
    EXPECT_EQ(GlobalAlloc(GHND, 0), nullptr);
    HGLOBAL block = GlobalAlloc(GHND, 8);
    ASSERT_EQ(GlobalFree(block), nullptr);
    // The handle is stale now: every call refuses it instead of touching freed memory.
    EXPECT_EQ(GlobalFree(block), block);
    EXPECT_EQ(GlobalLock(block), nullptr);
    EXPECT_EQ(GlobalSize(block), 0u);
    EXPECT_EQ(GlobalFlags(block), 0x8000u);
    EXPECT_EQ(GlobalReAlloc(block, 16, 0), nullptr);
    EXPECT_EQ(GlobalFree(nullptr), nullptr);
    EXPECT_EQ(GlobalLock(nullptr), nullptr);
    // An absurd size fails cleanly.
    EXPECT_EQ(GlobalAlloc(GHND, static_cast<std::size_t>(-1) / 2), nullptr);
}

// Picture-sized blocks come from their own mappings: zeroed to the last byte, writable to the
// end, freed without touching their neighbours, and moved across the size where they start.
TEST(GlobalMemory, LargeBlocksAreWholeAndIndependent) {
    const std::size_t sizes[] = {(4u << 20) - 1, 4u << 20, (5u << 20) + 123, 9u << 20};
    std::vector<HGLOBAL> blocks;
    for (std::size_t size : sizes) {
        HGLOBAL block = GlobalAlloc(GHND, size);
        ASSERT_NE(block, nullptr) << size;
        auto* bytes = static_cast<unsigned char*>(GlobalLock(block));
        ASSERT_EQ(bytes[0], 0);
        ASSERT_EQ(bytes[size / 2], 0);
        ASSERT_EQ(bytes[size - 1], 0);
        bytes[0] = bytes[size - 1] = 0x5A;
        GlobalUnlock(block);
        blocks.push_back(block);
    }
    ASSERT_EQ(GlobalFree(blocks[1]), nullptr);
    ASSERT_EQ(GlobalFree(blocks[2]), nullptr);
    for (std::size_t i : {std::size_t{0}, std::size_t{3}}) {
        auto* bytes = static_cast<unsigned char*>(GlobalLock(blocks[i]));
        EXPECT_EQ(bytes[0], 0x5A);
        EXPECT_EQ(bytes[sizes[i] - 1], 0x5A);
        GlobalUnlock(blocks[i]);
    }
    // Small to large and back keeps what fits.
    ASSERT_EQ(GlobalReAlloc(blocks[0], 12u << 20, 0), blocks[0]);
    auto* bytes = static_cast<unsigned char*>(GlobalLock(blocks[0]));
    EXPECT_EQ(bytes[0], 0x5A);
    EXPECT_EQ(bytes[sizes[0] - 1], 0x5A);
    EXPECT_EQ(bytes[(12u << 20) - 1], 0);
    GlobalUnlock(blocks[0]);
    ASSERT_EQ(GlobalReAlloc(blocks[0], 16, 0), blocks[0]);
    EXPECT_EQ(static_cast<unsigned char*>(GlobalLock(blocks[0]))[0], 0x5A);
    GlobalUnlock(blocks[0]);
    EXPECT_EQ(GlobalFree(blocks[0]), nullptr);
    EXPECT_EQ(GlobalFree(blocks[3]), nullptr);
    // Sizes whose rounding would wrap are refused.
    EXPECT_EQ(LargeMemoryAlloc(SIZE_MAX), nullptr);
    EXPECT_EQ(LargeMemoryAlloc(SIZE_MAX - (1u << 20)), nullptr);
}

TEST(MemoryBlockOwners, ABlockIsFreedOnEveryPathAndALockIsReleased) {
    const std::size_t before = GlobalBlockCount();
    {
        platform::MemoryBlock a = platform::MemoryBlock::Allocate(64);
        ASSERT_TRUE(a);
        EXPECT_EQ(a.Size(), 64u);
        platform::MemoryBlock b = std::move(a);
        EXPECT_FALSE(a);
        {
            const platform::BlockLock lock(b.Get());
            ASSERT_NE(lock.As<char>(), nullptr);
            EXPECT_EQ(GlobalFlags(b.Get()) & 0xFF, 1u);
        }
        EXPECT_EQ(GlobalFlags(b.Get()) & 0xFF, 0u) << "the lock went with its owner";
        b.Reset(GlobalAlloc(GHND, 8)); // the first block is freed
        EXPECT_EQ(GlobalBlockCount(), before + 1);
        *b.Out() = GlobalAlloc(GHND, 4); // a call handing back a block through a pointer
        EXPECT_EQ(GlobalBlockCount(), before + 1);
        HGLOBAL kept = platform::MemoryBlock(GlobalAlloc(GHND, 4)).Release();
        EXPECT_EQ(GlobalBlockCount(), before + 2);
        GlobalFree(kept);
        try {
            platform::MemoryBlock doomed = platform::MemoryBlock::Allocate(16);
            const platform::BlockLock lock(doomed.Get());
            throw 1;
        } catch (int) {
        }
        EXPECT_EQ(GlobalBlockCount(), before + 1) << "an exception frees it too";
        EXPECT_EQ(platform::BlockLock(nullptr).Memory(), nullptr);
    }
    EXPECT_EQ(GlobalBlockCount(), before);
}
