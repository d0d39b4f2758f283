// SPDX-License-Identifier: MIT
#pragma once

// The effects engine's exports. The engine is loaded at run time; callers use these types
// for the entries they look up by name and never link the module.
//
// Threads. Invert, rotate, colour reduction and the filters work on the DIB they are given and
// keep nothing between calls: any number of threads may call them at once, each on its own
// DIB. The transitions paint through the caller's target and run on the thread that owns it.
// "ILCaughtException" answers for the calling thread's last call. The module is unloaded only
// while no call is in progress.

#include "platform/memory/global_memory.h"

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/// A rectangle as left, top, right, bottom (right and bottom exclusive).
typedef struct IspRect {
    int32_t left, top, right, bottom;
} IspRect;

/// Where a transition paints, the "device context": the caller draws a rectangle of the DIB
/// at a position of its surface, puts what was drawn on the screen, and waits between steps.
/// `sleep` may be null: the engine then waits itself.
typedef struct IspPaintTarget {
    void (*draw)(void* context, HGLOBAL dib, const IspRect* source, int32_t x, int32_t y);
    void (*present)(void* context);
    void (*sleep)(void* context, int32_t milliseconds);
    void* context;
} IspPaintTarget;

typedef int16_t (*IspProgress)(int16_t progress, void* user);

/// FXSkipHorizontal, FXSkipVertical, FXSkipDiagonals, FXSkipDiagonalSquares.
typedef int32_t (*IspBandTransition)(IspPaintTarget* dc, HGLOBAL dib, int32_t thickness,
                                     int32_t delay);
/// FXSkipRectangles.
typedef int32_t (*IspRectTransition)(IspPaintTarget* dc, HGLOBAL dib, int32_t delay);
/// In place; 1 on success.
typedef int32_t (*IspInvert)(HGLOBAL dib);
/// ILCaughtException: 1 when the calling thread's last call into the engine failed by a fault
/// caught inside it (not by refusing its input), else 0.
typedef int32_t (*IspCaughtException)(void);
/// A new DIB of the picture turned by `angle` degrees anticlockwise, corners filled with the
/// background colour (0x00BBGGRR). `rect`, when it has an area, chooses the part of the picture
/// that is turned (clipped to the picture; none inside is a failure); it receives the new
/// picture's rectangle. None on failure.
typedef HGLOBAL (*IspRotate)(HGLOBAL dib, double angle, IspRect* rect, uint32_t background);
/// A new DIB at `depth` bits (1, 4, 8; 0 means 16 colours): `method` is the dither kind
/// (0 Bayer, 1 Burkes, 2 Floyd-Steinberg, 3 greyscale), used when `dither` is 1.
typedef HGLOBAL (*IspReduce)(HGLOBAL dib, int16_t depth, int16_t dither, int16_t method,
                             int32_t zero1, int16_t zero2, void* user, IspProgress cb);

/* The effects window's operations: each returns a new DIB (the caller frees both), none on
   failure. Palette pictures keep their depth through the colour operations; others come back
   at 24 bits. */
/** ILBrightness: brightness -255..255 added, then contrast -100..100 percent. */
typedef HGLOBAL (*IspBrightness)(HGLOBAL dib, int32_t brightness, int32_t contrast);
/** ILGamma: gamma above 0; 1 keeps the tones, above 1 lightens. */
typedef HGLOBAL (*IspGamma)(HGLOBAL dib, double gamma);
/** ILGrayscale: every colour replaced by its luminance. */
typedef HGLOBAL (*IspGrayscale)(HGLOBAL dib);
/** ILMirror: left to right, or top to bottom when `vertical` is 1; the depth kept. */
typedef HGLOBAL (*IspMirror)(HGLOBAL dib, int16_t vertical);
/** Blur: radius 1..32. Sharpen: amount 1..500 percent. */
typedef HGLOBAL (*IspFilter)(HGLOBAL dib, int32_t strength);
#ifdef __cplusplus
}
#endif
