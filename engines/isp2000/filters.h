// SPDX-License-Identifier: MIT
#pragma once

#include "platform/memory/global_memory.h"

namespace isp {

// The effects window's operations. Each returns a new DIB and leaves the given one alone;
// none for a block that is no uncompressed DIB. Colour operations keep a palette picture's
// depth (they change its colour table); other pictures come back at 24 bits.

/// Brightness −255…255 added to every channel, then contrast −100…100 (percent, about
/// the middle grey), then gamma (> 0; 1 leaves the tones, above 1 lightens).
HGLOBAL Adjust(HGLOBAL dib, int brightness, int contrast, double gamma);

/// Every colour replaced by its luminance (0.299 R + 0.587 G + 0.114 B).
HGLOBAL Greyscale(HGLOBAL dib);

/// Mirrored left to right, or flipped top to bottom; any depth, kept.
HGLOBAL Mirror(HGLOBAL dib, bool vertical);

/// A box blur of the radius (1…32) run twice, close to a Gaussian; 24 bits.
HGLOBAL Blur(HGLOBAL dib, int radius);

/// Unsharp masking: each pixel pushed away from its 3 × 3 neighbourhood's mean by `amount`
/// percent (1…500); 24 bits.
HGLOBAL Sharpen(HGLOBAL dib, int amount);

} // namespace isp
