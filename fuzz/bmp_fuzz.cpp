// SPDX-License-Identifier: MIT
// Hostile BMP files: the reader fails with a code or gives a DIB, never crashes or leaks.
#include "engines/crde2000/bmp.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    HGLOBAL dib = nullptr;
    if (crde::ReadBmp(bytes, size, &dib) > 0)
        GlobalFree(dib);
    return 0;
}
