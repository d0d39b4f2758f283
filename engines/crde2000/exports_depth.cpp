// SPDX-License-Identifier: MIT
// The imaging engine's depth conversions, copies and "device bitmaps" of DIBs, and the texts
// of its result codes.
#include "engines/crde2000/bmp.h"
#include "engines/crde2000/exports_support.h"
#include "engines/shared/depth.h"

#include <cstring>

using namespace crde;

namespace {

HGLOBAL Converted(const void* locked, int bits) {
    DibView view(locked);
    HGLOBAL out = nullptr;
    return Promote(view, bits, &out) == kOk ? out : nullptr;
}

} // namespace

CRDE_EXPORT HGLOBAL DIB1to4(const void* dib) {
    try {
        return Converted(dib, 4);
    } catch (...) {
        return nullptr;
    }
}
CRDE_EXPORT HGLOBAL DIB1To8(const void* dib) {
    try {
        return Converted(dib, 8);
    } catch (...) {
        return nullptr;
    }
}
CRDE_EXPORT HGLOBAL DIB1To24(const void* dib) {
    try {
        return Converted(dib, 24);
    } catch (...) {
        return nullptr;
    }
}
CRDE_EXPORT HGLOBAL DIB4To8(const void* dib) {
    try {
        return Converted(dib, 8);
    } catch (...) {
        return nullptr;
    }
}
CRDE_EXPORT HGLOBAL DIB4To24(const void* dib) {
    try {
        return Converted(dib, 24);
    } catch (...) {
        return nullptr;
    }
}
CRDE_EXPORT HGLOBAL DIB8To24(const void* dib) {
    try {
        return Converted(dib, 24);
    } catch (...) {
        return nullptr;
    }
}
CRDE_EXPORT HGLOBAL DIB16To24(const void* dib) {
    try {
        return DibView(dib).Bits() == 16 ? Converted(dib, 24) : nullptr;
    } catch (...) {
        return nullptr;
    }
}
CRDE_EXPORT HGLOBAL DIB32To24(const void* dib) {
    try {
        return DibView(dib).Bits() == 32 ? Converted(dib, 24) : nullptr;
    } catch (...) {
        return nullptr;
    }
}
CRDE_EXPORT HGLOBAL CopyDIB(const void* dib) {
    try {
        HGLOBAL block = GlobalHandle(dib);
        const std::size_t size = GlobalSize(block);
        HGLOBAL copy = size ? GlobalAlloc(GHND, size) : nullptr;
        if (copy) {
            std::memcpy(GlobalLock(copy), dib, size);
            GlobalUnlock(copy);
        }
        return copy;
    } catch (...) {
        return nullptr;
    }
}

CRDE_EXPORT std::int16_t DibtoDdb(const void* dib, HGLOBAL* bitmap, HGLOBAL* palette) {
    return Guard([&] {
        if (!bitmap)
            return kErrBadArgument;
        *bitmap = nullptr;
        DibView view(dib);
        if (!view.Valid())
            return kErrBadArgument;
        HGLOBAL flat = nullptr;
        std::int16_t code = view.Compression() == 1 || view.Compression() == 2
                                ? ExpandRle(view, &flat)
                            : (flat = CopyDIB(dib)) ? kOk
                                                    : kErrNoMemory;
        return DrawingResult(code, flat, bitmap, palette);
    });
}

CRDE_EXPORT const char* errortext(std::int16_t code) {
    return CodeText(code);
}
