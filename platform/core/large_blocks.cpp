// SPDX-License-Identifier: MIT
#include "platform/core/large_blocks.h"

#include <cstdlib> // defines __GLIBC__ on the GNU C library
#include <new>

#if defined(__GLIBC__)
#include <malloc.h>
#endif
#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace platform {

namespace {

constexpr std::size_t kHugePage = std::size_t(2) << 20;

struct FreeBlock {
    void operator()(char* block) const { std::free(block); }
};

} // namespace

void ReturnLargeBlocksWhenFreed() {
#if defined(__GLIBC__)
    mallopt(M_MMAP_THRESHOLD, 1 << 20);
#endif
}

std::shared_ptr<char[]> LargeBlock(std::size_t bytes) {
    const std::size_t rounded = (bytes + kHugePage - 1) / kHugePage * kHugePage;
    void* block = std::aligned_alloc(kHugePage, rounded);
    if (!block)
        throw std::bad_alloc();
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    madvise(block, rounded, MADV_HUGEPAGE); // advice only: without huge pages it still works
#endif
    return std::shared_ptr<char[]>(static_cast<char*>(block), FreeBlock());
}

} // namespace platform
