// SPDX-License-Identifier: MIT
#include "platform/core/freed_memory.h"

#include <cstdlib> // defines __GLIBC__ on the GNU C library

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace platform {

void ReturnLargeBlocksWhenFreed() {
#if defined(__GLIBC__)
    mallopt(M_MMAP_THRESHOLD, 1 << 20);
#endif
}

} // namespace platform
