// SPDX-License-Identifier: MIT
#include "platform/core/large_blocks.h"

#include <cstdlib>
#include <new>

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
