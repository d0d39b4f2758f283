// SPDX-License-Identifier: MIT
#pragma once

#include "engines/colour/reduce.h"
#include "platform/memory/global_memory.h"

#include <cstdint>

namespace isp {

/// Inverts the picture in place (its colour table for palette pictures); false for a block
/// that is no DIB.
bool Invert(HGLOBAL dib);

/// A new 24-bit DIB turned by `degrees` anticlockwise about its centre, large enough for the
/// whole picture; quarter turns are exact, other angles are sampled bilinearly.
HGLOBAL Rotate(HGLOBAL dib, double degrees, std::uint32_t background, int* width, int* height);
/// A 24-bit copy of the part of the picture from (left, top) up to (right, bottom), exclusive,
/// clipped to the picture; none when nothing of the picture is inside.
HGLOBAL Crop(HGLOBAL dib, std::int64_t left, std::int64_t top, std::int64_t right,
             std::int64_t bottom);

/// A new DIB reduced to `bits` (1, 4 or 8) with the method when dithering; a picture at that
/// depth or below comes back as a copy. None on failure or when progress stops it.
HGLOBAL Reduce(HGLOBAL dib, int bits, bool dither, colour::Method method,
               const colour::Progress& progress);

} // namespace isp
