// SPDX-License-Identifier: MIT
#pragma once

#include "engines/crde2000/codec.h"

namespace crde {

bool IsGif(const std::uint8_t* data, std::size_t size);
/// The first picture of the file on its logical screen (background index around it),
/// interlaced rows put in order; 1, 4 or 8 bits by the colour map's size.
std::int16_t ReadGif(const std::uint8_t* data, std::size_t size, HGLOBAL* dib);
/// A 1, 4 or 8-bit DIB as a GIF89a picture.
std::int16_t WriteGif(const DibView& dib, Bytes& out);

/// The facts stream information reports, from the header only.
std::int16_t GifFacts(const Reader& in, StreamFacts* facts);

} // namespace crde
