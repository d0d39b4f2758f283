// SPDX-License-Identifier: MIT
#pragma once

#include "engines/colour/reduce.h"
#include "engines/shared/dib_block.h"

namespace engine {

/// A new DIB of the picture at a higher depth (1 → 4, 8, 24; 4 → 8, 24; 8, 16, 32 → 24),
/// colours kept exactly. kErrBadArgument for any other pair.
std::int16_t Promote(const DibView& source, int bits, HGLOBAL* out);

/// A new DIB at `bits` (1, 4, 8 or 24): promoted exactly, or reduced to a palette chosen for
/// the picture, with Floyd-Steinberg error diffusion when `dither` is set.
std::int16_t ConvertDepth(const DibView& source, int bits, bool dither, HGLOBAL* out);

/// A byte copy of the DIB's block.
std::int16_t CopyBlock(const DibView& source, HGLOBAL* out);

/// A new DIB of `bits` (1, 4 or 8) with a palette chosen for the picture and the colours
/// spread by the method when dithering; kErrCancelled when progress stops it.
std::int16_t Reduce(const DibView& source, int bits, bool dither, colour::Method method,
                    const colour::Progress& progress, HGLOBAL* out);

/// Brings a freshly decoded DIB to the depth a reader was asked for (0 keeps its own),
/// replacing the handle; the old one is freed.
std::int16_t ApplyReadDepth(HGLOBAL* dib, int depth, bool dither);

} // namespace engine
