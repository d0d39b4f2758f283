// SPDX-License-Identifier: MIT
#pragma once

// The effects engine's exports. The engine is loaded at run time; callers use these types
// for the entries they look up by name and never link the module.

#include "platform/global_memory.h"

#include <cstdint>

class QImage;
class QPainter;

extern "C" {

/// Where a transition paints: a painter on the control's surface and a call that puts what
/// was painted on the screen (the control repaints from its surface). The "device context".
struct IspPaintTarget {
    QPainter* painter;
    void (*present)(void* context);
    void* context;
};

/// A rectangle as left, top, right, bottom.
struct IspRect {
    std::int32_t left, top, right, bottom;
};

typedef std::int16_t (*IspProgress)(std::int16_t progress, void* user);

/// FXSkipHorizontal, FXSkipVertical, FXSkipDiagonals, FXSkipDiagonalSquares.
typedef std::int32_t (*IspBandTransition)(IspPaintTarget* dc, const QImage* bitmap,
                                          std::int32_t thickness, std::int32_t delay);
/// FXSkipRectangles.
typedef std::int32_t (*IspRectTransition)(IspPaintTarget* dc, const QImage* bitmap,
                                          std::int32_t delay);
/// In place; 1 on success.
typedef std::int32_t (*IspInvert)(HGLOBAL dib);
/// A new DIB of the picture turned by `angle` degrees anticlockwise, corners filled with the
/// background colour (0x00BBGGRR); `rect` receives the new picture's rectangle. None on failure.
typedef HGLOBAL (*IspRotate)(HGLOBAL dib, double angle, IspRect* rect, std::uint32_t background);
/// A new DIB at `depth` bits (1, 4, 8; 0 means 16 colours): `method` is the dither kind
/// (0 Bayer, 1 Burkes, 2 Floyd-Steinberg, 3 grayscale), used when `dither` is 1.
typedef HGLOBAL (*IspReduce)(HGLOBAL dib, std::int16_t depth, std::int16_t dither,
                             std::int16_t method, std::int32_t zero1, std::int16_t zero2,
                             void* user, IspProgress cb);
}
