// SPDX-License-Identifier: MIT
#pragma once

#include "engines/colour/quantize.h"

#include <functional>

namespace colour {

/// How colours are spread when they are reduced (the order of the program's dither setting).
enum class Method { Bayer = 0, Burkes = 1, Floyd = 2, Greyscale = 3 };

/// Called with 0..100; returns false to stop.
using Progress = std::function<bool(int percent)>;

/// The palette a reduction to `bits` (1, 4 or 8) uses: grey levels for the greyscale method,
/// black and white for one bit, else the picture's own colours when they fit, else median cut.
std::vector<Rgb> ChoosePalette(const BgrView& image, int bits, Method method);

/// Reduces 24-bit rows to palette indexes packed at `bits` per pixel into `out` (rows of
/// `outStride` bytes, in the same order as the source). Without dithering each pixel takes its
/// nearest colour. Returns false when progress asked to stop.
bool Reduce(const BgrView& image, const std::vector<Rgb>& palette, int bits, bool dither,
            Method method, std::uint8_t* out, std::ptrdiff_t outStride,
            const Progress& progress = {});

} // namespace colour
