// SPDX-License-Identifier: MIT
#pragma once

#include "engines/crde2000/codec.h"

namespace crde {

bool IsJpeg(const std::uint8_t* data, std::size_t size);
/// Colour pictures become 24 bits, grey ones 8 bits with a grey table; CMYK is turned to RGB.
std::int16_t ReadJpeg(const std::uint8_t* data, std::size_t size, HGLOBAL* dib);
/// Quality 1..100, smoothing 0..100; grey when `grey` is set, else colour.
std::int16_t WriteJpeg(const DibView& dib, int quality, int smoothing, bool grey, Bytes& out);

/// The facts stream information reports, from the header only.
std::int16_t JpegFacts(const Reader& in, StreamFacts* facts);

} // namespace crde
