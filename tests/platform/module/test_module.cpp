// SPDX-License-Identifier: MIT
// A module loaded at run time by the tests, standing in for an engine.
#include "platform/memory/global_memory.h"

#include <cstring>

extern "C" __attribute__((visibility("default"))) int vlmor_test_answer() {
    return 42;
}

// A block made here and owned by the caller, as an engine hands out a picture.
extern "C" __attribute__((visibility("default"))) HGLOBAL vlmor_test_make_block(std::size_t size) {
    HGLOBAL block = GlobalAlloc(GHND, size);
    if (auto* bytes = static_cast<unsigned char*>(GlobalLock(block))) {
        std::memset(bytes, 0xAB, size);
        GlobalUnlock(block);
    }
    return block;
}
