// SPDX-License-Identifier: MIT
#pragma once

#include "imaging/bitmap.h"
#include "imaging/engine/engine_binding.h"

namespace imaging {

/// A new DIB of the bitmap's pixels in its own depth (a 16- or 32-bit result is promoted to
/// 24 bits by the engine). The colour table comes from the palette, or from the bitmap's own
/// table when no palette is given. Raises ErrorInvalid "Input image is empty" for no handle.
void BitmapHandleToDib(const QImage& bitmap, const HPALETTE& palette, HGLOBAL* dib);
/// The same for a bitmap object (none raises the same error).
void BitmapToDib(const TBitmap* bitmap, HGLOBAL* dib);
/// BitmapToDib with the rows top-down (a negative height) where the depth allows (not for 16-
/// or 32-bit pictures the engine promotes): what an edit leaves of it at 24 bits can be taken
/// back by AdoptDibAsBitmap without a copy.
void BitmapToTopDownDib(const TBitmap* bitmap, HGLOBAL* dib);
/// BitmapHandleToDib, then reduced (effects engine) or promoted to `depth`.
void BitmapToDibDepth(const TBitmap& bitmap, ProgressCallback cb, void* user, HGLOBAL* dib,
                      bool dither, int depth);
/// A new DIB at a higher depth through the engine's converters, or none (24-bit source, a
/// smaller depth, the same palette depth, or a pair without a converter).
HGLOBAL PromoteDib(HGLOBAL dib, int depth);

/// The bitmap and palette of a DIB at `depth`: 0 for an empty block or when no bitmap could
/// be made, else 1. Run-length DIBs go whole to the engine.
int DibToBitmapHandles(HGLOBAL dib, int depth, bool dither, ProgressCallback cb, void* user,
                       QImage* bitmap, HPALETTE* palette);
/// Gives the bitmap the palette and the handle of DibToBitmapHandles.
int DibToBitmap(HGLOBAL dib, int depth, bool dither, TBitmap& bitmap, void* user,
                ProgressCallback cb);
/// DibToBitmap for a DIB the caller gives away: a top-down 24-bit DIB at the depth asked is
/// shown where it lies (the bitmap's image keeps the block and frees it with itself);
/// any other is converted and freed at once.
int AdoptDibAsBitmap(HGLOBAL dib, int depth, bool dither, TBitmap& bitmap, void* user,
                     ProgressCallback cb);

/// The DIB whose rows the bitmap shows where they lie (one AdoptDibAsBitmap took), or none.
/// It is the bitmap's own memory: read it, never free it.
HGLOBAL AdoptedDibOf(const TBitmap& bitmap);

/// At the DIB's own depth, without dithering; 0 for a block under 6 bytes.
int DibHandleToBitmap(HGLOBAL dib, TBitmap& bitmap);

} // namespace imaging
