// SPDX-License-Identifier: MIT
#pragma once

#include "engines/crde2000/codec.h"

namespace crde {

bool IsPng(const std::uint8_t* data, std::size_t size);
/// Palette pictures keep their indexes (2 bits become 4), grey becomes an 8-bit grey table
/// (1 bit stays 1), colour becomes 24 bits; 16-bit samples are cut to 8, alpha is dropped.
std::int16_t ReadPng(const std::uint8_t* data, std::size_t size, HGLOBAL* dib);
/// Palette rows for 1, 4 and 8-bit DIBs, RGB for 24 bits; Adam7 when interlaced.
std::int16_t WritePng(const DibView& dib, bool interlaced, Bytes& out);

/// The facts stream information reports, from the header only.
std::int16_t PngFacts(const Reader& in, StreamFacts* facts);

} // namespace crde
