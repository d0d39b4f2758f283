// SPDX-License-Identifier: MIT
#pragma once

// Movable global memory blocks, shared by the program and the engine modules so that a
// block allocated in one is freed by another. Blocks are always zero-initialised.

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct GlobalMemoryBlock* HGLOBAL;

enum {
    GMEM_FIXED = 0x0000,
    GMEM_MOVEABLE = 0x0002,
    GMEM_ZEROINIT = 0x0040,
    GHND = GMEM_MOVEABLE | GMEM_ZEROINIT,
};

/// A new zero-filled block of the given size, or null (size 0 or no memory).
HGLOBAL GlobalAlloc(unsigned flags, size_t bytes);

/// The block's memory, counting one more lock; null for an unknown handle.
void* GlobalLock(HGLOBAL block);

/// Counts one lock less; nonzero while the block stays locked.
int GlobalUnlock(HGLOBAL block);

/// The block's size in bytes; 0 for an unknown handle.
size_t GlobalSize(HGLOBAL block);

/// The lock count in the low byte; GMEM_INVALID_HANDLE (0x8000) for an unknown handle.
unsigned GlobalFlags(HGLOBAL block);

/// Resizes an unlocked block (new bytes are zero); null on failure, the old block kept.
HGLOBAL GlobalReAlloc(HGLOBAL block, size_t bytes, unsigned flags);

/// Frees the block; null on success, the handle itself for an unknown handle.
HGLOBAL GlobalFree(HGLOBAL block);

/// The block whose memory starts at the pointer (as a lock gave it), or null.
HGLOBAL GlobalHandle(const void* memory);

/// Zeroed memory for large pictures: blocks of 4 MiB or more come straight from the system
/// in huge pages where it offers them (a 36 MB picture then costs a few page faults instead
/// of thousands); smaller ones from the heap. Free with LargeMemoryFree and the same size.
void* LargeMemoryAlloc(size_t bytes);
void LargeMemoryFree(void* memory, size_t bytes);

/// Number of live blocks (for leak checks in tests).
size_t GlobalBlockCount(void);
#ifdef __cplusplus
}
#endif
